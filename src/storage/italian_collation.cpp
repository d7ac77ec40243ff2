// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/italian_collation.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <cstring>

namespace {

QCollator &italianCollator()
{
    thread_local QCollator collator = [] {
        QCollator made(QLocale(QLocale::Italian, QLocale::Italy));
        made.setCaseSensitivity(Qt::CaseInsensitive);
        made.setNumericMode(false);
        made.setIgnorePunctuation(false);
        return made;
    }();
    return collator;
}

// Names made only of plain letters, digits and blanks sort in the Italian order exactly
// as their capitals sort byte by byte (blank, digits, letters), so they need no
// collator: most names of a registry take this quick way.
bool isPlain(const char *text, int length)
{
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == ' '))
            return false;
    }
    return true;
}

int comparePlain(const char *a, int aLength, const char *b, int bLength)
{
    const int common = aLength < bLength ? aLength : bLength;
    for (int i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y)
            return x < y ? -1 : 1;
    }
    return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
}

int collate(void *, int aLength, const void *a, int bLength, const void *b)
{
    return compareItalianUtf8(static_cast<const char *>(a), aLength, static_cast<const char *>(b),
                              bLength);
}

} // namespace

int compareItalian(QStringView a, QStringView b)
{
    const int order = italianCollator().compare(a, b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int compareItalianUtf8(const char *a, int aLength, const char *b, int bLength)
{
    if (isPlain(a, aLength) && isPlain(b, bLength))
        return comparePlain(a, aLength, b, bLength);
    return compareItalian(QString::fromUtf8(a, aLength), QString::fromUtf8(b, bLength));
}

bool registerItalianCollation(QSqlDatabase &db)
{
    if (!db.driver())
        return false;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.data());
    if (!connection)
        return false;
    return sqlite3_create_collation_v2(connection, "ITALIAN", SQLITE_UTF8, nullptr, collate,
                                       nullptr) == SQLITE_OK;
}
