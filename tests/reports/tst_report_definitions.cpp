// SPDX-License-Identifier: GPL-3.0-or-later
// The three reports of the program, laid out.
#include "report_fixtures.h"

#include "core/dates.h"
#include "reports/report_definitions.h"
#include "reports/report_text_measurer.h"

#include <QLocale>
#include <QRect>
#include <QTest>

namespace {

enum Kind { Label, TextBox, Line };
enum Mark { NoMark = 0, Grow = 1, Centre = 2 };

ReportDefinition definitionNamed(const QString &name)
{
    if (name == QLatin1String("Anagrafe"))
        return createAnagrafe();
    if (name == QLatin1String("Scheda"))
        return createScheda();
    return createSchedaUtenti();
}

const ReportSection *sectionNamed(const ReportDefinition &report, const QString &name)
{
    for (const ReportSection &section : report.sections) {
        if (section.name == name)
            return &section;
    }
    return nullptr;
}

// One control of a report as the designs list it: section, name, kind, left, top,
// width, height, caption or field, marks, font (face, size, attributes).
void row(const char *report, const char *section, const char *name, Kind kind, int left, int top,
         int width, int height, const char *text, int marks, const char *face, qreal size,
         const char *style)
{
    QTest::addRow("%s %s %s", report, section, name)
        << QString::fromLatin1(report) << QString::fromLatin1(section) << QString::fromLatin1(name)
        << int(kind) << QRect(left, top, width, height) << QString::fromUtf8(text)
        << bool(marks & Grow) << bool(marks & Centre) << QString::fromLatin1(face) << size
        << QString::fromLatin1(style);
}

// The sections of a report in print order, each with its height and its controls in
// the order the designs list them.
struct SectionShape
{
    const char *name;
    int height;
    QStringList controls;
};

} // namespace

class TestReportDefinitions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyControlAsDesigned_data();
    void everyControlAsDesigned();
    void sectionsAsDesigned_data();
    void sectionsAsDesigned();
    void pageSettingsAsDesigned_data();
    void pageSettingsAsDesigned();
    void anagrafeLayout();
    void anagrafeGrowingNotePushesNextSubject();
    void schedaLayout();
    void schedaUtentiLayout();
};

void TestReportDefinitions::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestReportDefinitions::everyControlAsDesigned_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("grow");
    QTest::addColumn<bool>("centre");
    QTest::addColumn<QString>("face");
    QTest::addColumn<qreal>("size");
    QTest::addColumn<QString>("style");

    row("Anagrafe", "Section4", "Label3", Label, 3969, 0, 7950, 300, "Elenco Anagrafica", Centre,
        "Arial", 9.75, "bold underline");
    row("Anagrafe", "Section2", "Label22", Label, 0, 0, 567, 300, "ID", NoMark, "Arial", 8.25,
        "bold");
    row("Anagrafe", "Section2", "Label10", Label, 8504, 0, 2835, 300, "Città", NoMark, "Arial",
        8.25, "bold");
    row("Anagrafe", "Section2", "Label12", Label, 11339, 0, 1140, 300, "C.A.P.", Centre, "Arial",
        8.25, "bold");
    row("Anagrafe", "Section2", "Label18", Label, 4535, 0, 3975, 300, "Indirizzo", NoMark, "Arial",
        8.25, "bold");
    row("Anagrafe", "Section2", "Label2", Label, 12472, 0, 570, 300, "PR", Centre, "Arial", 8.25,
        "bold");
    row("Anagrafe", "Section2", "Label4", Label, 567, 0, 3960, 300, "Soggetto", NoMark, "Arial",
        8.25, "bold");
    row("Anagrafe", "Section2", "Label5", Label, 13039, 0, 1695, 300, "Codice Ficale", Centre,
        "Arial", 8.25, "bold");
    row("Anagrafe", "Section2", "Label11", Label, 14740, 0, 1140, 300, "Partita IVA", Centre,
        "Arial", 8.25, "bold");
    row("Anagrafe", "Section2", "Line1", Line, 0, 350, 15874, 0, "", NoMark, "", 0, "");
    row("Anagrafe", "Section1", "TextBox4", TextBox, 11339, 0, 1125, 315, "CAP", Centre,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox8", TextBox, 8504, 0, 2835, 315, "comune", Grow,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox2", TextBox, 13039, 0, 1695, 315, "Codice", Centre,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox5", TextBox, 567, 0, 3968, 330, "soggetto", Grow,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox3", TextBox, 0, 0, 567, 330, "ID", NoMark, "Arial Narrow",
        8.25, "bold");
    row("Anagrafe", "Section1", "Label16", Label, 4535, 300, 1134, 300, "Utente", NoMark, "Arial",
        8.25, "bold");
    row("Anagrafe", "Section1", "TextBox6", TextBox, 4535, 0, 3975, 330, "Indirizzo", Grow,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox7", TextBox, 12472, 0, 570, 330, "PR", Centre,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox9", TextBox, 14740, 0, 1140, 315, "partita", Centre,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox12", TextBox, 5669, 300, 567, 330, "Utente", NoMark,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox13", TextBox, 9638, 567, 6236, 330, "annotazione", Grow,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "Label17", Label, 8504, 567, 1140, 300, "Note", NoMark, "Arial",
        8.25, "bold");
    row("Anagrafe", "Section1", "Line2", Line, 0, 900, 15870, 0, "", NoMark, "", 0, "");
    row("Anagrafe", "Section1", "Label7", Label, 6236, 300, 500, 300, "Email", NoMark, "Arial",
        8.25, "bold");
    row("Anagrafe", "Section1", "TextBox1", TextBox, 6803, 300, 4530, 300, "email", NoMark,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "Label8", Label, 11339, 300, 1140, 300, "Tel/Cell", Centre, "Arial",
        8.25, "bold");
    row("Anagrafe", "Section1", "TextBox10", TextBox, 12472, 300, 1710, 300, "Telefono", NoMark,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox11", TextBox, 14173, 300, 1710, 300, "cell", NoMark,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "TextBox14", TextBox, 5102, 567, 1134, 300, "fax", NoMark,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "Label9", Label, 4535, 567, 570, 300, "Fax", NoMark, "Arial", 8.25,
        "bold");
    row("Anagrafe", "Section1", "TextBox15", TextBox, 6803, 567, 1710, 300, "pwd", NoMark,
        "Arial Narrow", 8.25, "");
    row("Anagrafe", "Section1", "Label13", Label, 6236, 567, 570, 300, "pwd", NoMark, "Arial", 8.25,
        "bold");
    row("Anagrafe", "Section5", "Label14", Label, 12472, 0, 3405, 300, "Stampato il  %D", Centre,
        "Arial", 8.25, "italic");
    row("Anagrafe", "Section5", "Label15", Label, 0, 0, 2265, 300, "Pagina %P di %p", NoMark,
        "Arial", 9, "bold");
    row("Scheda", "Section4", "Label36", Label, 1701, 0, 795, 300, "Utente :", NoMark, "Arial", 9,
        "bold italic");
    row("Scheda", "Section4", "Label2", Label, 2835, 0, 4965, 300, "Utente", NoMark, "Arial", 9,
        "bold italic");
    row("Scheda", "Section4", "Label3", Label, 0, 0, 1701, 300, "Quorvalia ", NoMark, "Arial", 9,
        "bold italic");
    row("Scheda", "Section4", "Line2", Line, 0, 352, 11906, 0, "", NoMark, "", 0, "");
    row("Scheda", "Section2", "Label5", Label, 0, 0, 567, 300, "ID", NoMark, "Arial", 9,
        "bold italic");
    row("Scheda", "Section2", "Label8", Label, 2835, 0, 7370, 300, "Descrizione", NoMark, "Arial",
        9, "bold italic");
    row("Scheda", "Section2", "Label9", Label, 10205, 0, 600, 300, "N_DOC", NoMark, "Arial", 8.25,
        "bold italic");
    row("Scheda", "Section2", "Line1", Line, 0, 350, 11906, 0, "", NoMark, "", 0, "");
    row("Scheda", "Section2", "Label15", Label, 10772, 0, 1140, 300, "Agg", Centre, "Arial", 9,
        "bold italic");
    row("Scheda", "Section2", "Label6", Label, 567, 0, 1125, 300, "Data", NoMark, "Arial", 9,
        "bold italic");
    row("Scheda", "Section2", "Label1", Label, 1701, 0, 1125, 300, "Scadenza", NoMark, "Arial", 9,
        "bold italic");
    row("Scheda", "Section1", "TextBox1", TextBox, 567, 0, 1125, 300, "Data", NoMark,
        "@Arial Unicode MS", 9, "italic");
    row("Scheda", "Section1", "TextBox2", TextBox, 2835, 0, 7370, 300, "oggetto", Grow,
        "@Arial Unicode MS", 9, "italic");
    row("Scheda", "Section1", "TextBox3", TextBox, 0, 0, 570, 300, "ID", NoMark,
        "@Arial Unicode MS", 9, "italic");
    row("Scheda", "Section1", "TextBox4", TextBox, 1701, 0, 1125, 300, "Scadenza", NoMark,
        "@Arial Unicode MS", 9, "bold italic");
    row("Scheda", "Section1", "TextBox5", TextBox, 10205, 0, 570, 300, "NDOC", Centre,
        "@Arial Unicode MS", 9, "italic");
    row("Scheda", "Section1", "TextBox7", TextBox, 10772, 0, 1125, 300, "Agg", Centre,
        "@Arial Unicode MS", 9, "italic");
    row("Scheda", "Section3", "Label16", Label, 5669, 3402, 3405, 300, "Stampato il  %D", Centre,
        "Arial", 8.25, "italic");
    row("Scheda", "Section3", "Label14", Label, 0, 3402, 2265, 300, "Pagina %P di %p", NoMark,
        "Arial", 9, "bold italic");
    row("Scheda", "Section5", "Line3", Line, 0, 0, 11906, 0, "", NoMark, "", 0, "");
    row("SchedaUtenti", "Section4", "Label3", Label, 0, 0, 3402, 300, "Quorvalia per Utenti",
        NoMark, "Arial", 11.25, "bold italic");
    row("SchedaUtenti", "Section4", "Line2", Line, 0, 352, 11906, 0, "", NoMark, "", 0, "");
    row("SchedaUtenti", "Section2", "Label5", Label, 0, 0, 567, 300, "ID", NoMark, "Arial", 9,
        "bold");
    row("SchedaUtenti", "Section2", "Label8", Label, 1701, 0, 5102, 300, "Soggetto", Grow, "Arial",
        9, "bold");
    row("SchedaUtenti", "Section2", "Label9", Label, 6803, 0, 5103, 300, "Descrizione", Grow,
        "Arial", 8.25, "bold");
    row("SchedaUtenti", "Section2", "Line1", Line, 0, 350, 11906, 0, "", NoMark, "", 0, "");
    row("SchedaUtenti", "Section2", "Label1", Label, 567, 0, 1125, 300, "Scadenza", NoMark, "Arial",
        9, "bold");
    row("SchedaUtenti", "Section1", "TextBox2", TextBox, 1701, 0, 5115, 300, "Soggetto", Grow,
        "@Arial Unicode MS", 9, "");
    row("SchedaUtenti", "Section1", "TextBox3", TextBox, 0, 0, 570, 300, "ID", NoMark,
        "@Arial Unicode MS", 9, "");
    row("SchedaUtenti", "Section1", "TextBox4", TextBox, 567, 0, 1125, 300, "Scadenza", NoMark,
        "@Arial Unicode MS", 9, "");
    row("SchedaUtenti", "Section1", "TextBox5", TextBox, 6803, 0, 5103, 300, "Oggetto", Grow,
        "@Arial Unicode MS", 9, "");
    row("SchedaUtenti", "Section3", "Label16", Label, 5669, 3402, 3405, 300, "Stampato il  %D",
        Centre, "Arial", 8.25, "italic");
    row("SchedaUtenti", "Section3", "Label14", Label, 0, 3402, 2265, 300, "Pagina %P di %p", NoMark,
        "Arial", 9, "bold");
    row("SchedaUtenti", "Section5", "Line3", Line, 0, 0, 11906, 0, "", NoMark, "", 0, "");
}

void TestReportDefinitions::everyControlAsDesigned()
{
    QFETCH(QString, report);
    QFETCH(QString, section);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, grow);
    QFETCH(bool, centre);
    QFETCH(QString, face);
    QFETCH(qreal, size);
    QFETCH(QString, style);

    const ReportDefinition definition = definitionNamed(report);
    QCOMPARE(definition.name, report);
    const ReportSection *holder = sectionNamed(definition, section);
    QVERIFY(holder);
    const ReportControl *control = holder->control(name);
    QVERIFY2(control, "no such control in that section");
    const ReportControlKind kinds[] = {ReportControlKind::Label, ReportControlKind::TextBox,
                                       ReportControlKind::Line};
    QCOMPARE(control->kind, kinds[kind]);
    QCOMPARE(QRect(control->left, control->top, control->width, control->height), geometry);
    QCOMPARE(control->canGrow, grow);
    QCOMPARE(control->alignment, centre ? Qt::AlignHCenter : Qt::AlignLeft);
    if (control->kind == ReportControlKind::Line)
        return;
    if (control->kind == ReportControlKind::Label) {
        QCOMPARE(control->caption, text);
        QVERIFY(control->field.isEmpty());
        QCOMPARE(control->expandsPlaceholders, text.contains(QLatin1Char('%')));
    } else {
        QCOMPARE(control->field, text);
        QVERIFY(control->caption.isEmpty());
    }
    const ReportFont font = definition.fontOf(*control);
    QCOMPARE(font.face, face);
    QCOMPARE(font.pointSize, size);
    const QStringList attributes = style.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QCOMPARE(font.bold, attributes.contains(QLatin1String("bold")));
    QCOMPARE(font.italic, attributes.contains(QLatin1String("italic")));
    QCOMPARE(font.underline, attributes.contains(QLatin1String("underline")));
}

void TestReportDefinitions::sectionsAsDesigned_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QList<int>>("heights");
    QTest::addColumn<QList<QStringList>>("controls");

    auto add = [](const char *report, const QList<SectionShape> &sections) {
        QList<int> heights;
        QList<QStringList> controls;
        for (const SectionShape &section : sections) {
            heights.append(section.height);
            controls.append(section.controls);
        }
        QTest::newRow(report) << QString::fromLatin1(report) << heights << controls;
    };
    add("Anagrafe",
        {{"Section4", 510, {"Label3"}},
         {"Section2",
          435,
          {"Label22", "Label10", "Label12", "Label18", "Label2", "Label4", "Label5", "Label11",
           "Line1"}},
         {"Section1", 930, {"TextBox4",  "TextBox8",  "TextBox2",  "TextBox5",  "TextBox3",
                            "Label16",   "TextBox6",  "TextBox7",  "TextBox9",  "TextBox12",
                            "TextBox13", "Label17",   "Line2",     "Label7",    "TextBox1",
                            "Label8",    "TextBox10", "TextBox11", "TextBox14", "Label9",
                            "TextBox15", "Label13"}},
         {"Section3", 195, {}},
         {"Section5", 360, {"Label14", "Label15"}}});
    add("Scheda",
        {{"Section4", 420, {"Label36", "Label2", "Label3", "Line2"}},
         {"Section2", 435, {"Label5", "Label8", "Label9", "Line1", "Label15", "Label6", "Label1"}},
         {"Section1",
          300,
          {"TextBox1", "TextBox2", "TextBox3", "TextBox4", "TextBox5", "TextBox7"}},
         {"Section3", 3705, {"Label16", "Label14"}},
         {"Section5", 50, {"Line3"}}});
    add("SchedaUtenti", {{"Section4", 420, {"Label3", "Line2"}},
                         {"Section2", 390, {"Label5", "Label8", "Label9", "Line1", "Label1"}},
                         {"Section1", 360, {"TextBox2", "TextBox3", "TextBox4", "TextBox5"}},
                         {"Section3", 3705, {"Label16", "Label14"}},
                         {"Section5", 50, {"Line3"}}});
}

void TestReportDefinitions::sectionsAsDesigned()
{
    QFETCH(QString, report);
    QFETCH(QList<int>, heights);
    QFETCH(QList<QStringList>, controls);
    const ReportDefinition definition = definitionNamed(report);
    const QStringList sectionNames{"Section4", "Section2", "Section1", "Section3", "Section5"};
    const ReportSectionKind kinds[] = {
        ReportSectionKind::ReportHeader, ReportSectionKind::PageHeader, ReportSectionKind::Detail,
        ReportSectionKind::PageFooter, ReportSectionKind::ReportFooter};
    for (int i = 0; i < ReportDefinition::sectionCount; ++i) {
        const ReportSection &section = definition.sections.at(i);
        QCOMPARE(section.name, sectionNames.at(i));
        QCOMPARE(section.kind, kinds[i]);
        QCOMPARE(section.height, heights.at(i));
        QStringList names;
        for (const ReportControl &control : section.controls)
            names.append(control.name);
        QCOMPARE(names, controls.at(i));
    }
}

void TestReportDefinitions::pageSettingsAsDesigned_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QList<int>>("measures"); // top, bottom, left, right, report width
    QTest::addColumn<qreal>("defaultSize");
    QTest::newRow("Anagrafe") << "Anagrafe" << QList<int>{0, 800, 400, 0, 11340} << 8.0;
    QTest::newRow("Scheda") << "Scheda" << QList<int>{600, 800, 1000, 0, 4000} << 7.0;
    QTest::newRow("SchedaUtenti") << "SchedaUtenti" << QList<int>{600, 800, 1000, 0, 4000} << 7.0;
}

void TestReportDefinitions::pageSettingsAsDesigned()
{
    QFETCH(QString, report);
    QFETCH(QList<int>, measures);
    QFETCH(qreal, defaultSize);
    const ReportDefinition definition = definitionNamed(report);
    const ReportPageSettings &page = definition.page;
    QCOMPARE((QList<int>{page.topMargin, page.bottomMargin, page.leftMargin, page.rightMargin,
                         page.reportWidth}),
             measures);
    QCOMPARE(page.orientation, QPageLayout::Landscape);
    QCOMPARE(page.paper, QPageSize::A4);
    QCOMPARE(definition.defaultFont.face, QStringLiteral("Arial"));
    QCOMPARE(definition.defaultFont.pointSize, defaultSize);
    QVERIFY(!definition.defaultFont.bold && !definition.defaultFont.italic);
}

void TestReportDefinitions::anagrafeLayout()
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

void TestReportDefinitions::anagrafeGrowingNotePushesNextSubject()
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

void TestReportDefinitions::schedaLayout()
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

void TestReportDefinitions::schedaUtentiLayout()
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

QTEST_MAIN(TestReportDefinitions)
#include "tst_report_definitions.moc"
