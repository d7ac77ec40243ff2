// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fiscal_code.h"

#include <QTest>

// The check characters below were worked out apart from the program, from the published
// tables; the first code is the Agenzia delle Entrate's own example.
class TestFiscalCode : public QObject
{
    Q_OBJECT

private slots:
    void hintAsTyped_data();
    void hintAsTyped();
};

// clang-format off
void TestFiscalCode::hintAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("hint");
    const auto row = [](const char *name, const char *typed, const char *hint) {
        QTest::newRow(name) << QString::fromLatin1(typed) << QString::fromLatin1(hint);
    };
    row("man", "RSSMRA85T10A562S", "Nato il 10/12/1985, maschio");
    row("typed in lower case, blanks around", " rssmra85t10a562s ", "Nato il 10/12/1985, maschio");
    row("woman: day plus forty", "BNCLRA90A41H501F", "Nata il 01/01/1990, femmina");
    row("letter for a digit in the town", "RSSMRA85T10A56NH", "Nato il 10/12/1985, maschio");
    row("letters for the year's digits", "RSSMRAUPT10A562Z", "Nato il 10/12/1983, maschio");
    row("born this century", "VRDGPP13E10F205R", "Nato il 10/05/2013, maschio");
    row("born this year", "RSSMRA26A01H501M", "Nato il 01/01/2026, maschio");
    row("wrong check character", "RSSMRA85T10A562K", "Carattere di controllo errato: atteso S");
    row("check of the code before a letter replaced a digit", "RSSMRA85T10A56NS", "Carattere di controllo errato: atteso H");
    row("no such day", "RSSMRA85B30A562G", "Data di nascita non valida");
    row("VAT number", "12345678903", "");
    row("VAT number, wrong digit", "12345678900", "Cifra di controllo errata: attesa 3");
    row("VAT number, digits swapped", "21345678903", "Cifra di controllo errata: attesa 4");
    row("foreign code", "AB1234567", "");
}
// clang-format on

// A date and sex are news; any other hint is a mistake.
void TestFiscalCode::hintAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, hint);
    const CodeHint got = fiscalCodeHint(typed, QDate(2026, 12, 7));
    QCOMPARE(got.text, hint);
    QCOMPARE(got.wrong, !hint.isEmpty() && !hint.startsWith(QLatin1String("Nat")));
}

QTEST_APPLESS_MAIN(TestFiscalCode)
#include "tst_fiscal_code.moc"
