// SPDX-License-Identifier: GPL-3.0-or-later
// Dates as the operator types them and as the data file keeps them.
#include "test_support.h"

#include "core/dates.h"

class TestDates : public QObject
{
    Q_OBJECT

private slots:
    void screenDates_data();
    void screenDates();
    void storedDates();
};

void TestDates::screenDates_data()
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

void TestDates::screenDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, expected);
    QCOMPARE(fromScreenDate(typed), expected);
    QCOMPARE(screenDateFormat(), QStringLiteral("dd/MM/yyyy"));
    if (expected.isValid())
        QCOMPARE(fromScreenDate(toScreenDate(expected)), expected);
}

void TestDates::storedDates()
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

TAVELO_TEST_MAIN(TestDates)
#include "tst_dates.moc"
