// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"
#include "reports/report_document.h"
#include "reports/report_layout.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantHash>

// What the report tests share: a small report with round numbers, rows to fill it and
// ways to look at the pages laid out.

inline const QDate printDate(2024, 3, 15);
// A4 landscape is 210 mm high.
inline const qreal sheetHeight = 210 / 25.4 * 1440;

ReportLayoutOptions options();
ReportFont arial10();

ReportControl label(const QString &name, int left, int top, int width, const QString &caption);
ReportControl textBox(const QString &name, int left, int top, int width, const QString &field,
                      bool canGrow);
ReportControl rule(const QString &name, int top, int width);

// A report with round numbers: on A4 landscape (11905.5 twips high) with margins of
// 1000 the first page has room for 8405.5 twips of detail under its two headers, the
// others for 8905.5: eight 1000-twip bands on every page.
ReportDefinition testReport();

// Rows with "RIGA 0", "RIGA 1", ... in the field "Nome".
QList<QVariantHash> names(int count);

ReportDocument layOut(const ReportDefinition &definition, const QList<QVariantHash> &rows);

// Words enough for several lines in any box of a report.
QString longText(int words);

// The shortest text of such words that breaks into that many lines at that width.
QString textOfLines(const ReportFont &font, qreal width, int lines);

QList<int> detailCounts(const ReportDocument &document);
QList<int> pagesWith(const ReportDocument &document, ReportSectionKind section);
const ReportBand *detailBand(const ReportPage &page, int row);

// The standard output of a program that ended well, or empty.
QString runTool(const QString &program, const QStringList &arguments);
QByteArray fileContents(const QString &path);
