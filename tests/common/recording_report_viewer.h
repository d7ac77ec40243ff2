// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_viewer.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

// Keeps every document it is asked to show instead of opening a preview, and returns at
// once, as if the operator had closed the preview straight away.
class RecordingReportViewer : public ReportViewer
{
public:
    void showModal(const ReportDocument &document, QWidget *owner) override
    {
        m_documents.append(document);
        m_owners.append(owner);
        if (whileShown)
            whileShown(document, owner);
    }

    const QList<ReportDocument> &documents() const { return m_documents; }
    const QList<QPointer<QWidget>> &owners() const { return m_owners; }

    // Runs while the document is "open", before showModal returns: lets a test look at
    // the program's state during the preview.
    std::function<void(const ReportDocument &document, QWidget *owner)> whileShown;

private:
    QList<ReportDocument> m_documents;
    QList<QPointer<QWidget>> m_owners;
};

// Installs a recording viewer for the life of the scope and puts back the viewer that
// was in place before.
class RecordingReportViewerScope
{
public:
    RecordingReportViewerScope()
        : m_previous(ReportViewer::install(std::unique_ptr<ReportViewer>(m_viewer)))
    {}
    ~RecordingReportViewerScope() { ReportViewer::install(std::move(m_previous)); }
    RecordingReportViewerScope(const RecordingReportViewerScope &) = delete;
    RecordingReportViewerScope &operator=(const RecordingReportViewerScope &) = delete;

    RecordingReportViewer &viewer() { return *m_viewer; }

private:
    RecordingReportViewer *m_viewer = new RecordingReportViewer;
    std::unique_ptr<ReportViewer> m_previous;
};
