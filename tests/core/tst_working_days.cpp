// SPDX-License-Identifier: GPL-3.0-or-later
// The Italian working days that repeating deadlines move to. The expected dates come from
// the published calendars, not from the program's own arithmetic.
#include "test_support.h"

#include "core/working_days.h"

#include <QSettings>

class TestWorkingDays : public QObject
{
    Q_OBJECT

private slots:
    void easterMonday_data();
    void easterMonday();
    void nextWorkingDay_data();
    void nextWorkingDay();
    void patronDayFromSettings_data();
    void patronDayFromSettings();
};

void TestWorkingDays::easterMonday_data()
{
    QTest::addColumn<QDate>("monday");
    for (const QDate &monday :
         {QDate(2011, 4, 25), QDate(2019, 4, 22), QDate(2024, 4, 1), QDate(2025, 4, 21),
          QDate(2026, 4, 6), QDate(2027, 3, 29), QDate(2028, 4, 17), QDate(2029, 4, 2),
          QDate(2030, 4, 22), QDate(2038, 4, 26), QDate(2285, 3, 23)})
        QTest::newRow(qPrintable(monday.toString(Qt::ISODate))) << monday;
}

void TestWorkingDays::easterMonday()
{
    QFETCH(QDate, monday);
    const WorkingDays days;
    QVERIFY(!days.isWorkingDay(monday));
    QCOMPARE(easterSunday(monday.year()), monday.addDays(-1));
}

// clang-format off
void TestWorkingDays::nextWorkingDay_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("patron");
    QTest::addColumn<QDate>("next");
    QTest::addColumn<QString>("hint");
    const auto row = [](const char *name, QDate date, QDate next, const char *hint,
                        QDate patron = {}) {
        QTest::newRow(name) << date << patron << next << QString::fromUtf8(hint);
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
    row("patron's day", QDate(2026, 12, 7), QDate(2026, 12, 9), "festa patronale: il primo giorno lavorativo è mercoledì 09/12/2026", QDate(2000, 12, 7));
    row("another town's patron's day", QDate(2026, 12, 7), QDate(2026, 12, 7), "", QDate(2000, 6, 24));
    row("the day before a holiday", QDate(2026, 12, 24), QDate(2026, 12, 24), "");
}
// clang-format on

void TestWorkingDays::nextWorkingDay()
{
    QFETCH(QDate, date);
    QFETCH(QDate, patron);
    const WorkingDays days(patron);
    QTEST(days.nextWorkingDay(date), "next");
    QCOMPARE(days.isWorkingDay(date), date == days.nextWorkingDay(date));
    QTEST(days.dayOffHint(date), "hint");
}

void TestWorkingDays::patronDayFromSettings_data()
{
    QTest::addColumn<QVariant>("setting");
    QTest::addColumn<bool>("dayOff");
    QTest::newRow("Sant'Ambrogio") << QVariant(QStringLiteral("12-07")) << true;
    QTest::newRow("blanks around") << QVariant(QStringLiteral(" 12-07 ")) << true;
    QTest::newRow("day and month swapped") << QVariant(QStringLiteral("07-12")) << false;
    QTest::newRow("no such day") << QVariant(QStringLiteral("12-32")) << false;
    QTest::newRow("absent") << QVariant() << false;
}

void TestWorkingDays::patronDayFromSettings()
{
    QFETCH(QVariant, setting);
    {
        QSettings settings(QStringLiteral("Tavelo"), QStringLiteral("Tavelo"));
        if (setting.isValid())
            settings.setValue(WorkingDays::patronDaySettingKey(), setting);
        else
            settings.remove(WorkingDays::patronDaySettingKey());
    }
    QTEST(!WorkingDays::fromSettings().isWorkingDay(QDate(2026, 12, 7)), "dayOff");
}

TAVELO_TEST_MAIN(TestWorkingDays)
#include "tst_working_days.moc"
