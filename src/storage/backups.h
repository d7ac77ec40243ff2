// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/backup_files.h"

#include <QDateTime>
#include <QString>

// Backups of the open data file, one per orderly close.

// Writes a copy of the open data file through its connection; older copies beyond the
// ten most recent are removed. Returns the copy's path, or an empty text with the
// reason in *problem; the data file itself is never touched.
QString writeBackup(QString *problem, const QDateTime &moment = QDateTime::currentDateTime());

// At the close through "Chiudi": a backup that fails is reported on stderr and the
// program ends all the same.
void writeBackupAtClose();
