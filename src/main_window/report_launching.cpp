// SPDX-License-Identifier: GPL-3.0-or-later
// The reports that the main window prints: the selected user's card and the deadlines
// of all users. Each is shown as a modal preview; when it closes the window is
// activated again and the print toggle is released.
#include "main_window/frm_registra.h"

#include "widgets/prompt.h"
#include "reports/report_progress.h"
#include "reports/report_viewer.h"
#include "widgets/toggle_button.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

// Shows the report as a modal preview, or tells the operator why it cannot be made.
void frmRegistra::showReport(const ReportBuild &report)
{
    if (report.ok())
        ReportViewer::current().showModal(report.document, this);
    else
        showPrompt(this, report.error, QString(), PromptButtons::Ok, PromptIcon::Critical);
}

// The operator switches the entry panel's "Stampa" on.
void frmRegistra::ShowUserCardReport()
{
    const QString name = Label1->text();
    const QString id = Label8->text();
    const ReportBuild card = buildWithProgress(this, [&](const ReportBuildProgress &progress) {
        return buildUserCardReport(id.toLongLong(), name, progress);
    });
    showReport(card);
    Check5->setValue(0);
    Frame2->show();
    Label1->setText(name);
    Label8->setText(id);
    activateLater(this);
}

// The operator ticks "Stampa" under the overview list.
void frmRegistra::ShowAllUsersReport()
{
    const ReportBuild deadlines = buildWithProgress(
        this, [](const ReportBuildProgress &progress) { return buildAllUsersReport(progress); });
    showReport(deadlines);
    Check7->setChecked(false);
    activateLater(this);
}
