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
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<frmRegistra> m_window;
    ScriptedPrompt *m_prompt = nullptr;
};

void TestReportLaunching::init()
{
    m_prompt = ScriptedPrompt::install();
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isOpen());
    const qint64 rossi = m_db->addSubject(QStringLiteral("ROSSI MARIO"));
    m_db->addEntry(rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"));
    m_window = startMainWindow();
    QVERIFY(m_window);
}

void TestReportLaunching::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    m_window.reset();
    m_db.reset();
    Prompt::install(nullptr);
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
    frmRegistra &w = *m_window;
    RecordingReportViewerScope scope;
    QString panelsShown;
    // A user registered while the preview is open shows in the list once the window
    // is activated again.
    scope.viewer().whileShown = [&](const ReportDocument &, QWidget *) {
        panelsShown = visiblePanels(w);
        m_db->addSubject(QStringLiteral("ANTONELLI ANNA"));
    };
    const bool userCard = report == QLatin1String("Scheda");
    if (userCard) {
        openEntryPanel(w, QStringLiteral("ROSSI MARIO"));
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
