// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_sources.h"

class QWidget;

// Builds a report while a progress dialog over the owner window counts the pages laid
// out; the dialog shows only when the work takes more than a moment.
ReportBuild buildWithProgress(QWidget *owner,
                              const std::function<ReportBuild(const ReportBuildProgress &)> &build);
