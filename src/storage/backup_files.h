// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Where the backups of a data file are and what they are called: consistent copies in
// the folder "Backup" beside it, named after the file with the date and time, the ten
// most recent kept. Nothing here opens the archive.

constexpr int backupsKept = 10;

QString backupFolder(const QString &dataFile);
// This data file's backups that pass the check (isSoundBackup), most recent first.
QStringList backupsOf(const QString &dataFile);
// The most recent backup that passes the check, or an empty text.
QString latestBackup(const QString &dataFile);
// Removes the backups beyond the ten most recent, and those that fail the check.
void removeOldBackups(const QString &dataFile);
// Removes what interrupted backups left behind: their temporary copies and journals.
void removeBackupLeftovers(const QString &dataFile);
// Removes a file with the journal beside it.
void removeWithJournal(const QString &path);

// The message for a data file that is damaged: which file, what is wrong, and how to
// put back the most recent backup (when there is one).
QString damagedDataFileMessage(const QString &dataFile, const QString &problem);
