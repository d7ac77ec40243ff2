// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/text_search.h"

#include "storage/sqlite_handle.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <array>
#include <string>

namespace {

// The accented letters of Latin-1 and their base letters, in the order of their code
// points from U+00C0; a blank keeps the character as it is.
constexpr char latin1Bases[] = "aaaaaa ceeeeiiii nooooo  uuuuy  aaaaaa ceeeeiiii nooooo  uuuuy y";

bool isLatin1Accented(unsigned char lead, unsigned char next)
{
    return lead == 0xC3 && next >= 0x80 && next <= 0xBF && latin1Bases[next - 0x80] != ' ';
}

// Folds UTF-8 text as foldedForSearch does. Notes and names are ASCII and Latin-1
// letters nearly always, and a search reads every note of the archive: those are folded
// byte by byte, anything else through QString.
std::string foldedUtf8(const unsigned char *text, int length)
{
    std::string folded;
    folded.reserve(size_t(length));
    for (int i = 0; i < length; ++i) {
        const unsigned char c = text[i];
        if (c < 0x80) {
            folded += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        } else if (i + 1 < length && isLatin1Accented(c, text[i + 1])) {
            folded += latin1Bases[text[++i] - 0x80];
        } else {
            const QString slow =
                foldedForSearch(QString::fromUtf8(reinterpret_cast<const char *>(text), length));
            return slow.toStdString();
        }
    }
    return folded;
}

void foldFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const auto *text = sqlite3_value_text(arguments[0]);
    if (!text) {
        sqlite3_result_null(context);
        return;
    }
    const std::string folded = foldedUtf8(text, sqlite3_value_bytes(arguments[0]));
    sqlite3_result_text(context, folded.data(), int(folded.size()), SQLITE_TRANSIENT);
}

bool registerFold(QSqlDatabase &db)
{
    sqlite3 *connection = sqliteHandle(db);
    return connection &&
           sqlite3_create_function(connection, "tavelo_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, foldFunction, nullptr, nullptr) == SQLITE_OK;
}

// The server folds the same letters: lower() for the case, translate() for the accents.
// The server's columns compare case aside, a collation that substring searches refuse:
// the folded text is searched byte for byte.
QString serverFolded(const QString &column)
{
    return QStringLiteral("(translate(lower(%1), "
                          "'àáâãäåçèéêëìíîïñòóôõöùúûüýÿ', "
                          "'aaaaaaceeeeiiiinooooouuuuyy') COLLATE \"C\")")
        .arg(column);
}

} // namespace

QString foldedForSearch(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    }
    return folded.toLower();
}

QStringList searchWords(const QString &typed)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return foldedForSearch(typed).split(blanks, Qt::SkipEmptyParts);
}

QString holdsWordCondition(QSqlDatabase &db, const QString &column, const QString &placeholder)
{
    if (db.driverName() == QLatin1String("QPSQL"))
        return QStringLiteral("strpos(%1, %2) > 0").arg(serverFolded(column), placeholder);
    // Registering again is cheap and keeps the function on a connection opened anew.
    registerFold(db);
    return QStringLiteral("instr(tavelo_fold(%1), %2) > 0").arg(column, placeholder);
}
