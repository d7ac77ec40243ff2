// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"
#include "reports/report_document.h"

#include <QDate>

#include <functional>
#include <memory>

class ReportRows;

struct ReportLayoutOptions
{
    // Dots per inch at which text is measured and broken into lines: that of the
    // device the pages are meant for. Lines keep their breaks on other devices.
    qreal resolution = 1200;
    // The date that "%D" prints, the same on every page.
    QDate printDate = QDate::currentDate();
};

// Lays a report out page by page, the banded way: the report header once at the top
// of the first page, then on every page the page header, as many detail bands (one a
// row) as fit above the page footer, and the page footer at the page's foot; the
// report footer after the last row. A control that can grow takes the height of its
// wrapped text, and the controls under it and the band's height follow. A band that
// does not fit starts a new page; one taller than a whole page is split between lines.
class ReportLayout
{
public:
    using PageSink = std::function<void(ReportPage &&page)>;

    explicit ReportLayout(const ReportDefinition &definition,
                          const ReportLayoutOptions &options = {});
    ~ReportLayout();
    ReportLayout(const ReportLayout &) = delete;
    ReportLayout &operator=(const ReportLayout &) = delete;

    // Reads every row and hands each page to the sink as soon as it is complete, so
    // that no caller need hold more than one page. "%D" and "%P" are filled in, "%p"
    // waits for resolvePageCount(). Returns the number of pages, at least one.
    int run(ReportRows &rows, const PageSink &sink);

    // Fills the page count into a page handed out by run().
    void resolvePageCount(ReportPage &page, int pageCount) const;

private:
    class Private;
    std::unique_ptr<Private> d;
};

// The whole report in memory, page count filled in. When the rows stop on an error the
// document holds what was read; the caller asks its rows for errorString().
// pageDone, when given, hears of every page as soon as it is laid out (from 1), so that
// a long report can show its progress.
ReportDocument buildReportDocument(const ReportDefinition &definition, ReportRows &rows,
                                   const ReportLayoutOptions &options = {},
                                   const std::function<void(int page)> &pageDone = {});
