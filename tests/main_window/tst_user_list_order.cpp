// SPDX-License-Identifier: GPL-3.0-or-later
// The order of the names in the user list, as the operator sees it.
#include "main_window_steps.h"

class TestUserListOrder : public QObject
{
    Q_OBJECT

private slots:
    void namesAreListedInOrder_data();
    void namesAreListedInOrder();
};

// clang-format off
void TestUserListOrder::namesAreListedInOrder_data()
{
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<QString>("listed");
    QTest::newRow("capitals do not count") << QStringList{"bianchi", "CARLO", "Alfa"} << "Alfa,bianchi,CARLO=";
    QTest::newRow("digits and quotes before letters") << QStringList{"ROSSI", "D'ANGELO", "100% SCONTI"} << "100% SCONTI,D'ANGELO,ROSSI=";
    QTest::newRow("accented initial beside its base letter") << QStringList{"ZETA", "ÀLVARO", "ALBA"} << "ALBA,ÀLVARO,ZETA=";
}
// clang-format on

void TestUserListOrder::namesAreListedInOrder()
{
    QFETCH(QStringList, registered);
    MainWindowTest f;
    QVERIFY(f.prepare());
    for (const QString &name : registered)
        f.db->addSubject(name);
    f.db->addSubject(QStringLiteral("AAA NON UTENTE"), QStringLiteral("N"));
    QVERIFY(f.start());
    QTEST(snapshot(f, "Cbo1"), "listed");
    QCOMPARE(f.finish(), 0);
}

TAVELO_TEST_MAIN(TestUserListOrder)
#include "tst_user_list_order.moc"
