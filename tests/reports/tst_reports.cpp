// SPDX-License-Identifier: GPL-3.0-or-later
// The banded layout: text broken into lines, bands per page, headers and footers,
// growing and split bands, and the three reports of the program laid out; pages drawn
// on a device, written to PDF files and shown in the preview.
#include "test_support.h"

#include "core/dates.h"
#include "reports/report_definitions.h"
#include "reports/report_document.h"
#include "reports/report_layout.h"
#include "reports/report_painter.h"
#include "reports/report_rows.h"
#include "reports/report_text_measurer.h"
#include "reports/report_viewer.h"

#include <QAction>
#include <QFileDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace {

// A small report with round numbers, rows to fill it and ways to look at the pages
// laid out.

const QDate printDate(2024, 3, 15);
const ReportFont arial10{QStringLiteral("Arial"), 10, false, false, false};

// A label, or a text box when there is a field; a line when the height is 0.
ReportControl control(const char *name, int left, int top, int width, const QString &caption,
                      const QString &field = {}, int height = 300)
{
    const ReportControlKind kind = height == 0       ? ReportControlKind::Line
                                   : field.isEmpty() ? ReportControlKind::Label
                                                     : ReportControlKind::TextBox;
    return {.name = QString::fromLatin1(name),
            .kind = kind,
            .left = left,
            .top = top,
            .width = width,
            .height = height,
            .caption = caption,
            .field = field,
            .expandsPlaceholders = caption.contains(QLatin1Char('%')),
            .font = {}};
}

// A report with round numbers: on A4 landscape (11905.5 twips high) with margins of
// 1000 the first page has room for 8405.5 twips of detail under its two headers, the
// others for 8905.5: eight 1000-twip bands on every page.
ReportDefinition testReport()
{
    ReportDefinition report;
    report.name = QStringLiteral("Prova");
    report.defaultFont = arial10;
    report.page = {
        .topMargin = 1000, .bottomMargin = 1000, .leftMargin = 500, .reportWidth = 10000};
    auto section = [&report](ReportSectionKind kind, int height, QList<ReportControl> controls) {
        report.section(kind).height = height;
        report.section(kind).controls = controls;
    };
    section(ReportSectionKind::ReportHeader, 500, {control("Titolo", 0, 0, 5000, "Titolo")});
    section(ReportSectionKind::PageHeader, 400,
            {control("Testata", 0, 0, 5000, "Intestazione %P")});
    // Under the name, beside it, and under "Sotto" only: moved by what moves above it; a
    // line along the name's top stays there. "Fisso" prints the name too, in a box that
    // cannot grow.
    ReportControl name = control("Nome", 0, 0, 3000, {}, "nome");
    name.canGrow = true;
    section(
        ReportSectionKind::Detail, 1000,
        {name, control("Bordo", 0, 0, 10000, {}, {}, 0), control("Sotto", 2500, 400, 1000, "sotto"),
         control("Accanto", 5000, 400, 1000, "accanto"),
         control("Catena", 3200, 700, 1000, "catena"), control("Fisso", 6500, 0, 1200, {}, "nome"),
         control("Riga", 0, 900, 10000, {}, {}, 0)});
    section(ReportSectionKind::PageFooter, 600, {control("Pagine", 0, 0, 3000, "Pagina %P di %p")});
    section(ReportSectionKind::ReportFooter, 500, {control("Fine", 0, 0, 5000, "Stampato il  %D")});
    return report;
}

// Rows with "RIGA 0 %P", "RIGA 1 %P", ... in the field "Nome" (data, never a page
// number); the row `tall` has two lines more.
QList<QVariantHash> names(int count, int tall = -1)
{
    QList<QVariantHash> rows;
    for (int i = 0; i < count; ++i)
        rows.append(
            {{"Nome", QStringLiteral("RIGA %1 %P%2").arg(i).arg(i == tall ? "\n-\n-" : "")}});
    return rows;
}

ReportDocument layOut(const ReportDefinition &definition, const QList<QVariantHash> &rows)
{
    ListReportRows source(rows);
    return buildReportDocument(definition, source, {.printDate = printDate});
}

// Words enough for several lines in any box of a report.
QString longText(int words)
{
    QStringList list;
    for (int i = 0; i < words; ++i)
        list.append(QStringLiteral("parola%1").arg(i));
    return list.join(QLatin1Char(' '));
}

QList<int> detailCounts(const ReportDocument &document)
{
    QList<int> counts;
    for (const ReportPage &page : document.pages)
        counts.append(page.bandCount(ReportSectionKind::Detail));
    return counts;
}

} // namespace

class TestReports : public PromptedTest
{
    Q_OBJECT

private slots:
    void valuesAsText_data();
    void valuesAsText();
    void lineBreaks_data();
    void lineBreaks();
    void bandsPerPage_data();
    void bandsPerPage();
    void grownBandMovesWhatFollows();
    void veryLongNoteIsSplitOverPages();
    void threeReports_data();
    void threeReports();
    void painterScalesTwipsToDevice();
    void streamedPdfIsTheWholeReport();
    void unfinishedExportLeavesWhatWasThere_data();
    void unfinishedExportLeavesWhatWasThere();
    void previewShowsEveryPageAndCancelledExportWritesNothing();
};

// clang-format off
void TestReports::valuesAsText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<ReportValueFormat>("format");
    QTest::addColumn<QString>("text");
    const auto text = ReportValueFormat::Text, date = ReportValueFormat::Date;
    QTest::newRow("NULL text column") << QVariant(QMetaType::fromType<QString>()) << date << "";
    QTest::newRow("NULL number column") << QVariant(QMetaType::fromType<qlonglong>()) << text << "";
    QTest::newRow("date and time value") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(10, 30))) << text << "05/03/2024";
    QTest::newRow("ISO text in a date box") << QVariant("2024-03-05") << date << "05/03/2024";
    QTest::newRow("ISO text in a text box") << QVariant("2024-03-05") << text << "2024-03-05";
    QTest::newRow("other text in a date box") << QVariant("domani") << date << "domani";
    QTest::newRow("integer") << QVariant(qlonglong(1234567)) << text << "1234567";
    QTest::newRow("decimal") << QVariant(1234.5) << text << "1234,5";
}
// clang-format on

void TestReports::valuesAsText()
{
    QFETCH(QVariant, value);
    QFETCH(ReportValueFormat, format);
    QTEST(formatReportValue(value, format), "text");
}

// clang-format off
void TestReports::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines"); // when empty: several, making the text again
    QTest::newRow("line feed") << "A\nB" << QStringList{"A", "B"};
    QTest::newRow("CR LF and a last Enter") << "A\r\nB\r\n" << QStringList{"A", "B"};
    QTest::newRow("empty line between") << "A\n\nB" << QStringList{"A", "", "B"};
    QTest::newRow("word wider than the box") << QString(80, 'W') << QStringList();
}
// clang-format on

void TestReports::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    ReportTextMeasurer measurer(1200);
    const QStringList broken = measurer.wrap(arial10, text, 1000);
    QCOMPARE(lines.isEmpty() ? broken.join(QString()) : broken.join('|'),
             lines.isEmpty() ? text : lines.join('|'));
    QVERIFY(broken.size() > 1);
    for (const QString &line : broken)
        QVERIFY(measurer.width(arial10, line) <= 1000.5);
}

// clang-format off
void TestReports::bandsPerPage_data()
{
    QTest::addColumn<QList<QVariantHash>>("rows");
    QTest::addColumn<QList<int>>("details");
    QTest::newRow("no rows") << names(0) << QList<int>{0};
    QTest::newRow("seven rows, footer fits") << names(7) << QList<int>{7};
    // 8 bands leave 405.5 twips on the first page: the 500-twip report footer goes over.
    QTest::newRow("eight rows, footer overleaf") << names(8) << QList<int>{8, 0};
    QTest::newRow("seventeen rows") << names(17) << QList<int>{8, 8, 1};
    QTest::newRow("a taller row, the eighth overleaf") << names(8, 3) << QList<int>{7, 1};
}
// clang-format on

void TestReports::bandsPerPage()
{
    QFETCH(QList<QVariantHash>, rows);
    const ReportDocument document = layOut(testReport(), rows);
    QTEST(detailCounts(document), "details");
    QStringList values;
    for (const QVariantHash &row : rows)
        values.append(row.value("Nome").toString());
    QCOMPARE(document.texts("Nome"), values);
    QCOMPARE(document.texts("Titolo") + document.texts("Fine"),
             (QStringList{"Titolo", "Stampato il  " + toLongDate(printDate)}));
    QCOMPARE(document.pages.constLast().bandCount(ReportSectionKind::ReportFooter), 1);
    for (const ReportPage &page : document.pages) {
        QCOMPARE(page.find("Testata")->text(), QString("Intestazione %1").arg(page.number));
        QCOMPARE(page.find("Pagine")->text(),
                 QString("Pagina %1 di %2").arg(page.number).arg(document.pageCount()));
    }
}

void TestReports::grownBandMovesWhatFollows()
{
    ReportTextMeasurer measurer(ReportLayoutOptions().resolution);
    const QString text = longText(20);
    // A value a little wider than the box that cannot grow is squeezed onto its one line.
    QString slightlyWide = QString("0123456789");
    while (measurer.width(arial10, slightlyWide) < 1250)
        slightlyWide += QLatin1Char('0');
    const ReportDocument document =
        layOut(testReport(), {{{"nome", text}}, {{"nome", slightlyWide}}});
    const int lineCount = int(measurer.wrap(arial10, text, 3000).size());
    QVERIFY2(lineCount >= 3, "the sample must need several lines");
    const qreal growth = (lineCount - 1) * measurer.lineHeight(arial10);

    const ReportPage &page = document.pages.at(0);
    QCOMPARE(page.find("Nome", 0)->lines.join(' '), text);
    QCOMPARE(page.find("Fisso", 0)->lines, measurer.wrap(arial10, text, 1200).mid(0, 1));
    QCOMPARE(page.find("Fisso", 1)->lines, QStringList{slightlyWide});
    // The grown box and the fixed one; under the grown box or under what it moved: moved by
    // the growth, beside: left alone; the next band starts where the grown one ends and has
    // its own height.
    QList<qreal> placed = {page.find("Nome", 0)->rect.height(),
                           page.find("Fisso", 0)->rect.height()};
    for (const char *name : {"Bordo", "Sotto", "Catena", "Accanto", "Riga"})
        placed << page.find(name, 0)->rect.top();
    // Report header, page header, then the rows.
    placed << page.bands.at(2).height << page.bands.at(3).top << page.bands.at(3).height;
    QCOMPARE(placed, (QList<qreal>{300 + growth, 300, 1900, 1900 + 400 + growth,
                                   1900 + 700 + growth, 1900 + 400, 1900 + 900 + growth,
                                   1000 + growth, 1900 + 1000 + growth, 1000}));
}

void TestReports::veryLongNoteIsSplitOverPages()
{
    // A megabyte of words in one paragraph: too long for the quick one-line check.
    const QString note = longText(90000);
    const ReportDocument document =
        layOut(createAnagrafe(),
               {{{"ID", 1}}, {{"ID", 2}, {"Annotazione", note}}, {{"Soggetto", "DOPO"}}});
    QVERIFY(document.pageCount() > 100);

    ReportTextMeasurer measurer(ReportLayoutOptions().resolution);
    const ReportFont narrow{.face = QStringLiteral("Arial Narrow")};
    const qreal bodyBottom = sheetSizeInTwips(document.pageLayout).height() - 800 - 195;
    QStringList printed;
    qreal noteBottom = 0;
    for (const ReportPage &page : document.pages) {
        for (const ReportItem &item : page.items) {
            if (item.controlName != QLatin1String("TextBox13") || item.lines.isEmpty())
                continue;
            for (const QString &line : item.lines)
                QVERIFY2(measurer.width(narrow, line) <= 6236.5, qPrintable(line.left(80)));
            noteBottom = item.rect.top() + item.lines.size() * item.lineHeight;
            QVERIFY(noteBottom <= bodyBottom + 0.5);
            printed += item.lines;
        }
        for (const ReportBand &band : page.bands)
            QVERIFY(band.section != ReportSectionKind::Detail ||
                    band.top + band.height <= bodyBottom + 0.5);
    }
    QCOMPARE(printed.join(QLatin1Char(' ')), note);
    // It starts under the row before it, goes on overleaf, and the next row follows it.
    QCOMPARE(detailCounts(document).constFirst(), 2);
    QVERIFY(document.pages.at(1).bands.at(1).continued);
    const ReportBand &next = document.pages.constLast().bands.at(2);
    QVERIFY(next.row == 2 && next.top >= noteBottom);
    QCOMPARE(document.texts("TextBox5").constLast(), QString("DOPO"));
}

// Every field of a row has its own value: the column's first three letters and the row's
// number, dates a day later a row.
// clang-format off
void TestReports::threeReports_data()
{
    QTest::addColumn<ReportDefinition>("definition");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QList<int>>("details");
    // "page control left,top text" of items that must be placed so, "|" between them.
    QTest::addColumn<QString>("items");
    QTest::newRow("Anagrafe") << createAnagrafe() << 25 << QList<int>{10, 11, 4}
        << "1 Label3 4369,0 Elenco Anagrafica|1 Label10 8904,510 Città|1 Label5 13439,510 Codice Ficale|1 Line1 400,860 |1 TextBox3 400,1875 2|1 TextBox5 967,1875 SOG2|1 TextBox6 4935,1875 IND2|1 TextBox8 8904,1875 COM2|1 TextBox4 11739,1875 CAP2|1 TextBox7 12872,1875 PR2|1 TextBox2 13439,1875 COD2|1 TextBox9 15140,1875 PAR2|1 TextBox12 6069,2175 UTE2|1 TextBox1 7203,2175 EMA2|1 TextBox10 12872,2175 TEL2|1 TextBox11 14573,2175 CEL2|1 TextBox14 5502,2442 FAX2|1 TextBox15 7203,2442 PWD2|1 TextBox13 10038,2442 ANN2|1 Line2 400,2775 |2 TextBox5 967,435 SOG11|3 Label15 400,4155 Pagina 3 di 3|3 Label14 12872,4155 Stampato il  DATE";
    QTest::newRow("Scheda") << createScheda() << 45 << QList<int>{19, 21, 5}
        << "1 Label3 1000,600 Quorvalia |1 Label36 2701,600 Utente :|1 Label2 3835,600 ROSSI %P|1 Label9 11205,1020 N_DOC|1 TextBox3 1000,1755 2|1 TextBox1 1567,1755 02/01/2024|1 TextBox4 2701,1755 02/06/2024|1 TextBox2 3835,1755 OGG2|1 TextBox5 11205,1755 NDO2|1 TextBox7 11772,1755 02/12/2024|2 TextBox2 3835,1035 OGG20|2 Label14 1000,10802.5 Pagina 2 di 3|3 Label16 6669,10802.5 Stampato il  DATE|3 Line3 1000,2535 ";
    QTest::newRow("SchedaUtenti") << createSchedaUtenti() << 2 << QList<int>{2}
        << "1 Label3 1000,600 Quorvalia per Utenti|1 Label8 2701,1020 Soggetto|1 TextBox3 1000,1770 2|1 TextBox4 1567,1770 02/06/2024|1 TextBox2 2701,1770 SOG2|1 TextBox5 7803,1770 OGG2|1 Line3 1000,2130 |1 Label14 1000,10802.5 Pagina 1 di 1";
}
// clang-format on

void TestReports::threeReports()
{
    QFETCH(ReportDefinition, definition);
    QFETCH(int, rowCount);
    QFETCH(QString, items);
    QCOMPARE(definition.name, QLatin1String(QTest::currentDataTag()));
    // The card prints its user's name as it is.
    if (definition.name == QLatin1String("Scheda"))
        definition.sectionAt(1)->control("Label2")->setCaption(QString("ROSSI %P"));
    QList<QVariantHash> rows;
    for (int i = 1; i <= rowCount; ++i) {
        QVariantHash row{{"ID", i}};
        for (const char *field :
             {"Soggetto", "Indirizzo", "Comune", "CAP", "PR", "Codice", "Partita", "Utente",
              "Annotazione", "email", "Telefono", "Cell", "Fax", "pwd", "Oggetto", "NDOC"})
            row.insert(field, QString::fromLatin1(field).left(3).toUpper() + QString::number(i));
        for (const auto &[field, month] : {std::pair{"Data", 1}, {"Scadenza", 6}, {"Agg", 12}})
            row.insert(field, QDate(2024, month, 1).addDays(i - 1).toString(Qt::ISODate));
        rows.append(row);
    }
    const ReportDocument document = layOut(definition, rows);
    QTEST(detailCounts(document), "details");
    QStringList placed;
    for (const ReportPage &page : document.pages)
        for (const ReportItem &item : page.items)
            placed << QString("%1 %2 %3,%4 %5")
                          .arg(QString::number(page.number), item.controlName,
                               QString::number(item.rect.left()), QString::number(item.rect.top()),
                               item.text());
    for (const QString &item : items.replace("DATE", toLongDate(printDate)).split('|'))
        QVERIFY2(placed.contains(item), qPrintable(item));
}

void TestReports::painterScalesTwipsToDevice()
{
    // A rule one inch in and one inch long; a text far too wide for its half-inch box at
    // two inches down, squeezed into it.
    ReportPage page;
    page.items.resize(2);
    page.items[0].kind = ReportItemKind::Line;
    page.items[0].rect = QRectF(1440, 1440, 1440, 0);
    page.items[1].rect = QRectF(720, 2 * 1440, 720, 300);
    page.items[1].font = arial10;
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
    QVERIFY2(ink[0] >= 90 && ink[1] > 40 && ink[2] == 0,
             qPrintable(QString("%1 %2 %3").arg(ink[0]).arg(ink[1]).arg(ink[2])));
}

// The pages of a streamed export wait in a file for the page count: they come back
// whole, and print as the same report laid out in memory.
void TestReports::streamedPdfIsTheWholeReport()
{
    // Every kind of item: texts centred or not, in several fonts, rules, a note split
    // over pages, "%p" on the last page.
    QList<QVariantHash> rows;
    for (int i = 0; i < 40; ++i)
        rows.append({{"ID", i}, {"CAP", "20100"}, {"Annotazione", i == 4 ? longText(2000) : ""}});
    ListReportRows source(rows);
    const ReportDocument document = buildReportDocument(createAnagrafe(), source);
    QTemporaryDir dir;
    const Check whole = writeReportPdf(document, dir.filePath("whole.pdf"));
    QVERIFY2(whole.ok(), qPrintable(whole.problem));
    const Check streamed = writeReportPdfStreamed(
        createAnagrafe(),
        [&] {
            return Outcome<std::unique_ptr<ReportRows>>{std::make_unique<ListReportRows>(rows), {}};
        },
        dir.filePath("streamed.pdf"));
    QVERIFY2(streamed.ok(), qPrintable(streamed.problem));
    for (const char *pdf : {"whole", "streamed"})
        QProcess::execute(
            "pdftoppm",
            {"-r", "20", "-gray", dir.filePath(QLatin1String(pdf) + ".pdf"), dir.filePath(pdf)});
    const QStringList images = QDir(dir.path()).entryList({"whole-*.pgm"});
    QVERIFY(document.pageCount() > 3);
    QCOMPARE(images.size(), document.pageCount());
    for (const QString &image : images) {
        const QImage page(dir.filePath(image));
        QCOMPARE(page.size(), QSize(234, 166)); // A4 across, at 20 dots an inch
        QCOMPARE(QImage(dir.filePath(QString(image).replace("whole", "streamed"))), page);
    }
}

// clang-format off
void TestReports::unfinishedExportLeavesWhatWasThere_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("pagesWritten");
    QTest::newRow("stopped after two pages") << "report.pdf" << 2;
    QTest::newRow("into no folder") << "manca/report.pdf" << 0;
}
// clang-format on

void TestReports::unfinishedExportLeavesWhatWasThere()
{
    QFETCH(QString, file);
    QFETCH(int, pagesWritten);
    QTemporaryDir dir;
    const QString old = dir.filePath(QString("report.pdf"));
    QVERIFY(writeFile(old, "earlier export"));
    const QByteArray before = fileSha256(old);
    int calls = 0;
    const Check written = writeReportPdf(layOut(testReport(), names(17)), dir.filePath(file),
                                         [&calls](int page, int) { return ++calls, page < 2; });
    QVERIFY(!written.ok() && calls == pagesWritten);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});
    QCOMPARE(fileSha256(old), before);
}

// The export that the operator stops writes nothing and tells nothing.
void TestReports::previewShowsEveryPageAndCancelledExportWritesNothing()
{
    ReportDocument document = layOut(testReport(), names(17));
    std::unique_ptr<QPrintPreviewDialog> dialog = createReportPreview(document, nullptr);
    QVERIFY((dialog->windowState() & Qt::WindowMaximized) && dialog->printer()->fullPage() &&
            dialog->printer()->pageLayout().orientation() == QPageLayout::Landscape);
    auto *preview = dialog->findChild<QPrintPreviewWidget *>();
    preview->updatePreview();
    QCOMPARE(preview->pageCount(), 3);
    // The preview draws the caller's document: made long enough for the export's progress
    // to show well before it ends.
    while (document.pageCount() < 20000)
        document.pages += document.pages;
    QTemporaryDir dir;
    const QString path = dir.filePath(QString("annullato.pdf"));
    bool clicked = false;
    // The operator names the file, then clicks "Annulla" as soon as the progress shows.
    QTimer hand;
    QObject::connect(&hand, &QTimer::timeout, [&] {
        if (auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            files->selectFile(path);
            static_cast<QDialog *>(files)->accept();
        } else if (auto *progress = dialog->findChild<QProgressDialog *>();
                   !clicked && progress && progress->isVisible()) {
            auto *cancel = progress->findChild<QPushButton *>();
            QTest::mouseClick(cancel, Qt::LeftButton);
            clicked = cancel->text() == "Annulla";
        }
    });
    hand.start(0);
    dialog->findChild<QAction *>(QString("exportPdf"))->trigger();
    hand.stop();
    QVERIFY2(clicked, "the export ended before its progress showed");
    QVERIFY(QDir(dir.path()).isEmpty() && m_prompt->shown().isEmpty());
}

TAVELO_TEST_MAIN(TestReports)
#include "tst_reports.moc"
