// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/backup_files.h"

#include "storage/backup_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Only files named as this program names its backups: nothing else in the folder is
// ever removed.
QRegularExpression backupPattern(const QString &dataFile)
{
    const QFileInfo info(dataFile);
    return QRegularExpression(
        QStringLiteral("^%1_\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2}-\\d{3}\\.%2$")
            .arg(QRegularExpression::escape(info.completeBaseName()),
                 QRegularExpression::escape(info.suffix())));
}

// The temporary copies of interrupted backups, with the engine's files beside them.
QRegularExpression leftoverPattern(const QString &dataFile)
{
    const QFileInfo info(dataFile);
    return QRegularExpression(QStringLiteral("^\\.%1_.*\\.%2\\.part(-journal|-wal|-shm)?$")
                                  .arg(QRegularExpression::escape(info.completeBaseName()),
                                       QRegularExpression::escape(info.suffix())));
}

// Every file named as a backup, finished or not, most recent first.
QStringList namedBackups(const QString &dataFile)
{
    const QDir folder(backupFolder(dataFile));
    const QRegularExpression pattern = backupPattern(dataFile);
    QStringList paths;
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name | QDir::Reversed)) {
        if (pattern.match(name).hasMatch())
            paths << folder.filePath(name);
    }
    return paths;
}

} // namespace

void removeWithJournal(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QLatin1String("-journal"));
}

void removeBackupLeftovers(const QString &dataFile)
{
    const QDir folder(backupFolder(dataFile));
    const QRegularExpression pattern = leftoverPattern(dataFile);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (pattern.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
}

QString backupFolder(const QString &dataFile)
{
    return QFileInfo(dataFile).absoluteDir().filePath(QStringLiteral("Backup"));
}

QStringList backupsOf(const QString &dataFile)
{
    QStringList sound;
    for (const QString &path : namedBackups(dataFile)) {
        if (isSoundBackup(path))
            sound << path;
    }
    return sound;
}

QString latestBackup(const QString &dataFile)
{
    for (const QString &path : namedBackups(dataFile)) {
        if (isSoundBackup(path))
            return path;
    }
    return {};
}

// A copy that fails the check is no backup: it is removed and does not count among the
// ten.
void removeOldBackups(const QString &dataFile)
{
    int kept = 0;
    for (const QString &path : namedBackups(dataFile)) {
        if (kept < backupsKept && isSoundBackup(path))
            ++kept;
        else
            removeWithJournal(path);
    }
}

QString damagedDataFileMessage(const QString &dataFile, const QString &problem)
{
    QString message = QStringLiteral("Il file dei dati «%1» è danneggiato e non viene usato.\n"
                                     "Problema: %2\n\n")
                          .arg(QDir::toNativeSeparators(dataFile), problem);
    const QString backup = latestBackup(dataFile);
    if (backup.isEmpty())
        return message + QStringLiteral("Non c'è nessuna copia di sicurezza nella cartella «%1».")
                             .arg(QDir::toNativeSeparators(backupFolder(dataFile)));
    return message + QStringLiteral("La copia di sicurezza più recente è «%1».\n"
                                    "Per ripristinarla: spostare altrove il file danneggiato "
                                    "(con i file «%2-wal» e «%2-shm», se ci sono), copiare al "
                                    "suo posto la copia di sicurezza rinominandola «%2» e "
                                    "riavviare il programma.")
                         .arg(QDir::toNativeSeparators(backup), QFileInfo(dataFile).fileName());
}
