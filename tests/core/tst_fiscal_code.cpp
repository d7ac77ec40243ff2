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

void TestFiscalCode::hintAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("wrong");
    QTest::newRow("man") << "RSSMRA85T10A562S"
                         << "Nato il 10/12/1985, maschio" << false;
    QTest::newRow("typed in lower case, blanks around") << " rssmra85t10a562s "
                                                        << "Nato il 10/12/1985, maschio" << false;
    QTest::newRow("woman: day plus forty") << "BNCLRA90A41H501F"
                                           << "Nata il 01/01/1990, femmina" << false;
    QTest::newRow("letter for a digit in the town") << "RSSMRA85T10A56NH"
                                                    << "Nato il 10/12/1985, maschio" << false;
    QTest::newRow("letters for the year's digits") << "RSSMRAUPT10A562Z"
                                                   << "Nato il 10/12/1983, maschio" << false;
    QTest::newRow("woman with a letter for a digit") << "BNCLRA90A41H50MX"
                                                     << "Nata il 01/01/1990, femmina" << false;
    QTest::newRow("born this century") << "VRDGPP13E10F205R"
                                       << "Nato il 10/05/2013, maschio" << false;
    QTest::newRow("born this year") << "RSSMRA26A01H501M"
                                    << "Nato il 01/01/2026, maschio" << false;
    QTest::newRow("wrong check character") << "RSSMRA85T10A562K"
                                           << "Carattere di controllo errato: atteso S" << true;
    QTest::newRow("check of the code before a letter replaced a digit")
        << "RSSMRA85T10A56NS"
        << "Carattere di controllo errato: atteso H" << true;
    QTest::newRow("no such day") << "RSSMRA85B30A562G"
                                 << "Data di nascita non valida" << true;
    QTest::newRow("VAT number") << "12345678903"
                                << "" << false;
    QTest::newRow("VAT number starting with zero") << "01234567897"
                                                   << "" << false;
    QTest::newRow("VAT number, wrong digit") << "12345678900"
                                             << "Cifra di controllo errata: attesa 3" << true;
    QTest::newRow("VAT number, digits swapped") << "21345678903"
                                                << "Cifra di controllo errata: attesa 4" << true;
    QTest::newRow("foreign code") << "AB1234567"
                                  << "" << false;
    QTest::newRow("ten digits") << "1234567890"
                                << "" << false;
}

void TestFiscalCode::hintAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, hint);
    QFETCH(bool, wrong);
    const CodeHint got = fiscalCodeHint(typed, QDate(2026, 12, 7));
    QCOMPARE(got.text, hint);
    QCOMPARE(got.wrong, wrong);
}

QTEST_APPLESS_MAIN(TestFiscalCode)
#include "tst_fiscal_code.moc"
