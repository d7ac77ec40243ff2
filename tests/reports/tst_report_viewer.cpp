// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer that shows reports to the operator.
#include "recording_report_viewer.h"
#include "report_fixtures.h"
#include "test_support.h"

#include "reports/report_viewer.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
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
    void cancelledExportWritesNothingAndSaysNothing();
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

void TestReportViewer::cancelledExportWritesNothingAndSaysNothing()
{
    ScriptedPrompt *prompts = ScriptedPrompt::install();
    // Long enough for the progress to show well before the export ends: the pages of
    // a short report over and over.
    ReportDocument document = layOut(testReport(), names(17));
    const QList<ReportPage> pages = document.pages;
    while (document.pageCount() < 20000)
        document.pages += pages;
    std::unique_ptr<QPrintPreviewDialog> dialog = createReportPreview(document, nullptr);
    QAction *exportAction = dialog->findChild<QAction *>(QStringLiteral("exportPdf"));
    QVERIFY(exportAction);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("annullato.pdf"));
    bool clicked = false;
    QTimer operatorHand;
    operatorHand.setInterval(0);
    QObject::connect(&operatorHand, &QTimer::timeout, [&] {
        if (auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            files->selectFile(path);
            static_cast<QDialog *>(files)->accept();
            return;
        }
        auto *progress = dialog->findChild<QProgressDialog *>();
        if (clicked || !progress || !progress->isVisible())
            return;
        for (QPushButton *button : progress->findChildren<QPushButton *>()) {
            if (button->text() == QLatin1String("Annulla")) {
                QTest::mouseClick(button, Qt::LeftButton);
                clicked = true;
            }
        }
    });
    operatorHand.start();
    exportAction->trigger();
    operatorHand.stop();

    QVERIFY2(clicked, "the export ended before its progress showed");
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(prompts->shown().size(), 0);
    Prompt::install(nullptr);
}

QTEST_MAIN(TestReportViewer)
#include "tst_report_viewer.moc"
