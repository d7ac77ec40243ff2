// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_document.h"
#include "reports/report_painter.h"

#include <QString>

#include <functional>

// The three reports filled from the data file: the statement, a fresh definition and
// the layout, shared by the program's launchers and by tavelo-report.

enum class ReportKind {
    Registry, // Anagrafe: every subject, by name
    UserCard, // Scheda: one user's entries with an entry date, by due date
    AllUsers, // SchedaUtenti: every user's deadlines, earliest first
};

// The document laid out, or the operator's message when the rows could not be read.
using ReportBuild = Outcome<ReportDocument>;

// Hears of every page as soon as it is laid out (from 1).
using ReportBuildProgress = std::function<void(int page)>;

// The whole report laid out, for the preview. userId and userName serve the card only.
ReportBuild buildReport(ReportKind kind, qint64 userId = 0, const QString &userName = {},
                        const ReportBuildProgress &progress = {});

inline ReportBuild buildUserCardReport(qint64 userId, const QString &userName,
                                       const ReportBuildProgress &progress = {})
{
    return buildReport(ReportKind::UserCard, userId, userName, progress);
}
inline ReportBuild buildAllUsersReport(const ReportBuildProgress &progress = {})
{
    return buildReport(ReportKind::AllUsers, 0, {}, progress);
}
inline ReportBuild buildRegistryReport(const ReportBuildProgress &progress = {})
{
    return buildReport(ReportKind::Registry, 0, {}, progress);
}

// Writes the report straight to a PDF file, one page in memory at a time.
Check writeReportToPdf(ReportKind kind, qint64 userId, const QString &userName,
                       const QString &filePath, const ReportProgress &progress = {});
