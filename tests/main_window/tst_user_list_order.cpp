// SPDX-License-Identifier: GPL-3.0-or-later
// The order of the names in the user list, as the operator sees it.
#include "main_window_steps.h"

class TestUserListOrder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void namesAreListedInOrder_data();
    void namesAreListedInOrder();

private:
    MainWindowTest f;
};

void TestUserListOrder::init()
{
    QVERIFY(f.prepare());
}

void TestUserListOrder::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

void TestUserListOrder::namesAreListedInOrder_data()
{
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("capitals do not count")
        << QStringList({"bianchi", "CARLO", "Alfa"}) << QStringList({"Alfa", "bianchi", "CARLO"});
    QTest::newRow("digits and quotes before letters")
        << QStringList({"ROSSI", "D'ANGELO", "100% SCONTI"})
        << QStringList({"100% SCONTI", "D'ANGELO", "ROSSI"});
    QTest::newRow("accented initial beside its base letter")
        << QStringList({"ZETA", "ÀLVARO", "ALBA"}) << QStringList({"ALBA", "ÀLVARO", "ZETA"});
}

void TestUserListOrder::namesAreListedInOrder()
{
    QFETCH(QStringList, registered);
    QFETCH(QStringList, listed);
    for (const QString &name : registered)
        f.db->addSubject(name);
    f.db->addSubject(QStringLiteral("AAA NON UTENTE"), QStringLiteral("N"));
    QVERIFY(f.start());
    QCOMPARE(snapshot(f, "Cbo1"), listed.join(QLatin1Char(',')) + QLatin1Char('='));
}

TAVELO_TEST_MAIN(TestUserListOrder)
#include "tst_user_list_order.moc"
