// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's reports: when the preview closes the window is activated again,
// after the launcher has ended.
#include "main_window_steps.h"
#include "recording_report_viewer.h"
#include "test_support.h"

#include "main_window/frm_registra.h"
#include "widgets/toggle_button.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

class TestReportLaunching : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void closedPreviewActivatesWindowAfterLauncher_data();
    void closedPreviewActivatesWindowAfterLauncher();

private:
    MainWindowTest f;
};

void TestReportLaunching::init()
{
    QVERIFY(f.prepare());
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    f.db->addEntry(rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"));
    QVERIFY(f.start());
}

void TestReportLaunching::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

void TestReportLaunching::closedPreviewActivatesWindowAfterLauncher_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("panelsWhileOpen");
    QTest::newRow("user card from the entry panel") << "Scheda"
                                                    << "Frame2";
    QTest::newRow("all users from the overview") << "SchedaUtenti"
                                                 << "Frame3 Frame4";
}

void TestReportLaunching::closedPreviewActivatesWindowAfterLauncher()
{
    QFETCH(QString, report);
    QFETCH(QString, panelsWhileOpen);
    frmRegistra &w = *f.window;
    RecordingReportViewerScope scope;
    QString panelsShown;
    // A user registered while the preview is open shows in the list once the window
    // is activated again.
    scope.viewer().whileShown = [&](const ReportDocument &, QWidget *) {
        panelsShown = visiblePanels(w);
        f.db->addSubject(QStringLiteral("ANTONELLI ANNA"));
    };
    const bool userCard = report == QLatin1String("Scheda");
    if (userCard) {
        QVERIFY(openEntryPanel(w, QStringLiteral("ROSSI MARIO")));
        QTest::mouseClick(w.Check5, Qt::LeftButton);
    } else {
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QTest::mouseClick(w.Check7, Qt::LeftButton);
    }
    QCOMPARE(scope.viewer().documents().size(), 1);
    QCOMPARE(scope.viewer().documents().at(0).name, report);
    QCOMPARE(panelsShown, panelsWhileOpen);
    // The launcher has released its toggle and ended; the activation has not run yet.
    QVERIFY(userCard ? w.Check5->value() == 0 : !w.Check7->isChecked());
    QCOMPARE(visiblePanels(w), panelsWhileOpen);
    QCOMPARE(w.Cbo1->count(), 1);
    // Then the activation: back to the user choice, the list refilled, the name cleared.
    QTRY_COMPARE(visiblePanels(w), QStringLiteral("Frame3"));
    QCOMPARE(comboItems(w.Cbo1), QStringList({"ANTONELLI ANNA", "ROSSI MARIO"}));
    QCOMPARE(w.Label1->text(), QString());
}

TAVELO_TEST_MAIN(TestReportLaunching)
#include "tst_report_launching.moc"
