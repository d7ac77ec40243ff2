// SPDX-License-Identifier: GPL-3.0-or-later
// The panels under the user choice are built when first opened: whichever comes first,
// Tab then walks every panel in the window's one reading order, round to the user list.
#include "main_window_steps.h"

class TestLatePanels : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { QCOMPARE(f.finish(), 0); }
    void tabChainIsWholeInEitherOrder_data();
    void tabChainIsWholeInEitherOrder();

private:
    MainWindowTest f;
};

void TestLatePanels::tabChainIsWholeInEitherOrder_data()
{
    QTest::addColumn<QString>("steps");
    QTest::newRow("overview first") << "Command2;Check6;user ROSSI MARIO;Image2;Check1";
    QTest::newRow("entry panel first") << "user ROSSI MARIO;Image2;Check1;Image3;Image4;Command2";
}

void TestLatePanels::init()
{
    QVERIFY(f.prepare());
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    f.db->addEntry(rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"));
    QVERIFY(f.start());
}

void TestLatePanels::tabChainIsWholeInEitherOrder()
{
    QFETCH(QString, steps);
    QVERIFY(runSteps(f, steps));
    for (const char *panel : {"Frame1", "Frame2", "Frame3", "Frame4"})
        f.at(panel)->show();
    QStringList order;
    for (f.at("Cbo1")->setFocus(); order.size() < 21;
         QTest::keyClick(f.window->focusWidget(), Qt::Key_Tab))
        order << f.window->focusWidget()->objectName();
    QCOMPARE(order.join(' '),
             "Cbo1 Image2 Command2 Check1 Image4 DataBox1 Check2 Text1 Text3 Text2 Cmd1 "
             "Check3 Check4 Check5 Image3 Check7 Check6 ListView1 Cerca Image5 Cbo1");
}

TAVELO_TEST_MAIN(TestLatePanels)
#include "tst_late_panels.moc"
