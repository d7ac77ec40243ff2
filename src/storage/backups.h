// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"
#include "storage/backup_files.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

// Backups of the open data file, one per orderly close.

// Writes a copy of the open data file through its connection; older copies beyond the
// ten most recent are removed. Gives the copy's path, or the reason it failed; the data
// file itself is never touched.
Outcome<QString> writeBackup(const QDateTime &moment = QDateTime::currentDateTime());

// Where the copies of a server's archive go: named after this file, in the backups
// folder beside the place of the local data file.
QString serverBackupBase();
// A copy of the archive on the server open on `server`, as a data file that the program
// opens, among the backups of serverBackupBase(); the ten most recent are kept.
Outcome<QString> writeServerBackup(const QSqlDatabase &server,
                                   const QDateTime &moment = QDateTime::currentDateTime());

// At the close through "Chiudi": a backup that fails is reported on stderr and the
// program ends all the same.
void writeBackupAtClose();
