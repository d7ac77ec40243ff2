// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/schema.h"

#include <QSqlQuery>

namespace {

struct TableShape
{
    const char *name;
    QStringList columns;
};

const QList<TableShape> &tableShapes()
{
    static const QList<TableShape> tables = {
        {"Utente",
         {"ID", "Soggetto", "indirizzo", "Comune", "pr", "cap", "Codice", "Partita", "utente",
          "email", "telefono", "cell", "fax", "Pwd", "Annotazione"}},
        {"Tavelo",
         {"ID", "data", "scadenza", "Oggetto", "ndoc", "Utente", "AGG", "Ripeti", "Chiusa"}},
        {"Versione", {"Versione"}},
    };
    return tables;
}

} // namespace

QStringList archiveTableNames()
{
    QStringList names;
    for (const TableShape &table : tableShapes())
        names << QLatin1String(table.name);
    return names;
}

QStringList archiveTableColumns(const QString &table)
{
    for (const TableShape &shape : tableShapes()) {
        if (table.compare(QLatin1String(shape.name), Qt::CaseInsensitive) == 0)
            return shape.columns;
    }
    return {};
}

QStringList archiveFirstColumns(const QString &table)
{
    QStringList columns = archiveTableColumns(table);
    columns.removeIf([](const QString &column) { return isAddedColumn(column); });
    return columns;
}

const QList<AddedColumn> &addedColumns()
{
    // Repeating deadlines (an iCalendar rule) and closed ones (the day).
    static const QList<AddedColumn> columns = {
        {QStringLiteral("Tavelo"), QStringLiteral("Ripeti"), QStringLiteral("TEXT"), true},
        {QStringLiteral("Tavelo"), QStringLiteral("Chiusa"), QStringLiteral("DATE"), false},
    };
    return columns;
}

bool isAddedColumn(QStringView column)
{
    for (const AddedColumn &added : addedColumns()) {
        if (column.compare(added.column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QList<AddedColumn> missingAddedColumns(const QHash<QString, QStringList> &presentByTable)
{
    QList<AddedColumn> missing;
    for (const AddedColumn &added : addedColumns()) {
        if (!presentByTable.value(added.table).contains(added.column.toLower()))
            missing << added;
    }
    return missing;
}

QStringList addColumnStatements(const QList<AddedColumn> &missing, bool server)
{
    QStringList statements;
    for (const AddedColumn &added : missing) {
        // Another desk may have added it while this one looked.
        statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2%3 %4%5")
                          .arg(added.table, server ? QStringLiteral("IF NOT EXISTS ") : QString(),
                               added.column, added.type,
                               added.caseless ? (server ? QStringLiteral(" COLLATE nocase")
                                                        : QStringLiteral(" COLLATE NOCASE"))
                                              : QString());
    }
    return statements;
}

QStringList missingColumnViews(const QList<AddedColumn> &missing, const QString &schema)
{
    QStringList tables;
    QHash<QString, QStringList> nulls;
    for (const AddedColumn &added : missing) {
        if (!tables.contains(added.table))
            tables << added.table;
        nulls[added.table] << QStringLiteral("CAST(NULL AS %1)%2 AS %3")
                                  .arg(added.type,
                                       added.caseless ? QStringLiteral(" COLLATE nocase")
                                                      : QString(),
                                       added.column);
    }
    QStringList statements;
    for (const QString &table : tables) {
        statements << QStringLiteral("CREATE TEMP VIEW %1 AS SELECT *, %2 FROM %3.%1")
                          .arg(table, nulls.value(table).join(QStringLiteral(", ")), schema);
    }
    return statements;
}

const QStringList &archiveIndexStatements()
{
    static const QStringList statements = {
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS TaveloUtenteScadenza ON Tavelo (Utente, scadenza)"),
        // The deadlines still open, in the overview's order: the overview, its search, the
        // calendar and the all-users report read no closed entry, however many years of
        // them the diary keeps. (Archives of earlier versions keep their index on scadenza
        // alone, which nothing reads now.)
        QStringLiteral("CREATE INDEX IF NOT EXISTS TaveloAperte ON Tavelo (scadenza, ID) "
                       "WHERE Chiusa IS NULL AND scadenza IS NOT NULL"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS UtenteSoggetto ON Utente (Soggetto)"),
        // The registry grid's pages in Italian order, each found without a pass over the
        // table. A file's index names the collation that every connection of the program
        // registers; a tool without it reads the file but cannot write Utente.
        QStringLiteral("CREATE INDEX IF NOT EXISTS UtenteSoggettoItaliano ON Utente "
                       "(Soggetto COLLATE ITALIAN, ID)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS UtenteCodice ON Utente (Codice)"),
        // The user list at every start: the users, found without reading every subject.
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS UtenteUtenteSoggetto ON Utente (utente, Soggetto)"),
    };
    return statements;
}

bool isDateColumn(QStringView column)
{
    for (const char *name : {"data", "scadenza", "AGG", "Chiusa", "Versione"}) {
        if (column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool execAll(QSqlDatabase &db, const QStringList &statements, QSqlError *error)
{
    for (const QString &sql : statements) {
        QSqlQuery query(db);
        if (!query.exec(sql)) {
            *error = query.lastError();
            return false;
        }
    }
    return true;
}

bool execAllInTransaction(QSqlDatabase &db, const QStringList &statements, QSqlError *error)
{
    if (db.transaction() && execAll(db, statements, error) && db.commit())
        return true;
    if (!error->isValid())
        *error = db.lastError();
    db.rollback();
    return false;
}
