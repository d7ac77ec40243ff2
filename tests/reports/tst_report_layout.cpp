// SPDX-License-Identifier: GPL-3.0-or-later
// The banded layout: bands per page, headers and footers, growing and split bands.
#include "report_fixtures.h"

#include "core/dates.h"
#include "reports/report_definitions.h"
#include "reports/report_rows.h"
#include "reports/report_text_measurer.h"

#include <QLocale>
#include <QTest>

class TestReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void bandsPerPage_data();
    void bandsPerPage();
    void headersAndFootersInPlace();
    void placeholdersOnEveryPage();
    void dataIsNeverTakenForPlaceholders();
    void grownBandMovesWhatFollows();
    void bandThatDoesNotFitStartsNewPage();
    void bandTallerThanPageIsSplit();
    void boxThatCannotGrowKeepsItsHeight();
    void pagesStreamToSink();
    void veryLongNoteWrapsAndGrowsItsBand();
};

void TestReportLayout::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestReportLayout::bandsPerPage_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QList<int>>("details");
    QTest::addColumn<int>("footerPage");
    QTest::newRow("no rows") << 0 << QList<int>{0} << 1;
    QTest::newRow("one row") << 1 << QList<int>{1} << 1;
    QTest::newRow("seven rows, footer fits") << 7 << QList<int>{7} << 1;
    // 8 bands leave 405.5 twips on the first page: the 500-twip report footer goes over.
    QTest::newRow("eight rows, footer overleaf") << 8 << QList<int>{8, 0} << 2;
    QTest::newRow("nine rows") << 9 << QList<int>{8, 1} << 2;
    QTest::newRow("two full pages") << 16 << QList<int>{8, 8} << 2;
    QTest::newRow("seventeen rows") << 17 << QList<int>{8, 8, 1} << 3;
}

void TestReportLayout::bandsPerPage()
{
    QFETCH(int, rowCount);
    QFETCH(QList<int>, details);
    QFETCH(int, footerPage);
    const ReportDocument document = layOut(testReport(), names(rowCount));
    QCOMPARE(detailCounts(document), details);
    QCOMPARE(pagesWith(document, ReportSectionKind::ReportFooter), QList<int>{footerPage});
    QCOMPARE(pagesWith(document, ReportSectionKind::ReportHeader), QList<int>{1});
    QStringList expected;
    for (int i = 0; i < rowCount; ++i)
        expected.append(QStringLiteral("RIGA %1").arg(i));
    QCOMPARE(document.texts("Nome"), expected);
    for (const ReportPage &page : document.pages) {
        QCOMPARE(page.bandCount(ReportSectionKind::PageHeader), 1);
        QCOMPARE(page.bandCount(ReportSectionKind::PageFooter), 1);
    }
}

void TestReportLayout::headersAndFootersInPlace()
{
    const ReportDocument document = layOut(testReport(), names(9));
    QCOMPARE(document.pageCount(), 2);
    const qreal pageHeight = sheetSizeInTwips(document.pageLayout).height();
    QCOMPARE(pageHeight, sheetHeight);

    const ReportPage &first = document.pages.at(0);
    QCOMPARE(first.bands.at(0).section, ReportSectionKind::ReportHeader);
    QCOMPARE(first.bands.at(0).top, 1000.0);
    QCOMPARE(first.find("Titolo")->rect.topLeft(), QPointF(500, 1000));
    QCOMPARE(first.find("Testata")->rect.top(), 1500.0);
    QCOMPARE(detailBand(first, 0)->top, 1900.0);
    QCOMPARE(detailBand(first, 7)->top, 8900.0);
    QCOMPARE(first.find("Pagine")->rect.top(), pageHeight - 1000 - 600);

    const ReportPage &second = document.pages.at(1);
    QVERIFY(!second.find("Titolo"));
    QCOMPARE(second.find("Testata")->rect.top(), 1000.0);
    QCOMPARE(detailBand(second, 8)->top, 1400.0);
    QCOMPARE(second.find("Fine")->rect.top(), 2400.0);
    QCOMPARE(second.find("Pagine")->rect.top(), pageHeight - 1000 - 600);
}

void TestReportLayout::placeholdersOnEveryPage()
{
    const ReportDocument document = layOut(testReport(), names(17));
    QCOMPARE(document.pageCount(), 3);
    for (const ReportPage &page : document.pages) {
        QCOMPARE(page.find("Pagine")->text(), QStringLiteral("Pagina %1 di 3").arg(page.number));
        QCOMPARE(page.find("Testata")->text(), QStringLiteral("Intestazione %1").arg(page.number));
        QVERIFY(page.find("Pagine")->pendingText.isEmpty());
    }
    QCOMPARE(document.texts("Fine"), QStringList{"Stampato il  " + toLongDate(printDate)});
    QVERIFY(document.texts("Fine").constFirst().contains(QStringLiteral("2024")));
}

void TestReportLayout::dataIsNeverTakenForPlaceholders()
{
    ReportDefinition report = testReport();
    report.findControl("Titolo")->setCaption(QStringLiteral("ROSSI %P %p %D"));
    const ReportDocument document = layOut(report, {{{"nome", "SCONTO 10%P"}}});
    QCOMPARE(document.texts("Titolo"), QStringList{"ROSSI %P %p %D"});
    QCOMPARE(document.texts("Nome"), QStringList{"SCONTO 10%P"});
}

void TestReportLayout::grownBandMovesWhatFollows()
{
    const ReportDefinition report = testReport();
    const QString text = longText(20);
    const ReportDocument document = layOut(report, {{{"nome", text}}, {{"nome", "breve"}}});
    ReportTextMeasurer measurer(ReportLayoutOptions().resolution);
    const qreal lineHeight = measurer.lineHeight(arial10());
    const int lineCount = int(measurer.wrap(arial10(), text, 3000).size());
    QVERIFY2(lineCount >= 3, "the sample must need several lines");
    const qreal growth = (lineCount - 1) * lineHeight;

    const ReportPage &page = document.pages.at(0);
    const ReportItem *grown = page.find("Nome", 0);
    QCOMPARE(grown->lines.size(), lineCount);
    QCOMPARE(grown->lines.join(' '), text);
    QCOMPARE(grown->rect.height(), 300 + growth);
    // Under the grown box: moved by the growth; beside it: left alone.
    QCOMPARE(page.find("Sotto", 0)->rect.top(), 1900 + 400 + growth);
    QCOMPARE(page.find("Accanto", 0)->rect.top(), 1900.0 + 400);
    QCOMPARE(page.find("Riga", 0)->rect.top(), 1900 + 900 + growth);
    QCOMPARE(detailBand(page, 0)->height, 1000 + growth);
    // The next band starts where the grown one ends and has its own height.
    QCOMPARE(detailBand(page, 1)->top, 1900 + 1000 + growth);
    QCOMPARE(detailBand(page, 1)->height, 1000.0);
    QCOMPARE(page.find("Nome", 1)->rect.top(), 1900 + 1000 + growth);
    QCOMPARE(page.find("Nome", 1)->lines, QStringList{"breve"});
}

void TestReportLayout::bandThatDoesNotFitStartsNewPage()
{
    // Eight plain bands fill the first page with 405.5 twips to spare; a fourth row
    // that grows by two lines takes more, so the eighth band moves overleaf.
    QList<QVariantHash> rows = names(8);
    const QString threeLines = textOfLines(arial10(), 3000, 3);
    QVERIFY(!threeLines.isEmpty());
    rows[3] = {{"nome", threeLines}};

    const ReportDocument document = layOut(testReport(), rows);
    QCOMPARE(detailCounts(document), (QList<int>{7, 1}));
    QVERIFY(!detailBand(document.pages.at(0), 7));
    QCOMPARE(detailBand(document.pages.at(1), 7)->top, 1400.0);
    QCOMPARE(document.pages.at(1).find("Nome")->text(), QStringLiteral("RIGA 7"));
}

void TestReportLayout::bandTallerThanPageIsSplit()
{
    const QString text = longText(600);
    const ReportDocument document =
        layOut(testReport(), {{{"nome", "prima"}}, {{"nome", text}}, {{"nome", "dopo"}}});
    QVERIFY(document.pageCount() >= 3);

    QStringList lines;
    for (const ReportPage &page : document.pages) {
        for (const ReportItem &item : page.items) {
            if (item.controlName == QLatin1String("Nome") && item.text() != QLatin1String("dopo") &&
                item.text() != QLatin1String("prima"))
                lines += item.lines;
        }
        // Nothing of the band runs into the page footer.
        const qreal footerTop = page.find("Pagine")->rect.top();
        for (const ReportBand &band : page.bands) {
            if (band.section == ReportSectionKind::Detail)
                QVERIFY(band.top + band.height <= footerTop + 0.5);
        }
    }
    QCOMPARE(lines.join(' '), text);
    // It starts under the row before it instead of leaving the first page to that row.
    QCOMPARE(document.pages.at(0).bandCount(ReportSectionKind::Detail), 2);
    QCOMPARE(detailBand(document.pages.at(0), 1)->top, 1900.0 + 1000);
    QVERIFY(document.pages.at(1).bands.at(1).continued);
    QCOMPARE(document.pages.at(1).bands.at(1).row, 1);
    QCOMPARE(document.texts("Nome").constLast(), QStringLiteral("dopo"));
}

void TestReportLayout::boxThatCannotGrowKeepsItsHeight()
{
    ReportDefinition report = testReport();
    ReportControl &box = report.section(ReportSectionKind::Detail).controls[0];
    box.canGrow = false;
    box.width = 1200;
    ReportTextMeasurer measurer(ReportLayoutOptions().resolution);
    // A value a little wider than its box is squeezed onto its one line, whole.
    QString slightlyWide = QStringLiteral("0123456789");
    while (measurer.width(arial10(), slightlyWide) < 1250)
        slightlyWide += QLatin1Char('0');
    const ReportDocument document =
        layOut(report, {{{"nome", longText(20)}}, {{"nome", slightlyWide}}});
    const ReportPage &page = document.pages.at(0);

    const ReportItem *cut = page.find("Nome", 0);
    QCOMPARE(cut->rect.height(), 300.0);
    QCOMPARE(cut->lines, measurer.wrap(arial10(), longText(20), 1200).mid(0, 1));
    QCOMPARE(detailBand(page, 0)->height, 1000.0);

    const ReportItem *squeezed = page.find("Nome", 1);
    QCOMPARE(squeezed->lines, QStringList{slightlyWide});
    QCOMPARE(squeezed->rect.width(), 1200.0);
}

void TestReportLayout::pagesStreamToSink()
{
    const ReportDefinition report = testReport();
    ListReportRows rows(names(17));
    ReportLayout layout(report, options());
    QList<int> numbers;
    QStringList pending;
    const int pageCount = layout.run(rows, [&](ReportPage &&page) {
        numbers.append(page.number);
        pending.append(page.find("Pagine")->pendingText);
        layout.resolvePageCount(page, 3);
        QCOMPARE(page.find("Pagine")->text(), QStringLiteral("Pagina %1 di 3").arg(page.number));
    });
    QCOMPARE(pageCount, 3);
    QCOMPARE(numbers, (QList<int>{1, 2, 3}));
    QCOMPARE(pending, (QStringList{"Pagina 1 di %p", "Pagina 2 di %p", "Pagina 3 di %p"}));
}

void TestReportLayout::veryLongNoteWrapsAndGrowsItsBand()
{
    // A megabyte of words in one paragraph: too long for the quick one-line check.
    QString note;
    note.reserve(1 << 20);
    for (int i = 0; note.size() < 1000000; ++i)
        note += QStringLiteral("nota%1 ").arg(i);
    note.chop(1);
    const ReportDefinition anagrafe = createAnagrafe();
    const ReportDocument document =
        layOut(anagrafe, {{{"ID", 1}, {"Annotazione", note}}, {{"ID", 2}, {"Soggetto", "DOPO"}}});
    QVERIFY(document.pageCount() > 100);

    ReportTextMeasurer measurer(options().resolution);
    ReportFont narrow;
    narrow.face = QStringLiteral("Arial Narrow");
    const qreal boxWidth = anagrafe.findControl("TextBox13")->width;
    const qreal bodyBottom = sheetHeight - anagrafe.page.bottomMargin -
                             anagrafe.section(ReportSectionKind::PageFooter).height;
    QStringList printed;
    qreal noteBottom = 0;
    for (const ReportPage &page : document.pages) {
        for (const ReportItem &item : page.items) {
            if (item.controlName != QLatin1String("TextBox13") || item.lines.isEmpty())
                continue;
            // Every line inside its box, every box above the page's foot.
            for (const QString &line : item.lines)
                QVERIFY2(measurer.width(narrow, line) <= boxWidth + 0.5, qPrintable(line.left(80)));
            noteBottom = item.rect.top() + item.lines.size() * item.lineHeight;
            QVERIFY(noteBottom <= bodyBottom + 0.5);
            QVERIFY(item.rect.bottom() <= bodyBottom + 0.5);
            printed += item.lines;
        }
        for (const ReportBand &band : page.bands) {
            if (band.section == ReportSectionKind::Detail)
                QVERIFY(band.top + band.height <= bodyBottom + 0.5);
        }
    }
    QVERIFY(printed.size() > 5000);
    QCOMPARE(printed.join(QLatin1Char(' ')), note);
    // The next subject starts under the note's last line, on the last page.
    const ReportBand *next = detailBand(document.pages.constLast(), 1);
    QVERIFY(next);
    QVERIFY(next->top >= noteBottom);
    QCOMPARE(document.texts("TextBox5").constLast(), QStringLiteral("DOPO"));
}

QTEST_MAIN(TestReportLayout)
#include "tst_report_layout.moc"
