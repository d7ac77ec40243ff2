// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_report_viewer.h"

#include "core/dates.h"
#include "reports/report_definitions.h"
#include "reports/report_layout.h"
#include "reports/report_painter.h"
#include "reports/report_rows.h"
#include "reports/report_text_measurer.h"
#include "reports/report_viewer.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate printDate(2024, 3, 15);
// A4 landscape is 210 mm high.
const qreal sheetHeight = 210 / 25.4 * 1440;

ReportLayoutOptions options()
{
    ReportLayoutOptions o;
    o.printDate = printDate;
    return o;
}

ReportFont arial10()
{
    ReportFont font;
    font.pointSize = 10;
    return font;
}

ReportControl label(const QString &name, int left, int top, int width, const QString &caption)
{
    ReportControl c;
    c.kind = ReportControlKind::Label;
    c.name = name;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = 300;
    c.caption = caption;
    c.expandsPlaceholders = caption.contains(QLatin1Char('%'));
    c.font = arial10();
    return c;
}

ReportControl textBox(const QString &name, int left, int top, int width, const QString &field,
                      bool canGrow)
{
    ReportControl c = label(name, left, top, width, QString());
    c.kind = ReportControlKind::TextBox;
    c.field = field;
    c.canGrow = canGrow;
    return c;
}

ReportControl rule(const QString &name, int top, int width)
{
    ReportControl c;
    c.kind = ReportControlKind::Line;
    c.name = name;
    c.top = top;
    c.width = width;
    return c;
}

// A report with round numbers: on A4 landscape (11905.5 twips high) with margins of
// 1000 the first page has room for 8405.5 twips of detail under its two headers, the
// others for 8905.5: eight 1000-twip bands on every page.
ReportDefinition testReport()
{
    ReportDefinition report;
    report.name = QStringLiteral("Prova");
    report.defaultFont = arial10();
    report.page.topMargin = 1000;
    report.page.bottomMargin = 1000;
    report.page.leftMargin = 500;
    report.page.rightMargin = 0;
    report.page.reportWidth = 10000;

    ReportSection &reportHeader = report.section(ReportSectionKind::ReportHeader);
    reportHeader.height = 500;
    reportHeader.controls = {label("Titolo", 0, 0, 5000, "Titolo")};
    ReportSection &pageHeader = report.section(ReportSectionKind::PageHeader);
    pageHeader.height = 400;
    pageHeader.controls = {label("Testata", 0, 0, 5000, "Intestazione %P")};
    ReportSection &detail = report.section(ReportSectionKind::Detail);
    detail.height = 1000;
    detail.controls = {
        textBox("Nome", 0, 0, 3000, "nome", true),
        label("Sotto", 1000, 400, 1000, "sotto"),
        label("Accanto", 5000, 400, 1000, "accanto"),
        rule("Riga", 900, 10000),
    };
    ReportSection &pageFooter = report.section(ReportSectionKind::PageFooter);
    pageFooter.height = 600;
    pageFooter.controls = {label("Pagine", 0, 0, 3000, "Pagina %P di %p")};
    ReportSection &reportFooter = report.section(ReportSectionKind::ReportFooter);
    reportFooter.height = 500;
    reportFooter.controls = {label("Fine", 0, 0, 5000, "Stampato il  %D")};
    return report;
}

QList<QVariantHash> names(int count)
{
    QList<QVariantHash> rows;
    for (int i = 0; i < count; ++i)
        rows.append(QVariantHash{{QStringLiteral("Nome"), QStringLiteral("RIGA %1").arg(i)}});
    return rows;
}

ReportDocument layOut(const ReportDefinition &definition, const QList<QVariantHash> &rows)
{
    ListReportRows source(rows);
    return buildReportDocument(definition, source, options());
}

// Words enough for several lines in any box of a report.
QString longText(int words)
{
    QStringList list;
    for (int i = 0; i < words; ++i)
        list.append(QStringLiteral("parola%1").arg(i));
    return list.join(QLatin1Char(' '));
}

// The shortest text of such words that breaks into that many lines at that width.
QString textOfLines(const ReportFont &font, qreal width, int lines)
{
    ReportTextMeasurer measurer(ReportLayoutOptions().resolution);
    for (int words = 1; words < 500; ++words) {
        if (measurer.wrap(font, longText(words), width).size() == lines)
            return longText(words);
    }
    return {};
}

QList<int> detailCounts(const ReportDocument &document)
{
    QList<int> counts;
    for (const ReportPage &page : document.pages)
        counts.append(page.bandCount(ReportSectionKind::Detail));
    return counts;
}

QList<int> pagesWith(const ReportDocument &document, ReportSectionKind section)
{
    QList<int> numbers;
    for (const ReportPage &page : document.pages) {
        if (page.bandCount(section) > 0)
            numbers.append(page.number);
    }
    return numbers;
}

const ReportBand *detailBand(const ReportPage &page, int row)
{
    for (const ReportBand &band : page.bands) {
        if (band.section == ReportSectionKind::Detail && band.row == row)
            return &band;
    }
    return nullptr;
}

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void fontFaces_data();
    void fontFaces();
    void lineBreaks_data();
    void lineBreaks();
    void longWordsBreakWithoutLoss();
    void valuesAsText_data();
    void valuesAsText();
    void listRowsMatchFieldsWithoutCase();

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

    void anagrafeLayout();
    void anagrafeGrowingNotePushesNextSubject();
    void schedaLayout();
    void schedaUtentiLayout();
    void schedaFromSqlQuery();

    void painterScalesTwipsToDevice();
    void pdfEndToEnd();
    void pdfExportFailureLeavesNoFile();
    void pdfExportStoppedKeepsOldFile();

    void viewerInstallAndRestore();
    void recordingViewerKeepsDocuments();
    void previewDialogShowsEveryPage();
};

void TestReports::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestReports::fontFaces_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("family");
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("Arial in capitals") << "ARIAL"
                                       << "Liberation Sans";
    QTest::newRow("Arial Narrow") << "Arial Narrow"
                                  << "Liberation Sans Narrow";
    QTest::newRow("vertical Unicode") << "@Arial Unicode MS"
                                      << "DejaVu Sans";
    QTest::newRow("Unicode") << "Arial Unicode MS"
                             << "DejaVu Sans";
}

void TestReports::fontFaces()
{
    QFETCH(QString, face);
    QFETCH(QString, family);
    QCOMPARE(mapFontFamily(face), family);
    ReportFont font;
    font.face = face;
    font.italic = true;
    const QFont qfont = toQFont(font);
    // The face must really be there, not a fallback with other metrics.
    QCOMPARE(QFontInfo(qfont).family(), family);
    QVERIFY(QFontInfo(qfont).italic());
}

void TestReports::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("one line") << "ROSSI" << QStringList{"ROSSI"};
    QTest::newRow("blanks kept on a line that fits") << "Quorvalia " << QStringList{"Quorvalia "};
    QTest::newRow("line feed") << "A\nB" << QStringList{"A", "B"};
    QTest::newRow("CR LF and a last Enter") << "A\r\nB\r\n" << QStringList{"A", "B"};
    QTest::newRow("empty line between") << "A\n\nB" << QStringList{"A", "", "B"};
}

void TestReports::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    ReportTextMeasurer measurer(1200);
    QCOMPARE(measurer.wrap(arial10(), text, 3000), lines);
}

void TestReports::longWordsBreakWithoutLoss()
{
    ReportTextMeasurer measurer(1200);
    const QString word = QString(80, QLatin1Char('W'));
    const QStringList broken = measurer.wrap(arial10(), word, 1000);
    QVERIFY(broken.size() > 1);
    QCOMPARE(broken.join(QString()), word);
    for (const QString &line : broken)
        QVERIFY(measurer.width(arial10(), line) <= 1000.5);

    // Between words, the blank at the break goes.
    const QString words = longText(30);
    const QStringList lines = measurer.wrap(arial10(), words, 3000);
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines.join(QLatin1Char(' ')), words);
}

void TestReports::valuesAsText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<ReportValueFormat>("format");
    QTest::addColumn<QString>("text");
    const auto text = ReportValueFormat::Text;
    const auto date = ReportValueFormat::Date;
    QTest::newRow("invalid") << QVariant() << text << "";
    QTest::newRow("NULL text column") << QVariant(QMetaType::fromType<QString>()) << date << "";
    QTest::newRow("NULL number column") << QVariant(QMetaType::fromType<qlonglong>()) << text << "";
    QTest::newRow("date value") << QVariant(QDate(2024, 3, 5)) << text << "05/03/2024";
    QTest::newRow("date and time value")
        << QVariant(QDateTime(QDate(2024, 3, 5), QTime(10, 30))) << text << "05/03/2024";
    QTest::newRow("ISO text in a date box") << QVariant("2024-03-05") << date << "05/03/2024";
    QTest::newRow("ISO text in a text box") << QVariant("2024-03-05") << text << "2024-03-05";
    QTest::newRow("other text in a date box") << QVariant("domani") << date << "domani";
    QTest::newRow("integer") << QVariant(qlonglong(1234567)) << text << "1234567";
    QTest::newRow("decimal") << QVariant(1234.5) << text << "1234,5";
    QTest::newRow("text with blanks") << QVariant("  A  B ") << text << "  A  B ";
}

void TestReports::valuesAsText()
{
    QFETCH(QVariant, value);
    QFETCH(ReportValueFormat, format);
    QFETCH(QString, text);
    QCOMPARE(formatReportValue(value, format), text);
}

void TestReports::listRowsMatchFieldsWithoutCase()
{
    ListReportRows rows({{{"Soggetto", "ROSSI"}, {"ID", 7}}, {{"soggetto", "BIANCHI"}}});
    QCOMPARE(rows.value("SOGGETTO"), QVariant()); // no current row yet
    QVERIFY(rows.next());
    QCOMPARE(rows.value("SOGGETTO").toString(), QStringLiteral("ROSSI"));
    QCOMPARE(rows.value("id").toInt(), 7);
    QVERIFY(!rows.value("missing").isValid());
    QVERIFY(rows.next());
    QCOMPARE(rows.value("Soggetto").toString(), QStringLiteral("BIANCHI"));
    QVERIFY(!rows.value("ID").isValid());
    QVERIFY(!rows.next());
    QVERIFY(!rows.next());
}

void TestReports::bandsPerPage_data()
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

void TestReports::bandsPerPage()
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

void TestReports::headersAndFootersInPlace()
{
    const ReportDocument document = layOut(testReport(), names(9));
    QCOMPARE(document.pageCount(), 2);
    const qreal pageHeight = document.pageSize().height();
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

void TestReports::placeholdersOnEveryPage()
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

void TestReports::dataIsNeverTakenForPlaceholders()
{
    ReportDefinition report = testReport();
    report.findControl("Titolo")->setCaption(QStringLiteral("ROSSI %P %p %D"));
    const ReportDocument document = layOut(report, {{{"nome", "SCONTO 10%P"}}});
    QCOMPARE(document.texts("Titolo"), QStringList{"ROSSI %P %p %D"});
    QCOMPARE(document.texts("Nome"), QStringList{"SCONTO 10%P"});
}

void TestReports::grownBandMovesWhatFollows()
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

void TestReports::bandThatDoesNotFitStartsNewPage()
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

void TestReports::bandTallerThanPageIsSplit()
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

void TestReports::boxThatCannotGrowKeepsItsHeight()
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

void TestReports::pagesStreamToSink()
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

void TestReports::anagrafeLayout()
{
    QList<QVariantHash> subjects;
    for (int i = 1; i <= 25; ++i) {
        subjects.append({{"ID", i},
                         {"Soggetto", QStringLiteral("SOGGETTO %1").arg(i)},
                         {"indirizzo", "VIA ROMA 1"},
                         {"Comune", "MILANO"},
                         {"cap", "20100"},
                         {"Codice", QStringLiteral("CODICE%1").arg(i)},
                         {"utente", "S"},
                         {"Annotazione", QVariant(QMetaType::fromType<QString>())}});
    }
    const ReportDocument document = layOut(createAnagrafe(), subjects);
    // 945 twips of headers, 930 a subject, footer from 10911: 10 subjects, then 11.
    QCOMPARE(detailCounts(document), (QList<int>{10, 11, 4}));
    const ReportPage &first = document.pages.at(0);
    QCOMPARE(first.find("Label3")->text(), QStringLiteral("Elenco Anagrafica"));
    QCOMPARE(first.find("Label3")->rect, QRectF(400 + 3969, 0, 7950, 300));
    QCOMPARE(first.find("Label3")->alignment, Qt::AlignHCenter);
    QCOMPARE(first.find("Label10")->text(), QStringLiteral("Città"));
    QCOMPARE(first.find("Label5")->text(), QStringLiteral("Codice Ficale"));
    QCOMPARE(first.find("Line1")->rect, QRectF(400, 510 + 350, 15874, 0));
    QCOMPARE(first.find("TextBox5", 0)->rect.topLeft(), QPointF(400 + 567, 945));
    QCOMPARE(first.find("TextBox5", 1)->rect.topLeft(), QPointF(400 + 567, 945 + 930));
    QCOMPARE(first.find("TextBox12", 1)->rect.topLeft(), QPointF(400 + 5669, 945 + 930 + 300));
    QCOMPARE(first.find("TextBox12", 1)->text(), QStringLiteral("S"));
    QCOMPARE(first.find("TextBox2", 1)->text(), QStringLiteral("CODICE2"));
    QCOMPARE(first.find("TextBox13", 1)->text(), QString());
    QCOMPARE(first.find("TextBox3", 0)->font.face, QStringLiteral("Arial Narrow"));
    QVERIFY(first.find("TextBox3", 0)->font.bold);
    QCOMPARE(document.texts("TextBox5").size(), 25);
    QCOMPARE(document.texts("TextBox5").constLast(), QStringLiteral("SOGGETTO 25"));

    // Printing date and page label once, after the last subject.
    QCOMPARE(document.texts("Label15"), QStringList{"Pagina 3 di 3"});
    QCOMPARE(document.texts("Label14"), QStringList{"Stampato il  " + toLongDate(printDate)});
    const ReportPage &last = document.pages.at(2);
    QCOMPARE(last.find("Label15")->rect.top(), 435 + 4 * 930.0);
    QCOMPARE(last.bands.constLast().section, ReportSectionKind::PageFooter);
}

void TestReports::anagrafeGrowingNotePushesNextSubject()
{
    const QString note = longText(60);
    const QString address = longText(12);
    const ReportDocument document =
        layOut(createAnagrafe(), {{{"ID", 1}, {"Annotazione", note}, {"Indirizzo", address}},
                                  {{"ID", 2}, {"Soggetto", "SECONDO"}}});
    ReportTextMeasurer measurer(ReportLayoutOptions().resolution);
    ReportFont narrow;
    narrow.face = "Arial Narrow";
    const qreal lineHeight = measurer.lineHeight(narrow);
    const int noteLines = int(measurer.wrap(narrow, note, 6236).size());
    const int addressLines = int(measurer.wrap(narrow, address, 3975).size());
    QVERIFY(noteLines >= 3);
    QVERIFY(addressLines >= 2);

    const ReportPage &page = document.pages.at(0);
    const qreal top = 945;
    const qreal addressGrowth = (addressLines - 1) * lineHeight;
    // The second line of the subject (user flag, e-mail) moves below the address...
    QCOMPARE(page.find("Label16", 0)->rect.top(), top + 300 + addressGrowth);
    QCOMPARE(page.find("TextBox1", 0)->rect.top(), top + 300 + addressGrowth);
    // ...and the note, in the third line, below that, grown by its own lines.
    const ReportItem *noteItem = page.find("TextBox13", 0);
    QCOMPARE(noteItem->rect.top(), top + 567 + addressGrowth);
    QCOMPARE(noteItem->lines.join(' '), note);
    const qreal noteGrowth = (noteLines - 1) * lineHeight;
    QCOMPARE(page.find("Line2", 0)->rect.top(), top + 900 + addressGrowth + noteGrowth);
    // The town beside the address stays on the first line; the next subject follows
    // the grown band.
    QCOMPARE(page.find("TextBox8", 0)->rect.top(), top);
    QCOMPARE(detailBand(page, 1)->top, top + 930 + addressGrowth + noteGrowth);
    QCOMPARE(page.find("TextBox5", 1)->text(), QStringLiteral("SECONDO"));
}

void TestReports::schedaLayout()
{
    ReportDefinition scheda = createScheda();
    QCOMPARE(scheda.page.topMargin, 600);
    QCOMPARE(scheda.page.leftMargin, 1000);
    QCOMPARE(scheda.defaultFont.pointSize, 7.0);
    scheda.sectionAt(1)->control("Label2")->setCaption(QStringLiteral("ROSSI MARIO"));

    QList<QVariantHash> entries;
    for (int i = 1; i <= 45; ++i) {
        entries.append({{"ID", i},
                        {"data", "2024-01-15"},
                        {"SCADENZA", i == 2 ? QVariant(QMetaType::fromType<QString>())
                                            : QVariant("2024-12-31")},
                        {"Oggetto", QStringLiteral("NOTA %1").arg(i)},
                        {"ndoc", "12,13"},
                        {"AGG", "2024-01-16"}});
    }
    const ReportDocument document = layOut(scheda, entries);
    // Headers to 1455, footer from 7401: 19 entries, then 21 a page.
    QCOMPARE(detailCounts(document), (QList<int>{19, 21, 5}));
    const ReportPage &first = document.pages.at(0);
    QCOMPARE(first.find("Label36")->text(), QStringLiteral("Utente :"));
    QCOMPARE(first.find("Label2")->text(), QStringLiteral("ROSSI MARIO"));
    QCOMPARE(first.find("Label2")->rect.topLeft(), QPointF(1000 + 2835, 600));
    QCOMPARE(first.find("Label3")->text(), QStringLiteral("Quorvalia "));
    QCOMPARE(first.find("Label9")->text(), QStringLiteral("N_DOC"));
    QCOMPARE(first.find("TextBox1", 0)->text(), QStringLiteral("15/01/2024"));
    QCOMPARE(first.find("TextBox1", 0)->rect.topLeft(), QPointF(1000 + 567, 1455));
    QCOMPARE(first.find("TextBox4", 0)->text(), QStringLiteral("31/12/2024"));
    QCOMPARE(first.find("TextBox4", 1)->text(), QString());
    QCOMPARE(first.find("TextBox7", 0)->text(), QStringLiteral("16/01/2024"));
    QCOMPARE(first.find("TextBox5", 0)->text(), QStringLiteral("12,13"));
    QCOMPARE(first.find("TextBox2", 1)->rect.topLeft(), QPointF(1000 + 2835, 1455 + 300));
    QCOMPARE(first.find("TextBox2", 0)->font.face, QStringLiteral("@Arial Unicode MS"));

    // Date and page label at the foot of every page.
    for (const ReportPage &page : document.pages) {
        QCOMPARE(page.find("Label14")->text(), QStringLiteral("Pagina %1 di 3").arg(page.number));
        QCOMPARE(page.find("Label14")->rect.top(), sheetHeight - 800 - 3705 + 3402);
        QCOMPARE(page.find("Label16")->text(), "Stampato il  " + toLongDate(printDate));
    }
    QCOMPARE(pagesWith(document, ReportSectionKind::ReportFooter), QList<int>{3});
}

void TestReports::schedaUtentiLayout()
{
    const ReportDefinition report = createSchedaUtenti();
    QCOMPARE(report.section(ReportSectionKind::PageFooter).height, 3705);
    const ReportDocument document = layOut(
        report, {{{"ID", 4}, {"Soggetto", "VERDI"}, {"Scadenza", "2024-02-01"}, {"Oggetto", "A"}},
                 {{"ID", 2}, {"Soggetto", "NERI"}, {"Scadenza", "2024-02-03"}, {"Oggetto", "B"}}});
    QCOMPARE(document.pageCount(), 1);
    const ReportPage &page = document.pages.at(0);
    QCOMPARE(page.find("Label3")->text(), QStringLiteral("Quorvalia per Utenti"));
    QCOMPARE(page.find("Label3")->font.pointSize, 11.25);
    QCOMPARE(document.texts("TextBox3"), (QStringList{"4", "2"}));
    QCOMPARE(document.texts("TextBox2"), (QStringList{"VERDI", "NERI"}));
    QCOMPARE(document.texts("TextBox4"), (QStringList{"01/02/2024", "03/02/2024"}));
    // Report header 420 and page header 390 under the 600 margin; 360 a row.
    QCOMPARE(page.find("TextBox5", 1)->rect.topLeft(), QPointF(1000 + 6803, 1410 + 360));
    QCOMPARE(page.find("Label14")->text(), QStringLiteral("Pagina 1 di 1"));
    QCOMPARE(page.find("Line3")->rect.top(), 1410 + 2 * 360.0);
}

void TestReports::schedaFromSqlQuery()
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "card");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        QSqlQuery setup(db);
        QVERIFY(setup.exec("CREATE TABLE Tavelo (ID INTEGER PRIMARY KEY, data TEXT, scadenza "
                           "TEXT, Oggetto TEXT, ndoc TEXT, Utente INTEGER, AGG TEXT)"));
        QVERIFY(setup.exec("INSERT INTO Tavelo (data, scadenza, Oggetto, ndoc, Utente, AGG) "
                           "VALUES ('2024-01-10', '2024-05-01', 'SECONDA', '1', 3, '2024-01-10'),"
                           " ('2024-01-11', NULL, 'PRIMA', NULL, 3, '2024-01-11'),"
                           " (NULL, '2024-01-01', 'SENZA DATA', '', 3, '2024-01-11'),"
                           " ('2024-01-12', '2024-02-01', 'ALTRO UTENTE', '', 4, '2024-01-12')"));

        QSqlQuery query(db);
        query.setForwardOnly(true);
        QVERIFY(query.prepare("SELECT * FROM Tavelo WHERE data IS NOT NULL AND Utente = ? "
                              "ORDER BY scadenza ASC"));
        query.addBindValue(3);
        QVERIFY(query.exec());
        SqlReportRows rows(query);
        const ReportDocument document = buildReportDocument(createScheda(), rows, options());
        QCOMPARE(rows.errorString(), QString());
        QCOMPARE(document.texts("TextBox2"), (QStringList{"PRIMA", "SECONDA"}));
        QCOMPARE(document.texts("TextBox4"), (QStringList{"", "01/05/2024"}));
        QCOMPARE(document.texts("TextBox1"), (QStringList{"11/01/2024", "10/01/2024"}));
        QCOMPARE(document.texts("TextBox5"), (QStringList{"", "1"}));
        QCOMPARE(document.texts("TextBox3"), (QStringList{"2", "1"}));
    }
    QSqlDatabase::removeDatabase("card");
}

void TestReports::painterScalesTwipsToDevice()
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

void TestReports::pdfEndToEnd()
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

void TestReports::pdfExportFailureLeavesNoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/folder/report.pdf");
    const ReportDocument document = layOut(testReport(), names(3));
    QString error;
    QVERIFY(!writeReportPdf(document, path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestReports::pdfExportStoppedKeepsOldFile()
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

void TestReports::viewerInstallAndRestore()
{
    auto recorder = std::make_unique<RecordingReportViewer>();
    RecordingReportViewer *installed = recorder.get();
    std::unique_ptr<ReportViewer> previous = ReportViewer::install(std::move(recorder));
    QCOMPARE(&ReportViewer::current(), static_cast<ReportViewer *>(installed));
    std::unique_ptr<ReportViewer> back = ReportViewer::install(std::move(previous));
    QCOMPARE(back.get(), static_cast<ReportViewer *>(installed));
    QVERIFY(dynamic_cast<PreviewReportViewer *>(&ReportViewer::current()));
}

void TestReports::recordingViewerKeepsDocuments()
{
    QWidget owner;
    RecordingReportViewerScope scope;
    QList<int> seenWhileOpen;
    scope.viewer().whileShown = [&seenWhileOpen](const ReportDocument &document, QWidget *) {
        seenWhileOpen.append(document.pageCount());
    };
    ReportViewer::current().showModal(layOut(testReport(), names(17)), &owner);
    ReportViewer::current().showModal(layOut(createScheda(), {}), nullptr);
    QCOMPARE(scope.viewer().documents().size(), 2);
    QCOMPARE(scope.viewer().documents().at(0).pages.at(2).find("Pagine")->text(),
             QStringLiteral("Pagina 3 di 3"));
    QCOMPARE(scope.viewer().documents().at(1).name, QStringLiteral("Scheda"));
    QCOMPARE(scope.viewer().owners().at(0).data(), &owner);
    QCOMPARE(seenWhileOpen, (QList<int>{3, 1}));
}

void TestReports::previewDialogShowsEveryPage()
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

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
