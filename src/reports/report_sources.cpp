// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_sources.h"

#include "reports/report_definitions.h"
#include "reports/report_layout.h"
#include "reports/report_rows.h"
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <memory>

namespace {

ReportDefinition definitionFor(ReportKind kind, const QString &userName)
{
    switch (kind) {
    case ReportKind::Registry:
        return createAnagrafe();
    case ReportKind::AllUsers:
        return createSchedaUtenti();
    case ReportKind::UserCard:
        break;
    }
    ReportDefinition scheda = createScheda();
    // The card's header reads "Utente :" and the user's name.
    if (ReportSection *header = scheda.sectionAt(1))
        if (ReportControl *label = header->control(QStringLiteral("Label2")))
            label->setCaption(userName);
    return scheda;
}

Outcome<std::unique_ptr<ReportRows>> openRows(ReportKind kind, qint64 userId)
{
    Result<RowReader> rows = kind == ReportKind::Registry   ? selectRegistryReportRows()
                             : kind == ReportKind::AllUsers ? selectAllUsersDeadlines()
                                                            : selectUserCardRows(userId);
    if (!rows.ok())
        return Outcome<std::unique_ptr<ReportRows>>::failure(databaseErrorMessage(rows.error));
    return {std::make_unique<SqlReportRows>(std::move(rows.value)), {}};
}

} // namespace

ReportBuild buildReport(ReportKind kind, qint64 userId, const QString &userName,
                        const ReportBuildProgress &progress)
{
    const Outcome<std::unique_ptr<ReportRows>> rows = openRows(kind, userId);
    if (!rows.ok())
        return ReportBuild::failure(rows.problem);
    ReportBuild build;
    build.value = buildReportDocument(definitionFor(kind, userName), *rows.value, {}, progress);
    build.problem = rows.value->errorString();
    return build;
}

Check writeReportToPdf(ReportKind kind, qint64 userId, const QString &userName,
                       const QString &filePath, const ReportProgress &progress)
{
    return writeReportPdfStreamed(
        definitionFor(kind, userName), [kind, userId] { return openRows(kind, userId); }, filePath,
        progress);
}
