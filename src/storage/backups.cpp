// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/backups.h"

#include "core/disk_sync.h"
#include "core/owner_only_files.h"
#include "storage/backup_check.h"
#include "storage/backup_files.h"
#include "storage/db_connection.h"
#include "storage/file_check.h"
#include "storage/server_copy.h"
#include "storage/statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <filesystem>
#include <functional>

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

// The copy is checked and on the disk before it takes a backup's name.
Check finishCopy(const QString &part, const QString &path)
{
    QFile::setPermissions(part, QFile::ReadOwner | QFile::WriteOwner);
    if (!isSoundBackup(part))
        return Check::failure(QStringLiteral("la copia «%1» non supera il controllo.").arg(part));
    std::error_code error;
    if (syncFileToDisk(part)) {
        std::filesystem::rename(QFile::encodeName(part).constData(),
                                QFile::encodeName(path).constData(), error);
    } else {
        error = std::make_error_code(std::errc::io_error);
    }
    if (error)
        return Check::failure(QStringLiteral("la copia «%1» non si può scrivere: %2")
                                  .arg(path, QString::fromLocal8Bit(error.message())));
    syncFolderToDisk(QFileInfo(path).absolutePath());
    return passed();
}

// A copy written by `copy` into a new file among the backups of dataFile, which is named
// after it.
Outcome<QString> writeCopy(const QString &dataFile, const QDateTime &moment,
                           const std::function<QSqlError(const QString &part)> &copy)
{
    const QString folder = backupFolder(dataFile);
    if (!makeOwnerOnlyFolder(folder))
        return Outcome<QString>::failure(
            QStringLiteral("non si può creare la cartella «%1».").arg(folder));
    // Two closes within the same millisecond still get two copies.
    QDateTime when = moment;
    QString path = QDir(folder).filePath(backupName(dataFile, when));
    while (QFileInfo::exists(path)) {
        when = when.addMSecs(1);
        path = QDir(folder).filePath(backupName(dataFile, when));
    }
    removeBackupLeftovers(dataFile);
    const QString part = QDir(folder).filePath(QLatin1Char('.') + QFileInfo(path).fileName() +
                                               QLatin1String(partSuffix));
    createOwnerOnlyFile(part);
    if (const QSqlError copied = copy(part); copied.isValid()) {
        removeWithJournal(part);
        return Outcome<QString>::failure(
            QStringLiteral("la copia «%1» non si può scrivere: %2").arg(path, copied.text()));
    }
    const Check finished = finishCopy(part, path);
    if (!finished.ok()) {
        removeWithJournal(part);
        return Outcome<QString>::failure(finished.problem);
    }
    removeOldBackups(dataFile);
    return {path, {}};
}

} // namespace

Outcome<QString> writeBackup(const QDateTime &moment)
{
    const QString dataFile = DbConnection::instance().filePath();
    if (!DbConnection::instance().isOpen() || dataFile.isEmpty())
        return Outcome<QString>::failure(QStringLiteral("l'archivio non è aperto."));
    return writeCopy(dataFile, moment,
                     [](const QString &part) { return copyDataFileTo(part).error; });
}

QString serverBackupBase()
{
    return QFileInfo(DbConnection::locateDataFile())
        .dir()
        .filePath(QStringLiteral("Server.sqlite"));
}

Outcome<QString> writeServerBackup(const QSqlDatabase &server, const QDateTime &moment)
{
    // A desk of a server may have no data folder yet: it is made as for a data file.
    makeOwnerOnlyFolder(QFileInfo(serverBackupBase()).absolutePath());
    return writeCopy(serverBackupBase(), moment,
                     [&server](const QString &part) { return copyServerArchiveTo(server, part); });
}

void writeBackupAtClose()
{
    // A server keeps its archive safe in its own way (its administrator's backups).
    if (DbConnection::instance().isServer())
        return;
    // A damaged file makes no backup (and the operator has been told).
    if (!FileCheck::instance().waitForVerdict().isEmpty())
        return;
    const Outcome<QString> backup = writeBackup();
    if (!backup.ok())
        std::fprintf(stderr, "tavelo: backup dell'archivio non riuscito: %s\n",
                     qPrintable(backup.problem));
}
