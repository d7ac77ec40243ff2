// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/backup_check.h"

#include "storage/italian_collation.h"
#include "storage/schema.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>

namespace {

const char *const checkConnection = "tavelo-backup-check";

bool holdsProgramTables(QSqlDatabase &db)
{
    for (const QString &table : archiveTableNames()) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            return false;
        QStringList present;
        while (query.next())
            present << query.value(1).toString().toLower();
        // Backups written before some columns were added lack them, and are backups
        // all the same: the program upgrades such a file when it is put back.
        for (const QString &column : archiveFirstColumns(table)) {
            if (!present.contains(column.toLower()))
                return false;
        }
    }
    return true;
}

bool passesQuickCheck(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return false;
    return query.value(0).toString() == QLatin1String("ok") && !query.next();
}

} // namespace

bool isSoundBackup(const QString &path)
{
    // A journal beside it is the mark of a write that never ended.
    if (!QFileInfo(path).isFile() || QFileInfo::exists(path + QLatin1String("-journal")))
        return false;
    bool sound = false;
    {
        // Read as it stands: no lock, no log created beside it.
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(checkConnection));
        db.setDatabaseName(
            QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
            QLatin1String("?immutable=1"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        // The check reads the registry's index, which sorts through the collation.
        sound = db.open() && registerItalianCollation(db) && passesQuickCheck(db) &&
                holdsProgramTables(db);
    }
    QSqlDatabase::removeDatabase(QLatin1String(checkConnection));
    return sound;
}
