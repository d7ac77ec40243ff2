// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_document.h"

#include <QString>

#include <functional>

class QPainter;

// Draws a laid-out page on the painter's device, the sheet's top-left corner at the
// device's origin and one twip as the device's dots per inch / 1440. The device is
// expected to cover the whole sheet (a printer set to full page, a PDF without
// margins, an image of the sheet's size at its resolution).
void paintReportPage(QPainter &painter, const ReportPage &page);

// Told of each page as it is written (from 1); returning false stops the export.
using ReportProgress = std::function<bool(int page, int pageCount)>;

// Writes the document to a PDF file, one sheet a page. The file is replaced only when
// the whole document has been written: a failed or stopped export leaves whatever was
// there before. On failure returns false with the reason, in the operator's language,
// in *error.
bool writeReportPdf(const ReportDocument &document, const QString &filePath,
                    QString *error = nullptr, const ReportProgress &progress = {});
