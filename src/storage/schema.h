// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
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
// The columns that the archive's first version held: a table's columns but those added
// after it. An archive that lacks one of them is not the program's.
QStringList archiveFirstColumns(const QString &table);

// A column appended to one of the tables after the first version. An archive written
// before it lacks it: the program adds it at start, and a session that only reads sees
// it as NULL. The type is the same word on both engines; a caseless text compares
// without regard to case, as the other texts do.
struct AddedColumn
{
    QString table;
    QString column;
    QString type;
    bool caseless = false;
};
const QList<AddedColumn> &addedColumns();
// Whether the column (of any table) was added after the first version; case aside.
bool isAddedColumn(QStringView column);
// The added columns that an archive lacks, given the columns that each of its tables
// holds (lower case, by table name as the program writes it).
QList<AddedColumn> missingAddedColumns(const QHash<QString, QStringList> &presentByTable);
// The statements that append the missing columns, on a file or on a server (whose
// collation for caseless text is "nocase" too).
QStringList addColumnStatements(const QList<AddedColumn> &missing, bool server);
// Temporary views, one for each table that lacks columns, under the table's own name:
// the table's rows as they are, with NULL for the missing columns. `schema` qualifies
// the table under the view ("main" on a file, the archive's schema on a server).
QStringList missingColumnViews(const QList<AddedColumn> &missing, const QString &schema);
// The indexes that the statements need, on either engine.
const QStringList &archiveIndexStatements();
// Whether a column of the program's tables keeps a date (the version stamp's date and
// time included), whatever its table; the name is matched without regard to case.
bool isDateColumn(QStringView column);

// Runs the schema's statements one after the other on a connection being set up; stops
// at the first that fails, with its error.
[[nodiscard]] bool execAll(QSqlDatabase &db, const QStringList &statements, QSqlError *error);
// The same in one transaction: all of them or, rolled back, none; the error is the
// failed statement's or the database's.
[[nodiscard]] bool execAllInTransaction(QSqlDatabase &db, const QStringList &statements,
                                        QSqlError *error);
