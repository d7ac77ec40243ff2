// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/side_connection.h"

#include "storage/db_connection.h"
#include "storage/italian_collation.h"
#include "storage/sqlite_handle.h"

#include <sqlite3.h>

namespace {

// How long a read waits for a writer that holds the file, in milliseconds.
const int busyTimeout = 5000;
// How many of the engine's steps run between two looks at the stop flag.
const int stepsBetweenLooks = 10000;

QString uniqueName()
{
    static std::atomic<int> made{0};
    return QStringLiteral("tavelo-side-%1").arg(++made);
}

int stopRequested(void *flag)
{
    return static_cast<const std::atomic<bool> *>(flag)->load() ? 1 : 0;
}

} // namespace

ArchivePlace ArchivePlace::ofOpenArchive()
{
    DbConnection &connection = DbConnection::instance();
    if (!connection.isOpen())
        return {};
    if (connection.isServer())
        return {QString(), connection.database().connectionName()};
    return {connection.filePath(), QString()};
}

SideConnection::SideConnection(const ArchivePlace &place, const std::atomic<bool> *stop)
    : m_name(uniqueName())
{
    QSqlDatabase db;
    if (!place.serverConnection.isEmpty()) {
        db = QSqlDatabase::cloneDatabase(place.serverConnection, m_name);
        db.open();
        return;
    }
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(place.filePath);
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
    // The registry's index sorts through the collation: a statement that meets it
    // without it would fail.
    if (!db.open() || !registerItalianCollation(db)) {
        db.close();
        return;
    }
    if (stop)
        sqlite3_progress_handler(sqliteHandle(db), stepsBetweenLooks, stopRequested,
                                 const_cast<std::atomic<bool> *>(stop));
}

SideConnection::~SideConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool SideConnection::isOpen() const
{
    return QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase SideConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}
