// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_document.h"

#include <memory>

class QPrintPreviewDialog;
class QWidget;

// Shows reports to the operator. Launchers go through the current viewer, so that
// tests can put one in its place that keeps the documents instead of showing them.
class ReportViewer
{
public:
    virtual ~ReportViewer();

    // Shows the document and returns when the operator has closed it.
    virtual void showModal(const ReportDocument &document, QWidget *owner) = 0;

    // The viewer in use; the print preview unless another was installed.
    static ReportViewer &current();
    // Puts a viewer in place of the current one and hands back the one it replaces;
    // nullptr goes back to the print preview.
    static std::unique_ptr<ReportViewer> install(std::unique_ptr<ReportViewer> viewer);
};

// The application's viewer: a modal, maximized print preview with page navigation,
// zoom and printing, and an "Esporta PDF" action in its tool bar.
class PreviewReportViewer : public ReportViewer
{
public:
    void showModal(const ReportDocument &document, QWidget *owner) override;
};

// The preview dialog for a document, ready to be run; exposed so that its set-up can
// be checked without running it.
std::unique_ptr<QPrintPreviewDialog> createReportPreview(const ReportDocument &document,
                                                         QWidget *owner);
