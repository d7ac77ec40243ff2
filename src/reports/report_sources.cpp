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

std::unique_ptr<ReportRows> openRows(ReportKind kind, qint64 userId, QString *error)
{
    Result<RowReader> rows = kind == ReportKind::Registry   ? selectRegistryReportRows()
                             : kind == ReportKind::AllUsers ? selectAllUsersDeadlines()
                                                            : selectUserCardRows(userId);
    if (!rows.ok()) {
        if (error)
            *error = databaseErrorMessage(rows.error);
        return nullptr;
    }
    return std::make_unique<SqlReportRows>(std::move(rows.value));
}

} // namespace

ReportBuild buildReport(ReportKind kind, qint64 userId, const QString &userName,
                        const ReportBuildProgress &progress)
{
    ReportBuild build;
    std::unique_ptr<ReportRows> rows = openRows(kind, userId, &build.error);
    if (!rows)
        return build;
    build.document = buildReportDocument(definitionFor(kind, userName), *rows, {}, progress);
    build.error = rows->errorString();
    return build;
}

bool writeReportToPdf(ReportKind kind, qint64 userId, const QString &userName,
                      const QString &filePath, QString *error, const ReportProgress &progress)
{
    return writeReportPdfStreamed(
        definitionFor(kind, userName),
        [kind, userId](QString *reason) { return openRows(kind, userId, reason); }, filePath, error,
        progress);
}
