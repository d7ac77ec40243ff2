// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_fixtures.h"

#include "reports/report_rows.h"

namespace {

// A label, or a text box when there is a field; a line when the height is 0.
ReportControl control(const char *name, int left, int top, int width, const QString &caption,
                      const QString &field = {}, int height = 300)
{
    ReportControl c;
    c.kind = height == 0       ? ReportControlKind::Line
             : field.isEmpty() ? ReportControlKind::Label
                               : ReportControlKind::TextBox;
    c.name = QString::fromLatin1(name);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.caption = caption;
    c.field = field;
    c.expandsPlaceholders = caption.contains(QLatin1Char('%'));
    return c;
}

} // namespace

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

ReportDefinition testReport()
{
    ReportDefinition report;
    report.name = QStringLiteral("Prova");
    report.defaultFont = arial10();
    report.page.topMargin = 1000;
    report.page.bottomMargin = 1000;
    report.page.leftMargin = 500;
    report.page.reportWidth = 10000;
    auto section = [&report](ReportSectionKind kind, int height, QList<ReportControl> controls) {
        report.section(kind).height = height;
        report.section(kind).controls = controls;
    };
    section(ReportSectionKind::ReportHeader, 500, {control("Titolo", 0, 0, 5000, "Titolo")});
    section(ReportSectionKind::PageHeader, 400,
            {control("Testata", 0, 0, 5000, "Intestazione %P")});
    // Under the name, beside it, and under "Sotto" only: moved by what moves above it.
    // "Fisso" prints the name too, in a box that cannot grow.
    ReportControl name = control("Nome", 0, 0, 3000, {}, "nome");
    name.canGrow = true;
    section(ReportSectionKind::Detail, 1000,
            {name, control("Sotto", 2500, 400, 1000, "sotto"),
             control("Accanto", 5000, 400, 1000, "accanto"),
             control("Catena", 3200, 700, 1000, "catena"),
             control("Fisso", 6500, 0, 1200, {}, "nome"),
             control("Riga", 0, 900, 10000, {}, {}, 0)});
    section(ReportSectionKind::PageFooter, 600, {control("Pagine", 0, 0, 3000, "Pagina %P di %p")});
    section(ReportSectionKind::ReportFooter, 500, {control("Fine", 0, 0, 5000, "Stampato il  %D")});
    return report;
}

QList<QVariantHash> names(int count, int tall)
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
    return buildReportDocument(definition, source, options());
}

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

const ReportBand *detailBand(const ReportPage &page, int row)
{
    for (const ReportBand &band : page.bands) {
        if (band.section == ReportSectionKind::Detail && band.row == row)
            return &band;
    }
    return nullptr;
}
