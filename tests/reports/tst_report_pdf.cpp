// SPDX-License-Identifier: GPL-3.0-or-later
// Pages drawn on a device, written to PDF files and shown in the preview.
#include "report_fixtures.h"
#include "test_support.h"

#include "reports/report_definitions.h"
#include "reports/report_painter.h"
#include "reports/report_rows.h"
#include "reports/report_viewer.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return process.readAllStandardOutput();
}

} // namespace

class TestReportPdf : public QObject
{
    Q_OBJECT

private slots:
    void painterScalesTwipsToDevice();
    void streamedPdfIsTheWholeReport();
    void unfinishedExportLeavesWhatWasThere_data();
    void unfinishedExportLeavesWhatWasThere();
    void previewShowsEveryPage();
    void cancelledExportWritesNothingAndSaysNothing();
};

void TestReportPdf::painterScalesTwipsToDevice()
{
    ReportPage page;
    page.items.resize(2);
    page.items[0].kind = ReportItemKind::Line;
    page.items[0].rect = QRectF(1440, 1440, 1440, 0); // one inch in, one inch long
    // Far too wide for its half-inch box at two inches down: squeezed into it.
    page.items[1].rect = QRectF(720, 2 * 1440, 720, 300);
    page.items[1].font = arial10();
    page.items[1].lines = QStringList{"MMMMMMMMMM"};
    page.items[1].lineHeight = 230;
    QImage image(300, 300, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(96 / 0.0254));
    image.setDotsPerMeterY(qRound(96 / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintReportPage(painter, page);
    painter.end();
    // At 96 dots an inch: the rule one dot high at 96 (either side of the edge), from 96
    // to 192 across; the text inside its box, from 48 to 96 across, 192 to 212 down.
    int ink[3] = {};
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 300; ++x) {
            const bool inRule = (y == 95 || y == 96) && x >= 96 && x < 192;
            const bool inText = y >= 192 && y < 212 && x >= 48 && x < 97;
            ink[inRule ? 0 : inText ? 1 : 2] += qGray(image.pixel(x, y)) < 128;
        }
    }
    QVERIFY(ink[0] >= 90);
    QVERIFY(ink[1] > 40);
    QCOMPARE(ink[2], 0);
}

// The pages of a streamed export wait in a file for the page count: they come back
// whole, and print as the same report laid out in memory.
void TestReportPdf::streamedPdfIsTheWholeReport()
{
    // Every kind of item: texts centred or not, in several fonts, rules, a note split
    // over pages, "%p" on the last page.
    QList<QVariantHash> rows;
    for (int i = 0; i < 40; ++i)
        rows.append({{"ID", i}, {"CAP", "20100"}, {"Annotazione", i == 4 ? longText(2000) : ""}});
    ListReportRows source(rows);
    const ReportDocument document = buildReportDocument(createAnagrafe(), source);
    QTemporaryDir dir;
    QString error;
    QVERIFY2(writeReportPdf(document, dir.filePath("whole.pdf"), &error), qPrintable(error));
    QVERIFY2(writeReportPdfStreamed(
                 createAnagrafe(),
                 [&](QString *) { return std::make_unique<ListReportRows>(rows); },
                 dir.filePath("streamed.pdf"), &error),
             qPrintable(error));
    const QString info = QString::fromUtf8(run("pdfinfo", {dir.filePath("streamed.pdf")}));
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+84[12]\\S* x 595\\S* pts \\(A4\\)")),
             qPrintable(info));
    for (const char *pdf : {"whole", "streamed"})
        run("pdftoppm",
            {"-r", "20", "-gray", dir.filePath(QLatin1String(pdf) + ".pdf"), dir.filePath(pdf)});
    const QStringList images = QDir(dir.path()).entryList({"whole-*.pgm"});
    QVERIFY(document.pageCount() > 3);
    QCOMPARE(images.size(), document.pageCount());
    for (const QString &image : images) {
        QFile whole(dir.filePath(image));
        QFile streamed(dir.filePath(QString(image).replace("whole", "streamed")));
        QVERIFY(whole.open(QIODevice::ReadOnly) && streamed.open(QIODevice::ReadOnly));
        QVERIFY2(whole.readAll() == streamed.readAll(), qPrintable(image));
    }
}

void TestReportPdf::unfinishedExportLeavesWhatWasThere_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("pagesWritten");
    QTest::newRow("stopped after two pages") << "report.pdf" << 2;
    QTest::newRow("into no folder") << "manca/report.pdf" << 0;
}

void TestReportPdf::unfinishedExportLeavesWhatWasThere()
{
    QFETCH(QString, file);
    QFETCH(int, pagesWritten);
    QTemporaryDir dir;
    QFile old(dir.filePath(QStringLiteral("report.pdf")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("earlier export") > 0);
    old.close();
    QString error;
    int calls = 0;
    QVERIFY(!writeReportPdf(layOut(testReport(), names(17)), dir.filePath(file), &error,
                            [&calls](int page, int) { return ++calls, page < 2; }));
    QVERIFY(!error.isEmpty());
    QCOMPARE(calls, pagesWritten);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("earlier export"));
}

void TestReportPdf::previewShowsEveryPage()
{
    const ReportDocument document = layOut(testReport(), names(17));
    std::unique_ptr<QPrintPreviewDialog> dialog = createReportPreview(document, nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Prova"));
    QVERIFY(dialog->windowState() & Qt::WindowMaximized);
    QCOMPARE(dialog->printer()->pageLayout().orientation(), QPageLayout::Landscape);
    QVERIFY(dialog->printer()->fullPage());
    QCOMPARE(dialog->findChild<QAction *>("exportPdf")->text(), QStringLiteral("Esporta PDF"));
    auto *preview = dialog->findChild<QPrintPreviewWidget *>();
    preview->updatePreview();
    QCOMPARE(preview->pageCount(), 3);
}

void TestReportPdf::cancelledExportWritesNothingAndSaysNothing()
{
    ScriptedPrompt *prompts = ScriptedPrompt::install();
    // Long enough for the progress to show well before the export ends.
    ReportDocument document = layOut(testReport(), names(17));
    while (document.pageCount() < 20000)
        document.pages += document.pages;
    std::unique_ptr<QPrintPreviewDialog> dialog = createReportPreview(document, nullptr);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("annullato.pdf"));
    bool clicked = false;
    // The operator names the file, then clicks "Annulla" as soon as the progress shows.
    QTimer hand;
    QObject::connect(&hand, &QTimer::timeout, [&] {
        if (auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            files->selectFile(path);
            static_cast<QDialog *>(files)->accept();
        } else if (auto *progress = dialog->findChild<QProgressDialog *>();
                   !clicked && progress && progress->isVisible()) {
            for (QPushButton *button : progress->findChildren<QPushButton *>()) {
                if (button->text() == QLatin1String("Annulla")) {
                    QTest::mouseClick(button, Qt::LeftButton);
                    clicked = true;
                }
            }
        }
    });
    hand.start(0);
    dialog->findChild<QAction *>(QStringLiteral("exportPdf"))->trigger();
    hand.stop();
    QVERIFY2(clicked, "the export ended before its progress showed");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(prompts->shown().size(), 0);
    Prompt::install(nullptr);
}

TAVELO_TEST_MAIN(TestReportPdf)
#include "tst_report_pdf.moc"
