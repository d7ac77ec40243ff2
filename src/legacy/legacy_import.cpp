// SPDX-License-Identifier: GPL-3.0-or-later
#include "legacy/legacy_import.h"

#include "legacy/legacy_database.h"
#include "storage/backups.h"
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <filesystem>

namespace {

void removeWithCompanions(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

// An existing data file is replaced only when it is the program's own, and only when it
// is empty or the operator asked for it; a file with data is backed up first.
bool prepareReplacement(const LegacyImportRequest &request, LegacyImportSummary *summary,
                        QString *problem)
{
    DbConnection &connection = DbConnection::instance();
    if (const Check opened = connection.open(request.dataFile); !opened.ok()) {
        *problem = QStringLiteral("%1\nIl file non viene sostituito.").arg(opened.problem);
        return false;
    }
    bool ok = true;
    const Result<qint64> rows = countArchiveRows();
    if (!rows.ok()) {
        *problem = QStringLiteral("Il file dei dati «%1» non si può leggere: %2")
                       .arg(request.dataFile, rows.error.text());
        ok = false;
    } else if (rows.value > 0 && !request.replaceExisting) {
        *problem = QStringLiteral("Il file dei dati «%1» contiene già soggetti o voci dello "
                                  "scadenzario: non viene sostituito. Per sostituirlo usare "
                                  "--sostituisci (prima ne viene fatta una copia di sicurezza).")
                       .arg(request.dataFile);
        ok = false;
    } else if (rows.value > 0) {
        const Outcome<QString> backup = writeBackup();
        summary->replacedFileBackup = backup.value;
        if (!backup.ok()) {
            *problem = QStringLiteral("La copia di sicurezza di «%1» non è riuscita, il file non "
                                      "viene sostituito: %2")
                           .arg(request.dataFile, backup.problem);
            ok = false;
        }
    }
    connection.close();
    return ok;
}

int columnIndex(const QStringList &columns, const QString &name)
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// The rows of one table of the earlier file, written through the import statements.
class TableCopy
{
public:
    TableCopy(LegacyDatabase &legacy, ImportWriter &writer, LegacyImportSummary &summary,
              const ImportProgress &progress)
        : m_legacy(legacy), m_writer(writer), m_summary(summary), m_progress(progress)
    {}

    bool copy(const QString &table, QString *problem)
    {
        LegacyDatabase::Table shape;
        if (!m_legacy.describeTable(table, &shape, problem))
            return false;
        const QStringList programColumns = DbConnection::tableColumns(table);
        const ColumnMatch match = matchColumns(shape.columns, programColumns);
        const int idColumn = columnIndex(programColumns, QStringLiteral("ID"));
        if (idColumn >= 0 && match.sourceOf.at(idColumn) < 0) {
            *problem = QStringLiteral("Nella tabella %1 del file «%2» manca la colonna ID.")
                           .arg(table, m_legacyPath);
            return false;
        }
        for (const QString &column : match.leftOut)
            m_summary.columnsLeftOut << table + QLatin1Char('.') + column;
        for (const QString &column : match.missing)
            m_summary.columnsMissing << table + QLatin1Char('.') + column;

        int written = 0;
        const auto writeRow = [&](int rowNumber, const QVariantList &values) {
            QVariantList row;
            row.reserve(programColumns.size());
            for (int source : match.sourceOf)
                row << (source >= 0 ? values.at(source) : QVariant(QMetaType(QMetaType::QString)));
            const QSqlError error = insert(table, row);
            if (error.isValid()) {
                *problem =
                    QStringLiteral("tabella %1, riga %2%3: %4")
                        .arg(table)
                        .arg(rowNumber)
                        .arg(idColumn >= 0
                                 ? QStringLiteral(" (ID %1)").arg(row.at(idColumn).toString())
                                 : QString(),
                             error.text());
                return false;
            }
            noteOwner(table, programColumns, row);
            ++written;
            if (m_progress)
                m_progress(table, written, shape.declaredRows);
            return true;
        };
        if (!m_legacy.readTable(table, &shape, writeRow, problem))
            return false;
        m_summary.tables.append({table, written});
        return true;
    }

    void setLegacyPath(const QString &path) { m_legacyPath = path; }

private:
    QSqlError insert(const QString &table, const QVariantList &row)
    {
        if (table == QLatin1String("Utente"))
            return m_writer.insertSubjectRow(row);
        if (table == QLatin1String("Tavelo"))
            return m_writer.insertDiaryEntryRow(row);
        return m_writer.insertVersionRow(row);
    }

    // Entries whose owner is gone come across as they are; the summary counts them.
    void noteOwner(const QString &table, const QStringList &columns, const QVariantList &row)
    {
        if (table == QLatin1String("Utente")) {
            m_subjects.insert(row.at(columnIndex(columns, QStringLiteral("ID"))).toLongLong());
        } else if (table == QLatin1String("Tavelo")) {
            const QVariant owner = row.at(columnIndex(columns, QStringLiteral("Utente")));
            if (owner.isNull() || !m_subjects.contains(owner.toLongLong()))
                ++m_summary.orphanEntries;
        }
    }

    LegacyDatabase &m_legacy;
    ImportWriter &m_writer;
    LegacyImportSummary &m_summary;
    const ImportProgress &m_progress;
    QSet<qint64> m_subjects;
    QString m_legacyPath;
};

// The import's one transaction, on an archive emptied first when it is replaced.
bool startImport(WriteTransaction &transaction, bool emptyFirst, QString *problem)
{
    if (!transaction.started()) {
        *problem = transaction.error().text();
        return false;
    }
    const QSqlError emptied = emptyFirst ? emptyArchive() : QSqlError();
    if (emptied.isValid()) {
        *problem = emptied.text();
        return false;
    }
    return true;
}

bool copyAllTables(LegacyDatabase &legacy, const QString &legacyPath, LegacyImportSummary *summary,
                   QString *problem, const ImportProgress &progress, bool emptyFirst = false)
{
    WriteTransaction transaction;
    if (!startImport(transaction, emptyFirst, problem))
        return false;
    ImportWriter writer;
    TableCopy copy(legacy, writer, *summary, progress);
    copy.setLegacyPath(legacyPath);
    for (const QString &table : DbConnection::tableNames()) {
        // A file without a version stamp keeps the new file's empty one.
        if (table == QLatin1String("Versione") && !legacy.hasTable(table))
            continue;
        if (!copy.copy(table, problem))
            return false;
    }
    summary->timesLeftOut = writer.timesLeftOut();
    const QSqlError moved = writer.finish();
    if (moved.isValid()) {
        *problem = moved.text();
        return false;
    }
    if (!transaction.commit()) {
        *problem = transaction.error().text();
        return false;
    }
    return true;
}

bool checkResult(QString *problem)
{
    const Result<QString> integrity = checkIntegrity();
    if (!integrity.ok() || integrity.value != QLatin1String("ok")) {
        *problem = QStringLiteral("Il controllo del file creato non è riuscito: %1")
                       .arg(integrity.ok() ? integrity.value : integrity.error.text());
        return false;
    }
    return true;
}

// The complete new file takes the target's place in one step.
bool putInPlace(const QString &built, const QString &target, QString *problem)
{
    // The file replaced keeps the mode its owner gave it.
    if (QFileInfo::exists(target))
        QFile::setPermissions(built, QFile::permissions(target));
    QFile::remove(target + QLatin1String("-wal"));
    QFile::remove(target + QLatin1String("-shm"));
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(built).constData(),
                            QFile::encodeName(target).constData(), error);
    if (error) {
        *problem = QStringLiteral("Il file dei dati «%1» non si può scrivere: %2")
                       .arg(target, QString::fromLocal8Bit(error.message()));
        return false;
    }
    return true;
}

// On a server the rows go straight into its database, in one transaction: an archive
// that already holds data is emptied in that same transaction, and only when asked.
bool importIntoServer(LegacyDatabase &legacy, const LegacyImportRequest &request,
                      LegacyImportSummary *summary, QString *problem,
                      const ImportProgress &progress)
{
    if (const Check opened = DbConnection::instance().openServer(request.server); !opened.ok()) {
        *problem = opened.problem;
        return false;
    }
    const Result<qint64> rows = countArchiveRows();
    if (!rows.ok()) {
        *problem = rows.error.text();
        return false;
    }
    if (rows.value > 0 && !request.replaceExisting) {
        *problem = QStringLiteral("Il database «%1» contiene già soggetti o voci dello "
                                  "scadenzario: non viene sostituito. Per sostituirlo usare "
                                  "--sostituisci (le copie di sicurezza sono quelle del server).")
                       .arg(DbConnection::instance().archiveName());
        return false;
    }
    return copyAllTables(legacy, request.legacyFile, summary, problem, progress, rows.value > 0);
}

} // namespace

ColumnMatch matchColumns(const QStringList &legacyColumns, const QStringList &programColumns)
{
    ColumnMatch match;
    for (const QString &column : programColumns) {
        const int source = columnIndex(legacyColumns, column);
        match.sourceOf << source;
        if (source < 0)
            match.missing << column;
    }
    for (const QString &column : legacyColumns) {
        if (columnIndex(programColumns, column) < 0)
            match.leftOut << column;
    }
    return match;
}

bool importLegacyFile(const LegacyImportRequest &request, LegacyImportSummary *summary,
                      QString *problem, const ImportProgress &progress)
{
    QElapsedTimer clock;
    clock.start();
    *summary = {};
    DbConnection &connection = DbConnection::instance();
    connection.close();

    LegacyDatabase legacy;
    if (!legacy.open(request.legacyFile, problem))
        return false;
    for (const QString &table : {QStringLiteral("Utente"), QStringLiteral("Tavelo")}) {
        if (!legacy.hasTable(table)) {
            *problem = QStringLiteral("Il file «%1» non è un archivio della versione precedente: "
                                      "manca la tabella %2.")
                           .arg(request.legacyFile, table);
            return false;
        }
    }
    if (!request.server.isEmpty()) {
        const bool ok = importIntoServer(legacy, request, summary, problem, progress);
        connection.close();
        summary->milliseconds = clock.elapsed();
        return ok;
    }
    if (QFileInfo::exists(request.dataFile) && !prepareReplacement(request, summary, problem))
        return false;

    const QString built = request.dataFile + QStringLiteral(".importazione");
    removeWithCompanions(built);
    const Check opened = connection.open(built);
    if (!opened.ok())
        *problem = opened.problem;
    bool ok = opened.ok() &&
              copyAllTables(legacy, request.legacyFile, summary, problem, progress) &&
              checkResult(problem);
    connection.close();
    if (ok)
        ok = putInPlace(built, request.dataFile, problem);
    if (!ok)
        removeWithCompanions(built);
    summary->milliseconds = clock.elapsed();
    return ok;
}

QString importSummaryText(const LegacyImportSummary &summary)
{
    QString text;
    for (const LegacyImportSummary::TableRows &table : summary.tables)
        text += QStringLiteral("  %1 %2 %3\n")
                    .arg(table.table + QLatin1Char(':'), -10)
                    .arg(table.rows)
                    .arg(table.rows == 1 ? QStringLiteral("riga") : QStringLiteral("righe"));
    if (summary.orphanEntries > 0)
        text += QStringLiteral("  voci di soggetti non più presenti (riportate, non mostrate): "
                               "%1\n")
                    .arg(summary.orphanEntries);
    if (summary.timesLeftOut > 0)
        text += QStringLiteral("  ore diverse dalla mezzanotte in colonne di sole date "
                               "(tenuta la data): %1\n")
                    .arg(summary.timesLeftOut);
    if (!summary.columnsLeftOut.isEmpty())
        text += QStringLiteral("  colonne lasciate fuori: %1\n")
                    .arg(summary.columnsLeftOut.join(QStringLiteral(", ")));
    if (!summary.columnsMissing.isEmpty())
        text += QStringLiteral("  colonne assenti nel file (lasciate vuote): %1\n")
                    .arg(summary.columnsMissing.join(QStringLiteral(", ")));
    if (!summary.replacedFileBackup.isEmpty())
        text += QStringLiteral("  copia del file sostituito: %1\n").arg(summary.replacedFileBackup);
    return text;
}

bool isSqliteFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

namespace {

// The rows of one table of the file, written onto the server with their IDs.
bool copyFileTable(const QSqlDatabase &source, const QString &table, ImportWriter &writer,
                   LegacyImportSummary *summary, QString *problem, const ImportProgress &progress)
{
    RowStream<QVariantList> rows = selectTableForCopy(source, table);
    if (!rows.ok()) {
        *problem = QStringLiteral("tabella %1 del file: %2").arg(table, rows.error().text());
        return false;
    }
    int written = 0;
    QVariantList values;
    while (rows.next(&values)) {
        const QSqlError error = table == QLatin1String("Utente") ? writer.insertSubjectRow(values)
                                : table == QLatin1String("Tavelo")
                                    ? writer.insertDiaryEntryRow(values)
                                    : writer.insertVersionRow(values);
        if (error.isValid()) {
            *problem = QStringLiteral("tabella %1, riga %2: %3")
                           .arg(table)
                           .arg(written + 1)
                           .arg(error.text());
            return false;
        }
        ++written;
        if (progress)
            progress(table, written, 0);
    }
    summary->tables.append({table, written});
    return true;
}

bool copyAllFileTables(const QSqlDatabase &source, bool emptyFirst, LegacyImportSummary *summary,
                       QString *problem, const ImportProgress &progress)
{
    WriteTransaction transaction;
    if (!startImport(transaction, emptyFirst, problem))
        return false;
    ImportWriter writer;
    for (const QString &table : DbConnection::tableNames()) {
        if (!copyFileTable(source, table, writer, summary, problem, progress))
            return false;
    }
    const Result<QHash<QString, qint64>> usedIds = selectUsedIds(source);
    if (!usedIds.ok()) {
        *problem = usedIds.error.text();
        return false;
    }
    const QSqlError moved = writer.finish(usedIds.value);
    if (moved.isValid()) {
        *problem = moved.text();
        return false;
    }
    if (!transaction.commit()) {
        *problem = transaction.error().text();
        return false;
    }
    return true;
}

} // namespace

bool copyDataFileToServer(const LegacyImportRequest &request, LegacyImportSummary *summary,
                          QString *problem, const ImportProgress &progress)
{
    QElapsedTimer clock;
    clock.start();
    *summary = {};
    DbConnection &connection = DbConnection::instance();
    // The file is checked first, as the program checks it, and read on a connection of
    // its own while the server is the program's.
    if (const Check opened = connection.open(request.legacyFile, DbConnection::OpenMode::ReadOnly);
        !opened.ok()) {
        *problem = opened.problem;
        return false;
    }
    connection.close();
    const QString sourceName = QStringLiteral("tavelo-copy-source");
    bool ok = false;
    {
        QSqlDatabase source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), sourceName);
        source.setDatabaseName(request.legacyFile);
        source.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!source.open()) {
            *problem = source.lastError().text();
        } else if (const Check opened = connection.openServer(request.server); !opened.ok()) {
            *problem = opened.problem;
        } else {
            const Result<qint64> rows = countArchiveRows();
            if (!rows.ok()) {
                *problem = rows.error.text();
            } else if (rows.value > 0 && !request.replaceExisting) {
                *problem = QStringLiteral("Il database «%1» contiene già soggetti o voci dello "
                                          "scadenzario: non viene sostituito. Per sostituirlo "
                                          "usare --sostituisci (le copie di sicurezza sono "
                                          "quelle del server).")
                               .arg(connection.archiveName());
            } else {
                ok = copyAllFileTables(source, rows.value > 0, summary, problem, progress);
            }
            connection.close();
        }
    }
    QSqlDatabase::removeDatabase(sourceName);
    summary->milliseconds = clock.elapsed();
    return ok;
}
