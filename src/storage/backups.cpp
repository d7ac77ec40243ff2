// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/backups.h"

#include "storage/backup_files.h"
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

} // namespace

Outcome<QString> writeBackup(const QDateTime &moment)
{
    const QString dataFile = DbConnection::instance().filePath();
    if (!DbConnection::instance().isOpen() || dataFile.isEmpty()) {
        return Outcome<QString>::failure(QStringLiteral("l'archivio non è aperto."));
    }
    const QString folder = backupFolder(dataFile);
    if (!QDir().mkpath(folder)) {
        return Outcome<QString>::failure(
            QStringLiteral("non si può creare la cartella «%1».").arg(folder));
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
        return Outcome<QString>::failure(
            QStringLiteral("la copia «%1» non si può scrivere: %2").arg(path, copied.error.text()));
    }
    removeOldBackups(dataFile);
    return {path, {}};
}

void writeBackupAtClose()
{
    // A server keeps its archive safe in its own way (its administrator's backups).
    if (DbConnection::instance().isServer())
        return;
    const Outcome<QString> backup = writeBackup();
    if (!backup.ok())
        std::fprintf(stderr, "tavelo: backup dell'archivio non riuscito: %s\n",
                     qPrintable(backup.problem));
}
