// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/backups.h"

#include "core/disk_sync.h"
#include "core/owner_only_files.h"
#include "storage/backup_check.h"
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <filesystem>

namespace {

const char *const stampFormat = "yyyy-MM-dd_HH-mm-ss-zzz";
// A copy being written has a name that is not a backup's: killed half-way, it is never
// taken for one, and the next backup removes it.
const char *const partSuffix = ".part";

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

void removeWithJournal(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QLatin1String("-journal"));
}

void removeLeftovers(const QString &dataFile)
{
    const QDir folder(backupFolder(dataFile));
    const QRegularExpression pattern = leftoverPattern(dataFile);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (pattern.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
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

// The copy is checked and on the disk before it takes a backup's name.
bool finishCopy(const QString &part, const QString &path, QString *problem)
{
    QFile::setPermissions(part, QFile::ReadOwner | QFile::WriteOwner);
    if (!isSoundBackup(part)) {
        *problem = QStringLiteral("la copia «%1» non supera il controllo.").arg(part);
        return false;
    }
    std::error_code error;
    if (syncFileToDisk(part)) {
        std::filesystem::rename(QFile::encodeName(part).constData(),
                                QFile::encodeName(path).constData(), error);
    } else {
        error = std::make_error_code(std::errc::io_error);
    }
    if (error) {
        *problem = QStringLiteral("la copia «%1» non si può scrivere: %2")
                       .arg(path, QString::fromLocal8Bit(error.message()));
        return false;
    }
    syncFolderToDisk(QFileInfo(path).absolutePath());
    return true;
}

} // namespace

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

QString writeBackup(QString *problem, const QDateTime &moment)
{
    const QString dataFile = DbConnection::instance().filePath();
    if (!DbConnection::instance().isOpen() || dataFile.isEmpty()) {
        *problem = QStringLiteral("l'archivio non è aperto.");
        return {};
    }
    const QString folder = backupFolder(dataFile);
    if (!makeOwnerOnlyFolder(folder)) {
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
    removeLeftovers(dataFile);
    const QString part = QDir(folder).filePath(QLatin1Char('.') + QFileInfo(path).fileName() +
                                               QLatin1String(partSuffix));
    createOwnerOnlyFile(part);
    const WriteResult copied = copyDataFileTo(part);
    if (!copied.ok()) {
        removeWithJournal(part);
        *problem =
            QStringLiteral("la copia «%1» non si può scrivere: %2").arg(path, copied.error.text());
        return {};
    }
    if (!finishCopy(part, path, problem)) {
        removeWithJournal(part);
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
