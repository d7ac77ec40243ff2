// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"
#include "reports/report_document.h"
#include "reports/report_layout.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantHash>

// What the report tests share: a small report with round numbers, rows to fill it and
// ways to look at the pages laid out.

inline const QDate printDate(2024, 3, 15);

ReportLayoutOptions options();
ReportFont arial10();

// A report with round numbers: on A4 landscape (11905.5 twips high) with margins of
// 1000 the first page has room for 8405.5 twips of detail under its two headers, the
// others for 8905.5: eight 1000-twip bands on every page.
ReportDefinition testReport();

// Rows with "RIGA 0 %P", "RIGA 1 %P", ... in the field "Nome" (data, never a page
// number); the row `tall` has two lines more.
QList<QVariantHash> names(int count, int tall = -1);

ReportDocument layOut(const ReportDefinition &definition, const QList<QVariantHash> &rows);

// Words enough for several lines in any box of a report.
QString longText(int words);

QList<int> detailCounts(const ReportDocument &document);
const ReportBand *detailBand(const ReportPage &page, int row);
