// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/sqlite_handle.h"

#include <QSqlDriver>
#include <QVariant>

#include <cstring>

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}
