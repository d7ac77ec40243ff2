// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"
#include "reports/report_definition.h"
#include "reports/report_document.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <deque>

#include <functional>
#include <memory>

class QPainter;
class ReportRows;

// Draws a laid-out page on the painter's device, the sheet's top-left corner at the
// device's origin and one twip as the device's dots per inch / 1440. The device is
// expected to cover the whole sheet (a printer set to full page, a PDF without
// margins, an image of the sheet's size at its resolution).
void paintReportPage(QPainter &painter, const ReportPage &page);

// Draws page after page on one painter, as paintReportPage() does, making each font
// once for all of them.
class ReportPagePainter
{
public:
    explicit ReportPagePainter(QPainter &painter);
    ~ReportPagePainter();
    ReportPagePainter(const ReportPagePainter &) = delete;
    ReportPagePainter &operator=(const ReportPagePainter &) = delete;

    void paint(const ReportPage &page);

private:
    struct Face
    {
        ReportFont font;
        QFont qfont; // as resolved for the painter's device
        QFontMetricsF metrics;
    };
    const Face &face(const ReportFont &font);

    QPainter &m_painter;
    std::deque<Face> m_faces; // stays put as it grows
};

// Told of each page as it is written (from 1); returning false stops the export. A
// streamed export first counts its pages, telling of each with a page count of 0.
using ReportProgress = std::function<bool(int page, int pageCount)>;

// Writes the document to a PDF file, one sheet a page. The file is replaced only when
// the whole document has been written: a failed or stopped export leaves whatever was
// there before. A failure gives the reason in the operator's language.
Check writeReportPdf(const ReportDocument &document, const QString &filePath,
                     const ReportProgress &progress = {});

// Opens the report's rows afresh.
using OpenReportRows = std::function<Outcome<std::unique_ptr<ReportRows>>()>;

// Lays out and writes a report one page at a time, so that a report of any length
// needs the memory of one page: the pages laid out wait in a temporary file until
// their number is known, and are then printed.
Check writeReportPdfStreamed(const ReportDefinition &definition, const OpenReportRows &openRows,
                             const QString &filePath, const ReportProgress &progress = {});
