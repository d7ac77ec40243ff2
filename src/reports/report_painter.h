// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"
#include "reports/report_document.h"

#include <QString>

#include <functional>
#include <memory>

class QPainter;
class ReportRows;

// Draws a laid-out page on the painter's device, the sheet's top-left corner at the
// device's origin and one twip as the device's dots per inch / 1440. The device is
// expected to cover the whole sheet (a printer set to full page, a PDF without
// margins, an image of the sheet's size at its resolution).
void paintReportPage(QPainter &painter, const ReportPage &page);

// Told of each page as it is written (from 1); returning false stops the export. A
// streamed export first counts its pages, telling of each with a page count of 0.
using ReportProgress = std::function<bool(int page, int pageCount)>;

// Writes the document to a PDF file, one sheet a page. The file is replaced only when
// the whole document has been written: a failed or stopped export leaves whatever was
// there before. On failure returns false with the reason, in the operator's language,
// in *error.
bool writeReportPdf(const ReportDocument &document, const QString &filePath,
                    QString *error = nullptr, const ReportProgress &progress = {});

// Opens the report's rows afresh, or returns nullptr with the reason in *error.
using OpenReportRows = std::function<std::unique_ptr<ReportRows>(QString *error)>;

// Lays out and writes a report one page at a time, so that a report of any length
// needs the memory of one page: the rows are read twice, once to count the pages and
// once to print them.
bool writeReportPdfStreamed(const ReportDefinition &definition, const OpenReportRows &openRows,
                            const QString &filePath, QString *error = nullptr,
                            const ReportProgress &progress = {});
