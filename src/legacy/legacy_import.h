// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Brings the earlier Windows version's Database.mdb across into a data file of the
// program: every row of Utente, Tavelo and Versione with its ID, its NULLs and its
// texts exactly as they were. All or nothing: the new file is built beside the target
// in one transaction and put in place only when it is complete and checked, so a
// failure leaves no file behind and an existing one untouched.
struct LegacyImportRequest
{
    QString legacyFile;
    QString dataFile;
    // Or the connection string of a database on a server, which takes the rows in one
    // transaction; the server keeps its own backups, so none is written here.
    QString server;
    // Replace a data file that already holds subjects or entries (after a backup).
    bool replaceExisting = false;
};

struct LegacyImportSummary
{
    struct TableRows
    {
        QString table;
        int rows = 0;
    };
    QList<TableRows> tables;
    QStringList columnsLeftOut; // "Tabella.colonna" of the earlier file, not kept
    QStringList columnsMissing; // the program's columns that the earlier file lacks
    int orphanEntries = 0;      // entries whose owner is no longer in Utente
    int timesLeftOut = 0;       // times of day in date-only columns, not kept
    QString replacedFileBackup; // the backup of the data file that was replaced
    qint64 milliseconds = 0;
};

// Called for every row written: table, rows done, rows in the table.
using ImportProgress = std::function<void(const QString &table, int done, int total)>;

// Uses the program's one connection, which is closed before and after. A failure is
// described in Italian, naming table and row when a row failed.
Outcome<LegacyImportSummary> importLegacyFile(const LegacyImportRequest &request,
                                              const ImportProgress &progress = {});

// Which column of the earlier file feeds each of the program's columns (matched without
// regard to case; -1 when it has none), and which of its columns are left out.
struct ColumnMatch
{
    QList<int> sourceOf;
    QStringList leftOut;
    QStringList missing;
};
ColumnMatch matchColumns(const QStringList &legacyColumns, const QStringList &programColumns);

// The summary as the command prints it, in Italian.
QString importSummaryText(const LegacyImportSummary &summary);

// Copies the program's data file (Database.sqlite) onto the archive on a server, every
// row with its ID, in one transaction; new IDs on the server continue after the
// largest. A server archive that already holds data is emptied first only when asked
// (replaceExisting). The file is only read.
Outcome<LegacyImportSummary> copyDataFileToServer(const LegacyImportRequest &request,
                                                  const ImportProgress &progress = {});

// Whether the file is an SQLite database (by its header), rather than an .mdb.
bool isSqliteFile(const QString &path);
