// SPDX-License-Identifier: GPL-3.0-or-later
// The reports that the main window prints, the selected user's card and the deadlines of
// all users, are each shown as a modal preview; when it closes the window is activated
// again and the print toggle is released.
#include "main_window/report_launching.h"

#include "reports/report_progress.h"
#include "reports/report_viewer.h"
#include "widgets/prompt.h"

void showReportOrProblem(QWidget *parent, const ReportBuild &report)
{
    if (report.ok())
        ReportViewer::current().showModal(report.value, parent);
    else
        showPrompt(parent, report.problem, QString(), PromptButtons::Ok, PromptIcon::Critical);
}
