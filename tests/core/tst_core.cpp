// SPDX-License-Identifier: GPL-3.0-or-later
// The values below the windows: dates as the operator types them and as the data file
// keeps them, the hints of a fiscal code or VAT number, failures that keep their reason,
// and the Italian working days that repeating deadlines move to. The expected check
// characters, dates and holidays were worked out apart from the program, from the
// published tables and calendars (the first fiscal code is the Agenzia delle Entrate's
// own example).
#include "test_support.h"

#include "core/dates.h"
#include "core/fiscal_code.h"
#include "core/outcome.h"
#include "core/working_days.h"

#include <QSettings>

class TestCore : public QObject
{
    Q_OBJECT

private slots:
    void screenDates_data();
    void screenDates();
    void storedDates();
    void hintAsTyped_data();
    void hintAsTyped();
    void failureNeverPassesForSuccess_data();
    void failureNeverPassesForSuccess();
    void easterMonday();
    void nextWorkingDay_data();
    void nextWorkingDay();
};

void TestCore::screenDates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("full") << "05/03/2026" << QDate(2026, 3, 5);
    QTest::newRow("short day and month") << "5/3/2026" << QDate(2026, 3, 5);
    QTest::newRow("leap day") << "29/02/2024" << QDate(2024, 2, 29);
    QTest::newRow("no leap day") << "29/02/2023" << QDate();
    QTest::newRow("two-digit year") << "05/03/26" << QDate();
    QTest::newRow("year with leading zeros") << "5/3/0026" << QDate();
    QTest::newRow("blanks around") << "  05/03/2026 " << QDate(2026, 3, 5);
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("words") << "domani" << QDate();
    QTest::newRow("month 13") << "01/13/2026" << QDate();
}

void TestCore::screenDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, expected);
    QCOMPARE(fromScreenDate(typed), expected);
    QCOMPARE(screenDateFormat(), QStringLiteral("dd/MM/yyyy"));
    if (expected.isValid())
        QCOMPARE(fromScreenDate(toScreenDate(expected)), expected);
}

void TestCore::storedDates()
{
    QCOMPARE(toStoredDate(QDate(1999, 12, 31)), QStringLiteral("1999-12-31"));
    QCOMPARE(toStoredDate(QDate()), QString());
    QCOMPARE(fromStoredDate(QStringLiteral("2024-02-29")), QDate(2024, 2, 29));
    QCOMPARE(fromStoredDate(QStringLiteral("2013-04-30 18:05:42")), QDate(2013, 4, 30));
    const QDateTime stamp(QDate(2013, 4, 30), QTime(18, 5, 42));
    QCOMPARE(toStoredDateTime(stamp), QStringLiteral("2013-04-30T18:05:42"));
    QCOMPARE(fromStoredDateTime(QStringLiteral("2013-04-30 18:05:42")), stamp);
    QCOMPARE(toScreenDateTime(stamp), QStringLiteral("30/04/2013 18:05:42"));
}

// clang-format off
void TestCore::hintAsTyped_data()
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
void TestCore::hintAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, hint);
    const CodeHint got = fiscalCodeHint(typed, QDate(2026, 12, 7));
    QCOMPARE(got.text, hint);
    QCOMPARE(got.wrong, !hint.isEmpty() && !hint.startsWith(QLatin1String("Nat")));
}

// A step below that failed without words must not read as done to its caller.
void TestCore::failureNeverPassesForSuccess_data()
{
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("shown");
    QTest::newRow("reason as given") << "il file manca."
                                     << "il file manca.";
    QTest::newRow("no words from below") << QString() << "errore sconosciuto.";
}

void TestCore::failureNeverPassesForSuccess()
{
    QFETCH(QString, why);
    const Outcome<QString> failed = Outcome<QString>::failure(why);
    QVERIFY(!failed.ok());
    QTEST(failed.problem, "shown");
    QVERIFY(passed().ok());
}

void TestCore::easterMonday()
{
    for (const QDate &monday :
         {QDate(2011, 4, 25), QDate(2019, 4, 22), QDate(2024, 4, 1), QDate(2025, 4, 21),
          QDate(2026, 4, 6), QDate(2027, 3, 29), QDate(2028, 4, 17), QDate(2029, 4, 2),
          QDate(2030, 4, 22), QDate(2038, 4, 26), QDate(2285, 3, 23)}) {
        QVERIFY2(!WorkingDays().isWorkingDay(monday), qPrintable(monday.toString()));
        QCOMPARE(easterSunday(monday.year()), monday.addDays(-1));
    }
}

// clang-format off
void TestCore::nextWorkingDay_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("patron"); // as the settings keep it
    QTest::addColumn<QDate>("next");
    QTest::addColumn<QString>("hint");
    const auto row = [](const char *name, QDate date, QDate next, const char *hint,
                        const char *patron = "") {
        QTest::newRow(name) << date << QString::fromLatin1(patron) << next << QString::fromUtf8(hint);
    };
    row("working Friday", QDate(2026, 7, 17), QDate(2026, 7, 17), "");
    row("Saturday", QDate(2026, 5, 16), QDate(2026, 5, 18), "sabato: il primo giorno lavorativo è lunedì 18/05/2026");
    row("Sunday after Ferragosto on Saturday", QDate(2026, 8, 16), QDate(2026, 8, 17), "domenica: il primo giorno lavorativo è lunedì 17/08/2026");
    row("Christmas, Santo Stefano and a weekend", QDate(2026, 12, 25), QDate(2026, 12, 28), "Natale: il primo giorno lavorativo è lunedì 28/12/2026");
    row("Easter Monday", QDate(2026, 4, 6), QDate(2026, 4, 7), "Lunedì dell'Angelo: il primo giorno lavorativo è martedì 07/04/2026");
    row("New Year on a Friday", QDate(2027, 1, 1), QDate(2027, 1, 4), "Capodanno: il primo giorno lavorativo è lunedì 04/01/2027");
    row("Epiphany", QDate(2026, 1, 6), QDate(2026, 1, 7), "Epifania: il primo giorno lavorativo è mercoledì 07/01/2026");
    row("Liberation Day", QDate(2028, 4, 25), QDate(2028, 4, 26), "Festa della Liberazione: il primo giorno lavorativo è mercoledì 26/04/2028");
    row("Labour Day", QDate(2026, 5, 1), QDate(2026, 5, 4), "Festa del Lavoro: il primo giorno lavorativo è lunedì 04/05/2026");
    row("Republic Day", QDate(2026, 6, 2), QDate(2026, 6, 3), "Festa della Repubblica: il primo giorno lavorativo è mercoledì 03/06/2026");
    row("All Saints", QDate(2027, 11, 1), QDate(2027, 11, 2), "Ognissanti: il primo giorno lavorativo è martedì 02/11/2027");
    row("Immaculate Conception", QDate(2026, 12, 8), QDate(2026, 12, 9), "Immacolata Concezione: il primo giorno lavorativo è mercoledì 09/12/2026");
    row("4 October, a working day before 2026", QDate(2024, 10, 4), QDate(2024, 10, 4), "");
    row("4 October 2026, a Sunday, named as the holiday", QDate(2026, 10, 4), QDate(2026, 10, 5), "San Francesco d'Assisi: il primo giorno lavorativo è lunedì 05/10/2026");
    row("4 October from 2027 on a Monday", QDate(2027, 10, 4), QDate(2027, 10, 5), "San Francesco d'Assisi: il primo giorno lavorativo è martedì 05/10/2027");
    row("4 October 2028", QDate(2028, 10, 4), QDate(2028, 10, 5), "San Francesco d'Assisi: il primo giorno lavorativo è giovedì 05/10/2028");
    const QDate ambrogio(2026, 12, 7);
    const char *ambrogioOff = "festa patronale: il primo giorno lavorativo è mercoledì 09/12/2026";
    row("patron's day", ambrogio, QDate(2026, 12, 9), ambrogioOff, "12-07");
    row("patron's day with blanks around", ambrogio, QDate(2026, 12, 9), ambrogioOff, " 12-07 ");
    row("another town's patron's day", ambrogio, ambrogio, "", "06-24");
    row("patron's day, day and month swapped", ambrogio, ambrogio, "", "07-12");
    row("patron's day, no such day", ambrogio, ambrogio, "", "12-32");
    row("the day before a holiday", QDate(2026, 12, 24), QDate(2026, 12, 24), "");
}
// clang-format on

void TestCore::nextWorkingDay()
{
    QFETCH(QDate, date);
    QFETCH(QString, patron);
    QSettings(QStringLiteral("Tavelo"), QStringLiteral("Tavelo"))
        .setValue(WorkingDays::patronDaySettingKey(), patron);
    const WorkingDays days = WorkingDays::fromSettings();
    QTEST(days.nextWorkingDay(date), "next");
    QCOMPARE(days.isWorkingDay(date), date == days.nextWorkingDay(date));
    QTEST(days.dayOffHint(date), "hint");
}

TAVELO_TEST_MAIN(TestCore)
#include "tst_core.moc"
