// SPDX-License-Identifier: GPL-3.0-or-later
// The print of the whole registry from the start panel.
#include "registry/frm_anagrafe.h"

#include "registry/start_panel.h"
#include "reports/report_progress.h"
#include "reports/report_viewer.h"
#include "widgets/prompt.h"

// The operator switches "Stampa" on: every subject, by name, in the preview.
void frmAnagrafe::StartRegistryPrint()
{
    Frame3->releaseManage();
    ShowRegistryReport();
}

// The toggle stays on while the preview is open; when it closes the window is
// activated again and so comes back to its start panel.
void frmAnagrafe::ShowRegistryReport()
{
    const ReportBuild registry = buildWithProgress(
        this, [](const ReportBuildProgress &progress) { return buildRegistryReport(progress); });
    if (registry.ok())
        ReportViewer::current().showModal(registry.value, this);
    else
        showPrompt(this, registry.problem, QString(), PromptButtons::Ok, PromptIcon::Critical);
    Frame3->releasePrint();
    activateLater(this);
}
