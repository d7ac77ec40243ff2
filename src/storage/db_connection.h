// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"
#include "storage/schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

// The one connection to the data file, opened by start-up and shared by every window.
class DbConnection
{
public:
    static DbConnection &instance();

    // Where the data file is: beside the program when a file of that name is already
    // there (a portable installation), otherwise in the user's data folder.
    static QString locateDataFile();
    static QString dataFileName() { return QStringLiteral("Database.sqlite"); }

    enum class OpenMode {
        // The program: creates a missing file, adds missing indexes, and makes sure at
        // once that the file can be written.
        ReadWrite,
        // A command that only reads: the file must exist and is left as it was.
        ReadOnly,
    };

    // Opens an existing file after checking that it holds the program's tables, or
    // (ReadWrite only) creates a new one. A failure says in Italian what is wrong and
    // what to do; an existing file that fails the check is left exactly as it was. The
    // check of every page (FileCheck) follows once the program runs, unless the open
    // itself has to write to the file.
    Check open(const QString &path, OpenMode mode = OpenMode::ReadWrite);
    bool isOpen() const;
    void close();

    // Opens the archive on a PostgreSQL server named by a connection string in libpq's
    // form. An empty database gets the program's tables (ReadWrite only); one that
    // holds other tables or lacks a column is refused with an Italian description.
    Check openServer(const QString &connection, OpenMode mode = OpenMode::ReadWrite);
    // Whether the open archive is on a server rather than in a file.
    bool isServer() const { return !m_server.isEmpty(); }
    // The archive as messages name it: the file's path, or the server and database.
    QString archiveName() const;

    QSqlDatabase database() const;
    QString filePath() const { return m_path; }

    // The program's tables and each one's columns in table order, as the data file
    // holds them.
    static QStringList tableNames();
    static QStringList tableColumns(const QString &table);
    // The columns that the first version's archive held (the diary grid shows those).
    static QStringList firstColumns(const QString &table);
    // The statements that make a new data file's tables.
    static const QStringList &fileSchemaStatements();
    // The indexes that the statements need, on either engine.
    static const QStringList &indexStatements();

private:
    DbConnection() = default;
    Check checkExisting(const QString &path, bool *checkedNow, QList<AddedColumn> *missing);
    Check upgrade(const QString &path, const QList<AddedColumn> &missing);
    Check createNew(const QString &path);
    // An older file gets its indexes with its columns, as it is upgraded.
    Check openReadWrite(const QString &path, bool upgrading);
    Check openReadOnly(const QString &path);

    QString m_path;
    QString m_server;
    bool m_readOnly = false;
};

// The operator's message for a failed database step.
QString databaseErrorMessage(const QSqlError &error);

// Every write is one transaction: commit() makes it durable, leaving the scope without
// it rolls everything back.
class WriteTransaction
{
public:
    WriteTransaction();
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    bool started() const { return m_started; }
    QSqlError error() const { return m_error; }
    bool commit();

private:
    QSqlDatabase m_db;
    bool m_started = false;
    bool m_done = false;
    QSqlError m_error;
};
