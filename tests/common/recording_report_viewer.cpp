// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_report_viewer.h"

void RecordingReportViewer::showModal(const ReportDocument &document, QWidget *owner)
{
    m_documents.append(document);
    m_owners.append(owner);
    if (whileShown)
        whileShown(document, owner);
}

RecordingReportViewerScope::RecordingReportViewerScope()
{
    auto viewer = std::make_unique<RecordingReportViewer>();
    m_viewer = viewer.get();
    m_previous = ReportViewer::install(std::move(viewer));
}

RecordingReportViewerScope::~RecordingReportViewerScope()
{
    ReportViewer::install(std::move(m_previous));
}
