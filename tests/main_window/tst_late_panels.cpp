// SPDX-License-Identifier: GPL-3.0-or-later
// The panels under the user choice are built when first opened. Opened in another order
// than Tab walks them (the overview first), Tab still walks every panel in the window's
// one reading order, round to the user list.
#include "main_window_steps.h"

class TestLatePanels : public QObject
{
    Q_OBJECT

private slots:
    void tabChainIsWholeWhicheverPanelComesFirst();
};

void TestLatePanels::tabChainIsWholeWhicheverPanelComesFirst()
{
    MainWindowTest f;
    QVERIFY(f.prepare() && f.db->addSubject(QStringLiteral("ROSSI MARIO")) > 0 && f.start());
    // "O": the diary is empty.
    QVERIFY(runSteps(f, "Command2;Check6;user ROSSI MARIO;Image2;Check1", "O"));
    for (const char *panel : {"Frame1", "Frame2", "Frame3", "Frame4"})
        f.at(panel)->show();
    QStringList order;
    for (f.at("Cbo1")->setFocus(); order.size() < 21;
         QTest::keyClick(f.window->focusWidget(), Qt::Key_Tab))
        order << f.window->focusWidget()->objectName();
    QCOMPARE(order.join(' '),
             "Cbo1 Image2 Command2 Check1 Image4 DataBox1 Check2 Text1 Text3 Text2 Cmd1 "
             "Check3 Check4 Check5 Image3 Check7 Check6 ListView1 Cerca Image5 Cbo1");
    QCOMPARE(f.finish(), 0);
}

TAVELO_TEST_MAIN(TestLatePanels)
#include "tst_late_panels.moc"
