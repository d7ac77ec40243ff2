// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>

struct sqlite3;

// The SQLite connection under a Qt one, where the program registers its own collation and
// functions; nullptr on a server or a connection that is not open.
sqlite3 *sqliteHandle(const QSqlDatabase &db);
