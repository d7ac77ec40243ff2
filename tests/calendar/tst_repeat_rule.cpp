// SPDX-License-Identifier: GPL-3.0-or-later
// Repeating deadlines: the rule that each "Ripeti" choice stores, and the due date of the
// deadline that follows a closed one. Expected dates are read off a calendar.
#include "test_support.h"

#include "calendar/repeat_rule.h"
#include "core/working_days.h"

class TestRepeatRule : public QObject
{
    Q_OBJECT

private slots:
    void ruleForChoice_data();
    void ruleForChoice();
    void nextDue_data();
    void nextDue();
};

// clang-format off
void TestRepeatRule::ruleForChoice_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<QString>("rule");
    const auto row = [](const char *name, Repeat choice, QDate due, const char *rule) {
        QTest::newRow(name) << int(choice) << due << QString::fromLatin1(rule);
    };
    row("never", Repeat::Never, QDate(2026, 7, 16), "");
    row("monthly", Repeat::Monthly, QDate(2026, 7, 16), "FREQ=MONTHLY;BYMONTHDAY=16");
    row("two months", Repeat::EveryTwoMonths, QDate(2026, 7, 16), "FREQ=MONTHLY;INTERVAL=2;BYMONTHDAY=16");
    row("three months", Repeat::EveryThreeMonths, QDate(2026, 7, 16), "FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=16");
    row("six months", Repeat::EverySixMonths, QDate(2026, 7, 16), "FREQ=MONTHLY;INTERVAL=6;BYMONTHDAY=16");
    row("yearly", Repeat::Yearly, QDate(2026, 6, 16), "FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=16");
    row("last day", Repeat::LastDayOfMonth, QDate(2026, 7, 31), "FREQ=MONTHLY;BYMONTHDAY=-1");
    row("the 30th", Repeat::Monthly, QDate(2026, 4, 30), "FREQ=MONTHLY;BYMONTHDAY=28,29,30;BYSETPOS=-1");
    row("no due date", Repeat::Monthly, QDate(), "");
}
// clang-format on

void TestRepeatRule::ruleForChoice()
{
    QFETCH(int, choice);
    QFETCH(QDate, due);
    QFETCH(QString, rule);
    QCOMPARE(repeatRule(Repeat(choice), due), rule);
    if (!rule.isEmpty())
        QCOMPARE(int(repeatChoice(rule)), choice);
}

// clang-format off
void TestRepeatRule::nextDue_data()
{
    QTest::addColumn<Repeat>("choice");
    QTest::addColumn<QDate>("ruleDay");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<QDate>("next");
    const auto row = [](const char *name, Repeat choice, QDate ruleDay, QDate due, QDate next) {
        QTest::newRow(name) << choice << ruleDay << due << next;
    };
    const QDate july16(2026, 7, 16);
    row("monthly, next one on a Sunday moves to Monday", Repeat::Monthly, july16, july16, QDate(2026, 8, 17));
    row("monthly, from a moved date back to the 16th", Repeat::Monthly, july16, QDate(2026, 8, 17), QDate(2026, 9, 16));
    row("three months", Repeat::EveryThreeMonths, QDate(2026, 3, 16), QDate(2026, 3, 16), QDate(2026, 6, 16));
    row("three months, from a moved date", Repeat::EveryThreeMonths, QDate(2026, 5, 16), QDate(2026, 5, 18), QDate(2026, 8, 17));
    row("six months across the year", Repeat::EverySixMonths, QDate(2026, 12, 16), QDate(2026, 12, 16), QDate(2027, 6, 16));
    row("two months", Repeat::EveryTwoMonths, QDate(2026, 10, 30), QDate(2026, 10, 30), QDate(2026, 12, 30));
    row("two months, moved across the month's end", Repeat::EveryTwoMonths, QDate(2027, 1, 31), QDate(2027, 2, 1), QDate(2027, 3, 31));
    row("IMU, yearly", Repeat::Yearly, QDate(2026, 6, 16), QDate(2026, 6, 16), QDate(2027, 6, 16));
    row("yearly on a leap day", Repeat::Yearly, QDate(2028, 2, 29), QDate(2028, 2, 29), QDate(2029, 2, 28));
    row("last day, moved off a Sunday", Repeat::LastDayOfMonth, QDate(2027, 1, 31), QDate(2027, 2, 1), QDate(2027, 3, 1));
    row("last day, from a date moved into the next month", Repeat::LastDayOfMonth, QDate(2027, 1, 31), QDate(2027, 3, 1), QDate(2027, 3, 31));
    row("the 31st in a shorter month", Repeat::Monthly, QDate(2026, 3, 31), QDate(2026, 3, 31), QDate(2026, 4, 30));
    row("the 31st after a shorter month, onto a Sunday", Repeat::Monthly, QDate(2026, 3, 31), QDate(2026, 4, 30), QDate(2026, 6, 1));
    row("due date moved by hand keeps the rule's day", Repeat::Monthly, july16, QDate(2026, 7, 28), QDate(2026, 8, 17));
}
// clang-format on

void TestRepeatRule::nextDue()
{
    QFETCH(Repeat, choice);
    QFETCH(QDate, ruleDay);
    QFETCH(QDate, due);
    const QString rule = repeatRule(choice, ruleDay);
    QTEST(nextDueDate(rule, due, WorkingDays()), "next");
}

TAVELO_TEST_MAIN(TestRepeatRule)
#include "tst_repeat_rule.moc"
