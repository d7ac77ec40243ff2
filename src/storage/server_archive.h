// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"
#include "storage/schema.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// An archive on a PostgreSQL server, shared by the desks of an office. The program
// names it by a connection string in libpq's form ("host=… dbname=… user=…" or
// "postgresql://…"); passwords come from libpq's own ~/.pgpass or PGPASSWORD, never
// from the program.

// The connection string that the program's settings hold (key "server" of the file
// Tavelo/Tavelo.conf in the XDG configuration folder: the user's, else the computer's),
// or an empty text for the local file.
QString configuredServer();
QString serverSettingKey();

// The connection string checked and turned into the driver's options; an Italian reason
// when it cannot be read or holds a password.
Outcome<QString> serverConnectOptions(const QString &connection);

// The connection string as messages show it: its host, port, database and user.
QString describeServer(const QString &connection);

// Checks that the database holds the program's tables and nothing else; an empty one
// gets them (createWhenEmpty) with the Versione row and the indexes. Fails with an
// Italian reason, leaving a database that is not the program's as it was.
// An archive written before some columns were added passes, and `missing` names them.
Check prepareServerArchive(QSqlDatabase &db, const QString &server, bool createWhenEmpty,
                           QList<AddedColumn> *missing);
// Adds the missing columns, empty, in one transaction (the server's DDL is transactional):
// all of them or, failing, none. `backup` is named in the message of a failure.
Check upgradeServerArchive(QSqlDatabase &db, const QString &server,
                           const QList<AddedColumn> &missing, const QString &backup);
// For a session that will only read: the missing columns as NULL, through temporary views
// that the server searches before the archive's tables. Made before the session turns
// read-only, which forbids creating anything.
Check coverMissingServerColumns(QSqlDatabase &db, const QString &server,
                                const QList<AddedColumn> &missing);

// The tables' shape and the role's permissions, for a desk that writes.
Check checkServerWritable(QSqlDatabase &db, const QString &server);

// Whether the driver's connection to the server is broken (the server went away or
// ended the session); false for a connection to a file.
bool serverConnectionLost(const QSqlDatabase &db);
