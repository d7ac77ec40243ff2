// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_fixtures.h"

#include "reports/report_rows.h"
#include "reports/report_text_measurer.h"

#include <QFile>
#include <QProcess>

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

QString longText(int words)
{
    QStringList list;
    for (int i = 0; i < words; ++i)
        list.append(QStringLiteral("parola%1").arg(i));
    return list.join(QLatin1Char(' '));
}

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
