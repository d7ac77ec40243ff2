// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Backups of the data file: consistent copies in the folder "Backup" beside it, one
// per orderly close, named after the file with the date and time, the ten most recent
// kept.

constexpr int backupsKept = 10;

QString backupFolder(const QString &dataFile);

// Writes a copy of the open data file through its connection, under a temporary name
// until it is checked and on the disk; older copies beyond the ten most recent, copies
// that fail the check and leftovers of interrupted backups are removed. Returns the copy's path, or an empty text with the
// reason in *problem; the data file itself is never touched.
QString writeBackup(QString *problem, const QDateTime &moment = QDateTime::currentDateTime());

// At the close through "Chiudi": a backup that fails is reported on stderr and the
// program ends all the same.
void writeBackupAtClose();

// This data file's backups that pass the check (isSoundBackup), most recent first.
QStringList backupsOf(const QString &dataFile);
// The most recent backup that passes the check, or an empty text.
QString latestBackup(const QString &dataFile);

// The message for a data file that is damaged: which file, what is wrong, and how to
// put back the most recent backup (when there is one).
QString damagedDataFileMessage(const QString &dataFile, const QString &problem);
