// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/server_copy.h"

#include "core/dates.h"
#include "storage/db_connection.h"
#include "storage/italian_collation.h"
#include "storage/schema.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const char *const copyConnection = "tavelo-server-copy";

// A date is stored as the file stores it (the version stamp with its time of day).
QVariant asStored(const QVariant &value)
{
    if (value.isNull())
        return QVariant(QMetaType(QMetaType::QString));
    if (value.typeId() == QMetaType::QDate)
        return toStoredDate(value.toDate());
    if (value.typeId() == QMetaType::QDateTime)
        return toStoredDateTime(value.toDateTime());
    return value;
}

// One table, read in the order that the program gives its rows (the version stamp's
// first row first), written with the columns that the server has.
bool copyTable(const QSqlDatabase &server, QSqlDatabase &file, const QString &table,
               QSqlError *error)
{
    QSqlQuery rows(server);
    rows.setForwardOnly(true);
    const QString order =
        table == QLatin1String("Versione") ? QStringLiteral("Riga") : QStringLiteral("ID");
    if (!rows.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table, order))) {
        *error = rows.lastError();
        return false;
    }
    QStringList columns;
    QList<int> fields;
    const QSqlRecord record = rows.record();
    for (const QString &column : archiveTableColumns(table)) {
        if (const int field = record.indexOf(column.toLower()); field >= 0) {
            columns << column;
            fields << field;
        }
    }
    QSqlQuery insert(file);
    if (!insert.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(
                    table, columns.join(QStringLiteral(", ")),
                    QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))))) {
        *error = insert.lastError();
        return false;
    }
    while (rows.next()) {
        for (int i = 0; i < fields.size(); ++i)
            insert.bindValue(i, asStored(rows.value(fields.at(i))));
        if (!insert.exec()) {
            *error = insert.lastError();
            return false;
        }
    }
    if (rows.lastError().isValid()) {
        *error = rows.lastError();
        return false;
    }
    return true;
}

bool copyAll(const QSqlDatabase &server, QSqlDatabase &file, QSqlError *error)
{
    // The new file's empty version stamp gives way to the server's.
    if (!file.transaction() ||
        !execAll(file,
                 DbConnection::fileSchemaStatements() + DbConnection::indexStatements() +
                     QStringList{QStringLiteral("DELETE FROM Versione")},
                 error))
        return false;
    for (const QString &table : archiveTableNames()) {
        if (!copyTable(server, file, table, error))
            return false;
    }
    return file.commit();
}

} // namespace

QSqlError copyServerArchiveTo(const QSqlDatabase &server, const QString &path)
{
    QSqlError error;
    {
        QSqlDatabase file =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(copyConnection));
        file.setDatabaseName(path);
        // The registry's index sorts through the collation.
        const bool copied =
            file.open() && registerItalianCollation(file) && copyAll(server, file, &error);
        if (!copied && !error.isValid())
            error = file.lastError();
        if (!copied)
            file.rollback();
        if (!copied && !error.isValid())
            error =
                QSqlError(QString(), QStringLiteral("copia non riuscita"), QSqlError::UnknownError);
    }
    QSqlDatabase::removeDatabase(QLatin1String(copyConnection));
    return error;
}
