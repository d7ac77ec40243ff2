// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_sources.h"

class QWidget;

// Shows the report as a modal preview, or tells the operator why it cannot be made.
void showReportOrProblem(QWidget *parent, const ReportBuild &report);
