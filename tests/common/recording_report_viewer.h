// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_viewer.h"

#include <QWidget>

#include <functional>
#include <memory>

// Opens no preview: hands each document that it is asked to show, with the window that
// asked, to whileShown (which lets a test look at the program's state during the
// preview), and returns at once, as if the operator had closed the preview straight away.
class RecordingReportViewer : public ReportViewer
{
public:
    void showModal(const ReportDocument &document, QWidget *owner) override
    {
        if (whileShown)
            whileShown(document, owner);
    }

    std::function<void(const ReportDocument &document, QWidget *owner)> whileShown;
};

// Installs a recording viewer for the life of the scope and puts back the viewer that
// was in place before.
struct RecordingReportViewerScope
{
    RecordingReportViewer &viewer() { return *recording; }
    RecordingReportViewer *recording = new RecordingReportViewer;
    std::unique_ptr<ReportViewer> previous =
        ReportViewer::install(std::unique_ptr<ReportViewer>(recording));
    ~RecordingReportViewerScope() { ReportViewer::install(std::move(previous)); }
};
