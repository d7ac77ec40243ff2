// SPDX-License-Identifier: GPL-3.0-or-later
// Pages drawn on a device and written to PDF files.
#include "report_fixtures.h"

#include "core/dates.h"
#include "reports/report_definitions.h"
#include "reports/report_layout.h"
#include "reports/report_painter.h"
#include "reports/report_rows.h"
#include "reports/report_spool.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestReportPdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void painterScalesTwipsToDevice();
    void pdfEndToEnd();
    void pdfExportFailureLeavesNoFile();
    void pdfExportStoppedKeepsOldFile();
    void spooledPagesComeBackWhole();
};

void TestReportPdf::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestReportPdf::painterScalesTwipsToDevice()
{
    ReportPage page;
    ReportItem line;
    line.kind = ReportItemKind::Line;
    line.rect = QRectF(1440, 1440, 1440, 0); // one inch in, one inch long
    page.items.append(line);
    ReportItem text;
    text.rect = QRectF(2 * 1440, 2 * 1440, 2 * 1440, 300);
    text.font = arial10();
    text.lines = QStringList{"MMMM"};
    text.lineHeight = 230;
    page.items.append(text);
    // Far too wide for its half-inch box at three inches down: squeezed into it.
    ReportItem wide = text;
    wide.rect = QRectF(720, 3 * 1440, 720, 300);
    wide.lines = QStringList{"MMMMMMMMMM"};
    page.items.append(wide);

    QImage image(400, 400, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(96 / 0.0254));
    image.setDotsPerMeterY(qRound(96 / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintReportPage(painter, page);
    }
    auto dark = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    // The rule: one pixel high at 96 px (either side of the pixel edge), from 96 to 192.
    auto ruleAt = [&dark](int x) { return dark(x, 95) || dark(x, 96); };
    QVERIFY(ruleAt(98));
    QVERIFY(ruleAt(189));
    QVERIFY(!ruleAt(92));
    QVERIFY(!ruleAt(196));
    QVERIFY(!dark(150, 99));

    int inked = 0;
    for (int y = 192; y < 212; ++y) {
        for (int x = 192; x < 260; ++x)
            inked += dark(x, y);
    }
    QVERIFY(inked > 20);
    int squeezed = 0;
    int stray = 0;
    for (int y = 212; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            const bool inWideBox = y >= 288 && y < 308 && x >= 48 && x < 97;
            (inWideBox ? squeezed : stray) += dark(x, y);
        }
    }
    QVERIFY(squeezed > 40);
    QCOMPARE(stray, 0);
}

void TestReportPdf::pdfEndToEnd()
{
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdfinfo.isEmpty() || pdftotext.isEmpty())
        QSKIP("pdfinfo and pdftotext (poppler-utils) are needed");

    QList<QVariantHash> rows;
    for (int i = 1; i <= 50; ++i) {
        rows.append({{"ID", i},
                     {"Soggetto", QStringLiteral("UTENTE %1").arg(i)},
                     {"Scadenza", "2024-06-30"},
                     {"Oggetto", QStringLiteral("SCADENZA NUMERO %1").arg(i)}});
    }
    const ReportDocument document = layOut(createSchedaUtenti(), rows);
    QCOMPARE(document.pageCount(), 3);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("utenti.pdf");
    QList<int> progress;
    QString error;
    QVERIFY2(writeReportPdf(document, path, &error,
                            [&progress](int page, int count) {
                                progress.append(page * 10 + count);
                                return true;
                            }),
             qPrintable(error));
    QCOMPARE(progress, (QList<int>{13, 23, 33}));

    const QString info = runTool(pdfinfo, {path});
    QVERIFY(info.contains(QRegularExpression("Pages:\\s+3\\n")));
    QVERIFY(info.contains(QRegularExpression("Page size:\\s+84[12]\\S* x 595\\S* pts \\(A4\\)")));
    QVERIFY(info.contains(QRegularExpression("Title:\\s+SchedaUtenti")));

    for (int page = 1; page <= 3; ++page) {
        const QString text = runTool(
            pdftotext, {"-f", QString::number(page), "-l", QString::number(page), path, "-"});
        QVERIFY2(text.contains(QStringLiteral("Pagina %1 di 3").arg(page)), qPrintable(text));
        QVERIFY(text.contains(toLongDate(printDate)));
        QCOMPARE(text.contains("Quorvalia per Utenti"), page == 1);
    }
    const QString all = runTool(pdftotext, {path, "-"});
    QVERIFY(all.contains("UTENTE 17"));
    QVERIFY(all.contains("SCADENZA NUMERO 50"));
    QVERIFY(all.contains("30/06/2024"));
}

void TestReportPdf::pdfExportFailureLeavesNoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/folder/report.pdf");
    const ReportDocument document = layOut(testReport(), names(3));
    QString error;
    QVERIFY(!writeReportPdf(document, path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestReportPdf::pdfExportStoppedKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("earlier export");
    }
    const ReportDocument document = layOut(testReport(), names(17));
    QString error;
    int calls = 0;
    QVERIFY(!writeReportPdf(document, path, &error, [&calls](int page, int) {
        ++calls;
        return page < 2;
    }));
    QCOMPARE(calls, 2);
    QVERIFY(!error.isEmpty());
    QCOMPARE(fileContents(path), QByteArray("earlier export"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});
}

void TestReportPdf::spooledPagesComeBackWhole()
{
    // Pages with every kind of item: texts, rules, a split band, "%p" still pending,
    // fonts and names met again on later pages.
    QList<QVariantHash> rows = names(17);
    rows[4] = {{"nome", longText(600)}};
    ListReportRows source(rows);
    ReportLayout layout(testReport(), options());
    QList<ReportPage> written;
    ReportPageSpool spool;
    QString error;
    QVERIFY2(spool.open(&error), qPrintable(error));
    const int pageCount = layout.run(source, [&](ReportPage &&page) {
        QVERIFY(spool.write(page));
        written.append(page);
    });
    QVERIFY(pageCount >= 4);
    QVERIFY2(spool.rewind(&error), qPrintable(error));
    for (const ReportPage &expected : written) {
        ReportPage page;
        QVERIFY(spool.read(page));
        QCOMPARE(page.number, expected.number);
        QCOMPARE(page.bands.size(), expected.bands.size());
        for (qsizetype i = 0; i < page.bands.size(); ++i) {
            const ReportBand &a = page.bands.at(i);
            const ReportBand &b = expected.bands.at(i);
            QVERIFY(a.section == b.section && a.top == b.top && a.height == b.height &&
                    a.row == b.row && a.continued == b.continued);
        }
        QCOMPARE(page.items.size(), expected.items.size());
        for (qsizetype i = 0; i < page.items.size(); ++i) {
            const ReportItem &a = page.items.at(i);
            const ReportItem &b = expected.items.at(i);
            QCOMPARE(a.kind, b.kind);
            QCOMPARE(a.section, b.section);
            QCOMPARE(a.controlName, b.controlName);
            QCOMPARE(a.rect, b.rect);
            if (a.kind == ReportItemKind::Line)
                continue;
            QVERIFY(a.font == b.font);
            QCOMPARE(a.alignment, b.alignment);
            QCOMPARE(a.lines, b.lines);
            QCOMPARE(a.lineHeight, b.lineHeight);
            QCOMPARE(a.fitsAtDpi, b.fitsAtDpi);
            QCOMPARE(a.pendingText, b.pendingText);
        }
    }
    ReportPage beyond;
    QVERIFY(!spool.read(beyond));
}

QTEST_MAIN(TestReportPdf)
#include "tst_report_pdf.moc"
