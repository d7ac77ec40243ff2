// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer that shows reports to the operator.
#include "recording_report_viewer.h"
#include "report_fixtures.h"

#include "reports/report_viewer.h"

#include <QAction>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestReportViewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void viewerInstallAndRestore();
    void previewDialogShowsEveryPage();
};

void TestReportViewer::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestReportViewer::viewerInstallAndRestore()
{
    auto recorder = std::make_unique<RecordingReportViewer>();
    RecordingReportViewer *installed = recorder.get();
    std::unique_ptr<ReportViewer> previous = ReportViewer::install(std::move(recorder));
    QCOMPARE(&ReportViewer::current(), static_cast<ReportViewer *>(installed));
    std::unique_ptr<ReportViewer> back = ReportViewer::install(std::move(previous));
    QCOMPARE(back.get(), static_cast<ReportViewer *>(installed));
    QVERIFY(dynamic_cast<PreviewReportViewer *>(&ReportViewer::current()));
}

void TestReportViewer::previewDialogShowsEveryPage()
{
    const ReportDocument document = layOut(testReport(), names(17));
    std::unique_ptr<QPrintPreviewDialog> dialog = createReportPreview(document, nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Prova"));
    QVERIFY(dialog->windowState() & Qt::WindowMaximized);
    QCOMPARE(dialog->printer()->pageLayout().orientation(), QPageLayout::Landscape);
    QVERIFY(dialog->printer()->fullPage());

    QStringList actions;
    for (const QAction *action : dialog->findChildren<QAction *>())
        actions.append(action->text());
    QVERIFY(actions.contains(QStringLiteral("Esporta PDF")));

    auto *preview = dialog->findChild<QPrintPreviewWidget *>();
    QVERIFY(preview);
    preview->updatePreview();
    QCOMPARE(preview->pageCount(), 3);
}

QTEST_MAIN(TestReportViewer)
#include "tst_report_viewer.moc"
