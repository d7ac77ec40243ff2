// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/backup_files.h"

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

} // namespace

QString backupFolder(const QString &dataFile)
{
    return QFileInfo(dataFile).absoluteDir().filePath(QStringLiteral("Backup"));
}

QStringList backupsOf(const QString &dataFile)
{
    const QDir folder(backupFolder(dataFile));
    const QRegularExpression pattern = backupPattern(dataFile);
    QStringList names = folder.entryList(QDir::Files, QDir::Name | QDir::Reversed);
    QStringList paths;
    for (const QString &name : names) {
        if (pattern.match(name).hasMatch())
            paths << folder.filePath(name);
    }
    return paths;
}

QString latestBackup(const QString &dataFile)
{
    const QStringList backups = backupsOf(dataFile);
    return backups.isEmpty() ? QString() : backups.first();
}

void removeOldBackups(const QString &dataFile)
{
    const QStringList backups = backupsOf(dataFile);
    for (qsizetype i = backupsKept; i < backups.size(); ++i)
        QFile::remove(backups.at(i));
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
