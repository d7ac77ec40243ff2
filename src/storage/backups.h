// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"
#include "storage/backup_files.h"

#include <QDateTime>
#include <QString>

// Backups of the open data file, one per orderly close.

// Writes a copy of the open data file through its connection; older copies beyond the
// ten most recent are removed. Gives the copy's path, or the reason it failed; the data
// file itself is never touched.
Outcome<QString> writeBackup(const QDateTime &moment = QDateTime::currentDateTime());

// At the close through "Chiudi": a backup that fails is reported on stderr and the
// program ends all the same.
void writeBackupAtClose();
