// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

// What the archive holds on either engine, below the connection, the server's checks
// and the statements alike.

// The program's tables and each one's columns in table order, as the data file holds
// them.
QStringList archiveTableNames();
QStringList archiveTableColumns(const QString &table);
// The indexes that the statements need, on either engine.
const QStringList &archiveIndexStatements();
// Whether a column of the program's tables keeps a date (the version stamp's date and
// time included), whatever its table; the name is matched without regard to case.
bool isDateColumn(QStringView column);

// Runs the schema's statements one after the other on a connection being set up; stops
// at the first that fails, with its error.
[[nodiscard]] bool execAll(QSqlDatabase &db, const QStringList &statements, QSqlError *error);
