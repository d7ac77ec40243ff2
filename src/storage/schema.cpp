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
        {"Tavelo", {"ID", "data", "scadenza", "Oggetto", "ndoc", "Utente", "AGG"}},
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
