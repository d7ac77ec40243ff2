// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/backups.h"

#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace {

const char *const stampFormat = "yyyy-MM-dd_HH-mm-ss-zzz";

QString backupName(const QString &dataFile, const QDateTime &moment)
{
    const QFileInfo info(dataFile);
    return QStringLiteral("%1_%2.%3")
        .arg(info.completeBaseName(), moment.toString(QLatin1String(stampFormat)), info.suffix());
}

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

void removeOldBackups(const QString &dataFile)
{
    const QStringList backups = backupsOf(dataFile);
    for (qsizetype i = backupsKept; i < backups.size(); ++i)
        QFile::remove(backups.at(i));
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

QString writeBackup(QString *problem, const QDateTime &moment)
{
    const QString dataFile = DbConnection::instance().filePath();
    if (!DbConnection::instance().isOpen() || dataFile.isEmpty()) {
        *problem = QStringLiteral("l'archivio non è aperto.");
        return {};
    }
    const QString folder = backupFolder(dataFile);
    if (!QDir().mkpath(folder)) {
        *problem = QStringLiteral("non si può creare la cartella «%1».").arg(folder);
        return {};
    }
    // Two closes within the same millisecond still get two copies.
    QDateTime when = moment;
    QString path = QDir(folder).filePath(backupName(dataFile, when));
    while (QFileInfo::exists(path)) {
        when = when.addMSecs(1);
        path = QDir(folder).filePath(backupName(dataFile, when));
    }
    const WriteResult copied = copyDataFileTo(path);
    if (!copied.ok()) {
        QFile::remove(path);
        *problem =
            QStringLiteral("la copia «%1» non si può scrivere: %2").arg(path, copied.error.text());
        return {};
    }
    removeOldBackups(dataFile);
    return path;
}

void writeBackupAtClose()
{
    // A server keeps its archive safe in its own way (its administrator's backups).
    if (DbConnection::instance().isServer())
        return;
    QString problem;
    if (writeBackup(&problem).isEmpty())
        std::fprintf(stderr, "tavelo: backup dell'archivio non riuscito: %s\n",
                     qPrintable(problem));
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
