// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fiscal_code.h"

#include <QRegularExpression>

#include <array>

namespace {

// People born on the same day with the same names would get the same code: the office
// then replaces digits, from the right, with these letters (0 to 9).
const QString replacedDigits = QStringLiteral("LMNPQRSTUV");
const QString monthLetters = QStringLiteral("ABCDEHLMPRST");

// What a character is worth in the odd positions (first, third...): digits and letters
// A to J share the same values, as the Agenzia delle Entrate publishes them.
int oddValue(QChar c)
{
    static const std::array<int, 26> values = {
        1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18, // A (0) to M
        20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23  // N to Z
    };
    const int index = c.isDigit() ? c.digitValue() : c.unicode() - 'A';
    return values.at(index);
}

int evenValue(QChar c)
{
    return c.isDigit() ? c.digitValue() : c.unicode() - 'A';
}

QChar personCheckCharacter(const QString &code)
{
    int sum = 0;
    for (int i = 0; i < 15; ++i)
        sum += i % 2 == 0 ? oddValue(code.at(i)) : evenValue(code.at(i));
    return QChar(u'A' + sum % 26);
}

// The number in the given positions, whether written in digits or in replacing letters.
int numberAt(const QString &code, int from, int count)
{
    int number = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = code.at(i);
        number = number * 10 + (c.isDigit() ? c.digitValue() : replacedDigits.indexOf(c));
    }
    return number;
}

CodeHint personHint(const QString &code, const QDate &today)
{
    static const QRegularExpression shape(
        QStringLiteral("^[A-Z]{6}[0-9LMNP-V]{2}[A-Z][0-9LMNP-V]{2}[A-Z][0-9LMNP-V]{3}[A-Z]$"));
    if (!shape.match(code).hasMatch())
        return {QStringLiteral("Codice fiscale non valido"), true};
    const QChar expected = personCheckCharacter(code);
    if (code.at(15) != expected)
        return {QStringLiteral("Carattere di controllo errato: atteso %1").arg(expected), true};
    const int twoDigitYear = numberAt(code, 6, 2);
    const int century = 2000 + twoDigitYear <= today.year() ? 2000 : 1900;
    const int month = monthLetters.indexOf(code.at(8)) + 1;
    const int day = numberAt(code, 9, 2);
    const bool woman = day > 40;
    const QDate born(century + twoDigitYear, month, woman ? day - 40 : day);
    if (month == 0 || !born.isValid())
        return {QStringLiteral("Data di nascita non valida"), true};
    return {QStringLiteral("%1 il %2, %3")
                .arg(woman ? QStringLiteral("Nata") : QStringLiteral("Nato"),
                     born.toString(QStringLiteral("dd/MM/yyyy")),
                     woman ? QStringLiteral("femmina") : QStringLiteral("maschio")),
            false};
}

// Digits in the even positions are doubled, less nine when that makes two digits.
CodeHint numberHint(const QString &number)
{
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int digit = number.at(i).digitValue();
        if (i % 2 == 1) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
    }
    const int expected = (10 - sum % 10) % 10;
    if (number.at(10).digitValue() == expected)
        return {};
    return {QStringLiteral("Cifra di controllo errata: attesa %1").arg(expected), true};
}

} // namespace

CodeHint fiscalCodeHint(const QString &text, const QDate &today)
{
    const QString code = text.trimmed().toUpper();
    static const QRegularExpression elevenDigits(QStringLiteral("^[0-9]{11}$"));
    static const QRegularExpression sixteenCharacters(QStringLiteral("^[0-9A-Z]{16}$"));
    if (elevenDigits.match(code).hasMatch())
        return numberHint(code);
    if (sixteenCharacters.match(code).hasMatch())
        return personHint(code, today);
    return {};
}
