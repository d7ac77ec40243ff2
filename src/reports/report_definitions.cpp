// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_definitions.h"

// The layouts as tables, one control a line, in the order the designs list them:
// name, left, top, width, height, caption or field, marks, font.

namespace {

enum Mark { NoMark = 0, Grow = 1, Centre = 2, DateValue = 4 };
enum Style { Regular = 0, Bold = 1, Italic = 2, Underline = 4 };

ReportFont face(const char *name, qreal size, int style)
{
    ReportFont font;
    font.face = QString::fromLatin1(name);
    font.pointSize = size;
    font.bold = style & Bold;
    font.italic = style & Italic;
    font.underline = style & Underline;
    return font;
}

ReportFont arial(qreal size, int style = Regular)
{
    return face("Arial", size, style);
}

ReportFont arialNarrow(qreal size, int style = Regular)
{
    return face("Arial Narrow", size, style);
}

// The vertical-writing variant of Arial Unicode MS, as the detail lines of the two
// deadline reports name it.
ReportFont unicodeVertical(qreal size, int style = Regular)
{
    return face("@Arial Unicode MS", size, style);
}

ReportControl control(ReportControlKind kind, const char *name, int left, int top, int width,
                      int height, int marks, const ReportFont &font)
{
    ReportControl c;
    c.kind = kind;
    c.name = QString::fromLatin1(name);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.canGrow = marks & Grow;
    c.alignment = (marks & Centre) ? Qt::AlignHCenter : Qt::AlignLeft;
    c.format = (marks & DateValue) ? ReportValueFormat::Date : ReportValueFormat::Text;
    c.font = font;
    return c;
}

ReportControl label(const char *name, int left, int top, int width, int height, const char *caption,
                    int marks, const ReportFont &font)
{
    ReportControl c =
        control(ReportControlKind::Label, name, left, top, width, height, marks, font);
    c.caption = QString::fromUtf8(caption);
    c.expandsPlaceholders = c.caption.contains(QLatin1Char('%'));
    return c;
}

ReportControl textBox(const char *name, int left, int top, int width, int height, const char *field,
                      int marks, const ReportFont &font)
{
    ReportControl c =
        control(ReportControlKind::TextBox, name, left, top, width, height, marks, font);
    c.field = QString::fromLatin1(field);
    return c;
}

ReportControl line(const char *name, int left, int top, int width)
{
    ReportControl c;
    c.kind = ReportControlKind::Line;
    c.name = QString::fromLatin1(name);
    c.left = left;
    c.top = top;
    c.width = width;
    return c;
}

void setPage(ReportDefinition &report, int top, int bottom, int left, int right, int width)
{
    report.page.paper = QPageSize::A4;
    report.page.orientation = QPageLayout::Landscape;
    report.page.topMargin = top;
    report.page.bottomMargin = bottom;
    report.page.leftMargin = left;
    report.page.rightMargin = right;
    report.page.reportWidth = width;
}

void setHeights(ReportDefinition &report, int reportHeader, int pageHeader, int detail,
                int pageFooter, int reportFooter)
{
    report.section(ReportSectionKind::ReportHeader).height = reportHeader;
    report.section(ReportSectionKind::PageHeader).height = pageHeader;
    report.section(ReportSectionKind::Detail).height = detail;
    report.section(ReportSectionKind::PageFooter).height = pageFooter;
    report.section(ReportSectionKind::ReportFooter).height = reportFooter;
}

QList<ReportControl> &controlsOf(ReportDefinition &report, ReportSectionKind kind)
{
    return report.section(kind).controls;
}

// The page footer of both deadline reports: printing date and page label at its foot.
QList<ReportControl> deadlineFooter(int pageLabelStyle)
{
    return {
        label("Label16", 5669, 3402, 3405, 300, "Stampato il  %D", Centre, arial(8.25, Italic)),
        label("Label14", 0, 3402, 2265, 300, "Pagina %P di %p", NoMark, arial(9, pageLabelStyle)),
    };
}

} // namespace

ReportDefinition createAnagrafe()
{
    ReportDefinition report;
    report.name = QStringLiteral("Anagrafe");
    report.defaultFont = arial(8);
    setPage(report, 0, 800, 400, 0, 11340);
    setHeights(report, 510, 435, 930, 195, 360);

    controlsOf(report, ReportSectionKind::ReportHeader) = {
        label("Label3", 3969, 0, 7950, 300, "Elenco Anagrafica", Centre,
              arial(9.75, Bold | Underline)),
    };
    controlsOf(report, ReportSectionKind::PageHeader) = {
        label("Label22", 0, 0, 567, 300, "ID", NoMark, arial(8.25, Bold)),
        label("Label10", 8504, 0, 2835, 300, "Città", NoMark, arial(8.25, Bold)),
        label("Label12", 11339, 0, 1140, 300, "C.A.P.", Centre, arial(8.25, Bold)),
        label("Label18", 4535, 0, 3975, 300, "Indirizzo", NoMark, arial(8.25, Bold)),
        label("Label2", 12472, 0, 570, 300, "PR", Centre, arial(8.25, Bold)),
        label("Label4", 567, 0, 3960, 300, "Soggetto", NoMark, arial(8.25, Bold)),
        label("Label5", 13039, 0, 1695, 300, "Codice Ficale", Centre, arial(8.25, Bold)),
        label("Label11", 14740, 0, 1140, 300, "Partita IVA", Centre, arial(8.25, Bold)),
        line("Line1", 0, 350, 15874),
    };
    controlsOf(report, ReportSectionKind::Detail) = {
        textBox("TextBox4", 11339, 0, 1125, 315, "CAP", Centre, arialNarrow(8.25)),
        textBox("TextBox8", 8504, 0, 2835, 315, "comune", Grow, arialNarrow(8.25)),
        textBox("TextBox2", 13039, 0, 1695, 315, "Codice", Centre, arialNarrow(8.25)),
        textBox("TextBox5", 567, 0, 3968, 330, "soggetto", Grow, arialNarrow(8.25)),
        textBox("TextBox3", 0, 0, 567, 330, "ID", NoMark, arialNarrow(8.25, Bold)),
        label("Label16", 4535, 300, 1134, 300, "Utente", NoMark, arial(8.25, Bold)),
        textBox("TextBox6", 4535, 0, 3975, 330, "Indirizzo", Grow, arialNarrow(8.25)),
        textBox("TextBox7", 12472, 0, 570, 330, "PR", Centre, arialNarrow(8.25)),
        textBox("TextBox9", 14740, 0, 1140, 315, "partita", Centre, arialNarrow(8.25)),
        textBox("TextBox12", 5669, 300, 567, 330, "Utente", NoMark, arialNarrow(8.25)),
        textBox("TextBox13", 9638, 567, 6236, 330, "annotazione", Grow, arialNarrow(8.25)),
        label("Label17", 8504, 567, 1140, 300, "Note", NoMark, arial(8.25, Bold)),
        line("Line2", 0, 900, 15870),
        label("Label7", 6236, 300, 500, 300, "Email", NoMark, arial(8.25, Bold)),
        textBox("TextBox1", 6803, 300, 4530, 300, "email", NoMark, arialNarrow(8.25)),
        label("Label8", 11339, 300, 1140, 300, "Tel/Cell", Centre, arial(8.25, Bold)),
        textBox("TextBox10", 12472, 300, 1710, 300, "Telefono", NoMark, arialNarrow(8.25)),
        textBox("TextBox11", 14173, 300, 1710, 300, "cell", NoMark, arialNarrow(8.25)),
        textBox("TextBox14", 5102, 567, 1134, 300, "fax", NoMark, arialNarrow(8.25)),
        label("Label9", 4535, 567, 570, 300, "Fax", NoMark, arial(8.25, Bold)),
        textBox("TextBox15", 6803, 567, 1710, 300, "pwd", NoMark, arialNarrow(8.25)),
        label("Label13", 6236, 567, 570, 300, "pwd", NoMark, arial(8.25, Bold)),
    };
    // The page footer is an empty strip at the foot of every page.
    controlsOf(report, ReportSectionKind::ReportFooter) = {
        label("Label14", 12472, 0, 3405, 300, "Stampato il  %D", Centre, arial(8.25, Italic)),
        label("Label15", 0, 0, 2265, 300, "Pagina %P di %p", NoMark, arial(9, Bold)),
    };
    return report;
}

ReportDefinition createScheda()
{
    ReportDefinition report;
    report.name = QStringLiteral("Scheda");
    report.defaultFont = arial(7);
    setPage(report, 600, 800, 1000, 0, 4000);
    setHeights(report, 420, 435, 300, 3705, 50);

    controlsOf(report, ReportSectionKind::ReportHeader) = {
        label("Label36", 1701, 0, 795, 300, "Utente :", NoMark, arial(9, Bold | Italic)),
        label("Label2", 2835, 0, 4965, 300, "Utente", NoMark, arial(9, Bold | Italic)),
        label("Label3", 0, 0, 1701, 300, "Quorvalia ", NoMark, arial(9, Bold | Italic)),
        line("Line2", 0, 352, 11906),
    };
    controlsOf(report, ReportSectionKind::PageHeader) = {
        label("Label5", 0, 0, 567, 300, "ID", NoMark, arial(9, Bold | Italic)),
        label("Label8", 2835, 0, 7370, 300, "Descrizione", NoMark, arial(9, Bold | Italic)),
        label("Label9", 10205, 0, 600, 300, "N_DOC", NoMark, arial(8.25, Bold | Italic)),
        line("Line1", 0, 350, 11906),
        label("Label15", 10772, 0, 1140, 300, "Agg", Centre, arial(9, Bold | Italic)),
        label("Label6", 567, 0, 1125, 300, "Data", NoMark, arial(9, Bold | Italic)),
        label("Label1", 1701, 0, 1125, 300, "Scadenza", NoMark, arial(9, Bold | Italic)),
    };
    controlsOf(report, ReportSectionKind::Detail) = {
        textBox("TextBox1", 567, 0, 1125, 300, "Data", DateValue, unicodeVertical(9, Italic)),
        textBox("TextBox2", 2835, 0, 7370, 300, "oggetto", Grow, unicodeVertical(9, Italic)),
        textBox("TextBox3", 0, 0, 570, 300, "ID", NoMark, unicodeVertical(9, Italic)),
        textBox("TextBox4", 1701, 0, 1125, 300, "Scadenza", DateValue,
                unicodeVertical(9, Bold | Italic)),
        textBox("TextBox5", 10205, 0, 570, 300, "NDOC", Centre, unicodeVertical(9, Italic)),
        textBox("TextBox7", 10772, 0, 1125, 300, "Agg", Centre | DateValue,
                unicodeVertical(9, Italic)),
    };
    controlsOf(report, ReportSectionKind::PageFooter) = deadlineFooter(Bold | Italic);
    controlsOf(report, ReportSectionKind::ReportFooter) = {
        line("Line3", 0, 0, 11906),
    };
    return report;
}

ReportDefinition createSchedaUtenti()
{
    ReportDefinition report;
    report.name = QStringLiteral("SchedaUtenti");
    report.defaultFont = arial(7);
    setPage(report, 600, 800, 1000, 0, 4000);
    setHeights(report, 420, 390, 360, 3705, 50);

    controlsOf(report, ReportSectionKind::ReportHeader) = {
        label("Label3", 0, 0, 3402, 300, "Quorvalia per Utenti", NoMark,
              arial(11.25, Bold | Italic)),
        line("Line2", 0, 352, 11906),
    };
    controlsOf(report, ReportSectionKind::PageHeader) = {
        label("Label5", 0, 0, 567, 300, "ID", NoMark, arial(9, Bold)),
        label("Label8", 1701, 0, 5102, 300, "Soggetto", Grow, arial(9, Bold)),
        label("Label9", 6803, 0, 5103, 300, "Descrizione", Grow, arial(8.25, Bold)),
        line("Line1", 0, 350, 11906),
        label("Label1", 567, 0, 1125, 300, "Scadenza", NoMark, arial(9, Bold)),
    };
    controlsOf(report, ReportSectionKind::Detail) = {
        textBox("TextBox2", 1701, 0, 5115, 300, "Soggetto", Grow, unicodeVertical(9)),
        textBox("TextBox3", 0, 0, 570, 300, "ID", NoMark, unicodeVertical(9)),
        textBox("TextBox4", 567, 0, 1125, 300, "Scadenza", DateValue, unicodeVertical(9)),
        textBox("TextBox5", 6803, 0, 5103, 300, "Oggetto", Grow, unicodeVertical(9)),
    };
    controlsOf(report, ReportSectionKind::PageFooter) = deadlineFooter(Bold);
    controlsOf(report, ReportSectionKind::ReportFooter) = {
        line("Line3", 0, 0, 11906),
    };
    return report;
}
