// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_document.h"

int ReportPage::bandCount(ReportSectionKind section) const
{
    int count = 0;
    for (const ReportBand &band : bands) {
        if (band.section == section && !band.continued)
            ++count;
    }
    return count;
}

const ReportItem *ReportPage::find(const QString &controlName, int occurrence) const
{
    for (const ReportItem &item : items) {
        if (item.controlName == controlName && occurrence-- == 0)
            return &item;
    }
    return nullptr;
}

QStringList ReportDocument::texts(const QString &controlName) const
{
    QStringList result;
    for (const ReportPage &page : pages) {
        for (const ReportItem &item : page.items) {
            if (item.kind == ReportItemKind::Text && item.controlName == controlName)
                result.append(item.text());
        }
    }
    return result;
}
