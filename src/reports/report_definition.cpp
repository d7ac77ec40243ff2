// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_definition.h"

#include <QMarginsF>
#include <QRectF>

QString mapFontFamily(const QString &face)
{
    QString name = face.trimmed();
    // A leading "@" names the vertical-writing variant of a face; we print upright.
    if (name.startsWith(QLatin1Char('@')))
        name = name.mid(1).trimmed();
    if (name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (name.compare(QLatin1String("Arial Narrow"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans Narrow");
    if (name.compare(QLatin1String("Arial Unicode MS"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("DejaVu Sans");
    return name;
}

QFont toQFont(const ReportFont &font)
{
    QFont result(mapFontFamily(font.face));
    result.setStyleHint(QFont::SansSerif);
    result.setPointSizeF(font.pointSize);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

ReportControl *ReportSection::control(const QString &controlName)
{
    for (ReportControl &c : controls) {
        if (c.name == controlName)
            return &c;
    }
    return nullptr;
}

const ReportControl *ReportSection::control(const QString &controlName) const
{
    return const_cast<ReportSection *>(this)->control(controlName);
}

QPageLayout ReportPageSettings::sheetLayout() const
{
    return QPageLayout(QPageSize(paper), orientation, QMarginsF(0, 0, 0, 0));
}

QSizeF sheetSizeInTwips(const QPageLayout &layout)
{
    return layout.fullRect(QPageLayout::Millimeter).size() * (twipsPerInch / 25.4);
}

ReportDefinition::ReportDefinition()
{
    // The section names every report layout uses, in print order.
    static const char *const names[sectionCount] = {"Section4", "Section2", "Section1", "Section3",
                                                    "Section5"};
    static const ReportSectionKind kinds[sectionCount] = {
        ReportSectionKind::ReportHeader, ReportSectionKind::PageHeader, ReportSectionKind::Detail,
        ReportSectionKind::PageFooter, ReportSectionKind::ReportFooter};
    for (int i = 0; i < sectionCount; ++i) {
        sections[i].name = QString::fromLatin1(names[i]);
        sections[i].kind = kinds[i];
    }
}

ReportSection &ReportDefinition::section(ReportSectionKind kind)
{
    return sections[static_cast<int>(kind)];
}

const ReportSection &ReportDefinition::section(ReportSectionKind kind) const
{
    return sections[static_cast<int>(kind)];
}

ReportSection *ReportDefinition::sectionAt(int position)
{
    if (position < 1 || position > sectionCount)
        return nullptr;
    return &sections[position - 1];
}

ReportControl *ReportDefinition::findControl(const QString &controlName)
{
    for (ReportSection &s : sections) {
        if (ReportControl *c = s.control(controlName))
            return c;
    }
    return nullptr;
}

const ReportControl *ReportDefinition::findControl(const QString &controlName) const
{
    return const_cast<ReportDefinition *>(this)->findControl(controlName);
}
