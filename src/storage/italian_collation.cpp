// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/italian_collation.h"

#include "storage/sqlite_handle.h"

#include <QCollator>
#include <QLocale>

#include <sqlite3.h>

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

// Most names are made of letters (accented or not), digits, blanks and apostrophes.
// For them the first level of the Italian order (letters without their accents, after
// digits, after the apostrophe, after the blank) is known without the collator: two
// names that differ there are ordered at once, and only names equal at that level
// (ROSSI and ROSSÌ) go to the collator for their accents, as do names with any other
// character before their first difference.
constexpr int endOfName = 0;
constexpr int needsCollator = -1;
constexpr int blankWeight = 1;
constexpr int apostropheWeight = 2;
constexpr int digitWeight = 10;  // 10 to 19
constexpr int letterWeight = 30; // 30 to 55

// The base letter of an accented Latin-1 letter, or 0 when it has none that the Italian
// order places beside it (ß, æ, ø and the like go to the collator).
char baseLetter(char32_t c)
{
    static const char bases[] = "AAAAAA\0CEEEEIIII\0NOOOOO\0\0UUUUY\0\0";
    if (c >= 0xC0 && c <= 0xDF)
        return bases[c - 0xC0];
    if (c >= 0xE0 && c <= 0xFF && c != 0xF7)
        return c == 0xFF ? 'Y' : bases[c - 0xE0];
    return 0;
}

// The first-level weight of the next character of a UTF-8 name.
int nextWeight(const char *text, int length, int *at, bool *accented)
{
    if (*at >= length)
        return endOfName;
    const unsigned char c = static_cast<unsigned char>(text[(*at)++]);
    if (c >= 'A' && c <= 'Z')
        return letterWeight + c - 'A';
    if (c >= 'a' && c <= 'z')
        return letterWeight + c - 'a';
    if (c >= '0' && c <= '9')
        return digitWeight + c - '0';
    if (c == ' ')
        return blankWeight;
    if (c == '\'')
        return apostropheWeight;
    // The Latin-1 letters are 0xC3 followed by 0x80 to 0xBF.
    if (c != 0xC3 || *at >= length)
        return needsCollator;
    const char base = baseLetter(0xC0 + (static_cast<unsigned char>(text[(*at)++]) & 0x3F));
    if (!base)
        return needsCollator;
    *accented = true;
    return letterWeight + base - 'A';
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
    int i = 0;
    int j = 0;
    bool aAccented = false;
    bool bAccented = false;
    for (;;) {
        const int x = nextWeight(a, aLength, &i, &aAccented);
        const int y = nextWeight(b, bLength, &j, &bAccented);
        if (x == needsCollator || y == needsCollator)
            break;
        if (x != y)
            return x < y ? -1 : 1;
        if (x == endOfName) {
            if (!aAccented && !bAccented)
                return 0;
            break;
        }
    }
    return compareItalian(QString::fromUtf8(a, aLength), QString::fromUtf8(b, bLength));
}

bool registerItalianCollation(QSqlDatabase &db)
{
    sqlite3 *connection = sqliteHandle(db);
    return connection && sqlite3_create_collation_v2(connection, "ITALIAN", SQLITE_UTF8, nullptr,
                                                     collate, nullptr) == SQLITE_OK;
}
