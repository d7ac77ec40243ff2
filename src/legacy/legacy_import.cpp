// SPDX-License-Identifier: GPL-3.0-or-later
#include "legacy/legacy_import.h"

#include "legacy/legacy_database.h"
#include "storage/backups.h"
#include "storage/db_connection.h"
#include "storage/schema.h"
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
Check prepareReplacement(const LegacyImportRequest &request, LegacyImportSummary *summary)
{
    DbConnection &connection = DbConnection::instance();
    if (const Check opened = connection.open(request.dataFile); !opened.ok())
        return Check::failure(
            QStringLiteral("%1\nIl file non viene sostituito.").arg(opened.problem));
    Check prepared = passed();
    const Result<qint64> rows = countArchiveRows();
    if (!rows.ok()) {
        prepared = Check::failure(QStringLiteral("Il file dei dati «%1» non si può leggere: %2")
                                      .arg(request.dataFile, rows.error.text()));
    } else if (rows.value > 0 && !request.replaceExisting) {
        prepared = Check::failure(
            QStringLiteral("Il file dei dati «%1» contiene già soggetti o voci dello "
                           "scadenzario: non viene sostituito. Per sostituirlo usare "
                           "--sostituisci (prima ne viene fatta una copia di sicurezza).")
                .arg(request.dataFile));
    } else if (rows.value > 0) {
        const Outcome<QString> backup = writeBackup();
        summary->replacedFileBackup = backup.value;
        if (!backup.ok())
            prepared = Check::failure(
                QStringLiteral("La copia di sicurezza di «%1» non è riuscita, il file non "
                               "viene sostituito: %2")
                    .arg(request.dataFile, backup.problem));
    }
    connection.close();
    return prepared;
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

    Check copy(const QString &table)
    {
        const Outcome<LegacyDatabase::Table> described = m_legacy.describeTable(table);
        if (!described.ok())
            return Check::failure(described.problem);
        const LegacyDatabase::Table &shape = described.value;
        const QStringList programColumns = DbConnection::tableColumns(table);
        const ColumnMatch match = matchColumns(shape.columns, programColumns);
        const int idColumn = columnIndex(programColumns, QStringLiteral("ID"));
        if (idColumn >= 0 && match.sourceOf.at(idColumn) < 0)
            return Check::failure(
                QStringLiteral("Nella tabella %1 del file «%2» manca la colonna ID.")
                    .arg(table, m_legacyPath));
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
            if (error.isValid())
                return Check::failure(
                    QStringLiteral("tabella %1, riga %2%3: %4")
                        .arg(table)
                        .arg(rowNumber)
                        .arg(idColumn >= 0
                                 ? QStringLiteral(" (ID %1)").arg(row.at(idColumn).toString())
                                 : QString(),
                             error.text()));
            noteOwner(table, programColumns, row);
            ++written;
            if (m_progress)
                m_progress(table, written, shape.declaredRows);
            return passed();
        };
        if (const Outcome<LegacyDatabase::Table> read = m_legacy.readTable(table, writeRow);
            !read.ok())
            return Check::failure(read.problem);
        m_summary.tables.append({table, written});
        return passed();
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
Check startImport(WriteTransaction &transaction, bool emptyFirst)
{
    if (!transaction.started())
        return Check::failure(transaction.error().text());
    const QSqlError emptied = emptyFirst ? emptyArchive() : QSqlError();
    if (emptied.isValid())
        return Check::failure(emptied.text());
    return passed();
}

// Ends the import: new IDs continue after those brought across, then the commit makes
// it durable.
Check finishImport(WriteTransaction &transaction, const QSqlError &moved)
{
    if (moved.isValid())
        return Check::failure(moved.text());
    if (!transaction.commit())
        return Check::failure(transaction.error().text());
    return passed();
}

Check copyAllTables(LegacyDatabase &legacy, const QString &legacyPath, LegacyImportSummary *summary,
                    const ImportProgress &progress, bool emptyFirst = false)
{
    WriteTransaction transaction;
    if (const Check started = startImport(transaction, emptyFirst); !started.ok())
        return started;
    ImportWriter writer;
    TableCopy copy(legacy, writer, *summary, progress);
    copy.setLegacyPath(legacyPath);
    for (const QString &table : DbConnection::tableNames()) {
        // A file without a version stamp keeps the new file's empty one.
        if (table == QLatin1String("Versione") && !legacy.hasTable(table))
            continue;
        if (const Check copied = copy.copy(table); !copied.ok())
            return copied;
    }
    summary->timesLeftOut = writer.timesLeftOut();
    return finishImport(transaction, writer.finish());
}

Check checkResult()
{
    const Result<QString> integrity = checkIntegrity();
    if (!integrity.ok() || integrity.value != QLatin1String("ok"))
        return Check::failure(QStringLiteral("Il controllo del file creato non è riuscito: %1")
                                  .arg(integrity.ok() ? integrity.value : integrity.error.text()));
    return passed();
}

// The complete new file takes the target's place in one step.
Check putInPlace(const QString &built, const QString &target)
{
    // The file replaced keeps the mode its owner gave it.
    if (QFileInfo::exists(target))
        QFile::setPermissions(built, QFile::permissions(target));
    QFile::remove(target + QLatin1String("-wal"));
    QFile::remove(target + QLatin1String("-shm"));
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(built).constData(),
                            QFile::encodeName(target).constData(), error);
    if (error)
        return Check::failure(QStringLiteral("Il file dei dati «%1» non si può scrivere: %2")
                                  .arg(target, QString::fromLocal8Bit(error.message())));
    return passed();
}

// On a server the rows go straight into its database, in one transaction: an archive
// that already holds data is emptied in that same transaction, and only when asked.
Check importIntoServer(LegacyDatabase &legacy, const LegacyImportRequest &request,
                       LegacyImportSummary *summary, const ImportProgress &progress)
{
    if (const Check opened = DbConnection::instance().openServer(request.server); !opened.ok())
        return opened;
    const Result<qint64> rows = countArchiveRows();
    if (!rows.ok())
        return Check::failure(rows.error.text());
    if (rows.value > 0 && !request.replaceExisting)
        return Check::failure(
            QStringLiteral("Il database «%1» contiene già soggetti o voci dello "
                           "scadenzario: non viene sostituito. Per sostituirlo usare "
                           "--sostituisci (le copie di sicurezza sono quelle del server).")
                .arg(DbConnection::instance().archiveName()));
    return copyAllTables(legacy, request.legacyFile, summary, progress, rows.value > 0);
}

} // namespace

ColumnMatch matchColumns(const QStringList &legacyColumns, const QStringList &programColumns)
{
    ColumnMatch match;
    for (const QString &column : programColumns) {
        const int source = columnIndex(legacyColumns, column);
        match.sourceOf << source;
        // The earlier version never had the columns added since: nothing is missing.
        if (source < 0 && !isAddedColumn(column))
            match.missing << column;
    }
    for (const QString &column : legacyColumns) {
        if (columnIndex(programColumns, column) < 0)
            match.leftOut << column;
    }
    return match;
}

namespace {

Check openLegacyFile(LegacyDatabase &legacy, const QString &path)
{
    if (const Check opened = legacy.open(path); !opened.ok())
        return opened;
    for (const QString &table : {QStringLiteral("Utente"), QStringLiteral("Tavelo")}) {
        if (!legacy.hasTable(table))
            return Check::failure(
                QStringLiteral("Il file «%1» non è un archivio della versione precedente: "
                               "manca la tabella %2.")
                    .arg(path, table));
    }
    return passed();
}

// The new file is built beside the target and takes its place only once complete and
// checked.
Check importIntoFile(LegacyDatabase &legacy, const LegacyImportRequest &request,
                     LegacyImportSummary *summary, const ImportProgress &progress)
{
    if (QFileInfo::exists(request.dataFile)) {
        if (const Check prepared = prepareReplacement(request, summary); !prepared.ok())
            return prepared;
    }
    DbConnection &connection = DbConnection::instance();
    const QString built = request.dataFile + QStringLiteral(".importazione");
    removeWithCompanions(built);
    Check imported = connection.open(built);
    if (imported.ok())
        imported = copyAllTables(legacy, request.legacyFile, summary, progress);
    if (imported.ok())
        imported = checkResult();
    connection.close();
    if (imported.ok())
        imported = putInPlace(built, request.dataFile);
    if (!imported.ok())
        removeWithCompanions(built);
    return imported;
}

} // namespace

Outcome<LegacyImportSummary> importLegacyFile(const LegacyImportRequest &request,
                                              const ImportProgress &progress)
{
    QElapsedTimer clock;
    clock.start();
    LegacyImportSummary summary;
    DbConnection &connection = DbConnection::instance();
    connection.close();

    LegacyDatabase legacy;
    if (const Check opened = openLegacyFile(legacy, request.legacyFile); !opened.ok())
        return Outcome<LegacyImportSummary>::failure(opened.problem);
    const Check imported = request.server.isEmpty()
                               ? importIntoFile(legacy, request, &summary, progress)
                               : importIntoServer(legacy, request, &summary, progress);
    if (!request.server.isEmpty())
        connection.close();
    if (!imported.ok())
        return Outcome<LegacyImportSummary>::failure(imported.problem);
    summary.milliseconds = clock.elapsed();
    return {summary, {}};
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
Check copyFileTable(const QSqlDatabase &source, const QString &table, ImportWriter &writer,
                    LegacyImportSummary *summary, const ImportProgress &progress)
{
    RowStream<QVariantList> rows = selectTableForCopy(source, table);
    if (!rows.ok())
        return Check::failure(
            QStringLiteral("tabella %1 del file: %2").arg(table, rows.error().text()));
    int written = 0;
    QVariantList values;
    while (rows.next(&values)) {
        const QSqlError error = table == QLatin1String("Utente") ? writer.insertSubjectRow(values)
                                : table == QLatin1String("Tavelo")
                                    ? writer.insertDiaryEntryRow(values)
                                    : writer.insertVersionRow(values);
        if (error.isValid())
            return Check::failure(QStringLiteral("tabella %1, riga %2: %3")
                                      .arg(table)
                                      .arg(written + 1)
                                      .arg(error.text()));
        ++written;
        if (progress)
            progress(table, written, 0);
    }
    summary->tables.append({table, written});
    return passed();
}

Check copyAllFileTables(const QSqlDatabase &source, bool emptyFirst, LegacyImportSummary *summary,
                        const ImportProgress &progress)
{
    WriteTransaction transaction;
    if (const Check started = startImport(transaction, emptyFirst); !started.ok())
        return started;
    ImportWriter writer;
    for (const QString &table : DbConnection::tableNames()) {
        if (const Check copied = copyFileTable(source, table, writer, summary, progress);
            !copied.ok())
            return copied;
    }
    const Result<QHash<QString, qint64>> usedIds = selectUsedIds(source);
    if (!usedIds.ok())
        return Check::failure(usedIds.error.text());
    return finishImport(transaction, writer.finish(usedIds.value));
}

// The rows of the file onto the server, which must be empty unless replacing was asked.
Check copyOntoServer(const QSqlDatabase &source, const LegacyImportRequest &request,
                     LegacyImportSummary *summary, const ImportProgress &progress)
{
    DbConnection &connection = DbConnection::instance();
    if (const Check opened = connection.openServer(request.server); !opened.ok())
        return opened;
    Check copied = passed();
    const Result<qint64> rows = countArchiveRows();
    if (!rows.ok()) {
        copied = Check::failure(rows.error.text());
    } else if (rows.value > 0 && !request.replaceExisting) {
        copied =
            Check::failure(QStringLiteral("Il database «%1» contiene già soggetti o voci dello "
                                          "scadenzario: non viene sostituito. Per sostituirlo "
                                          "usare --sostituisci (le copie di sicurezza sono "
                                          "quelle del server).")
                               .arg(connection.archiveName()));
    } else {
        copied = copyAllFileTables(source, rows.value > 0, summary, progress);
    }
    connection.close();
    return copied;
}

} // namespace

Outcome<LegacyImportSummary> copyDataFileToServer(const LegacyImportRequest &request,
                                                  const ImportProgress &progress)
{
    QElapsedTimer clock;
    clock.start();
    LegacyImportSummary summary;
    DbConnection &connection = DbConnection::instance();
    // The file is checked first, as the program checks it, and read on a connection of
    // its own while the server is the program's.
    if (const Check opened = connection.open(request.legacyFile, DbConnection::OpenMode::ReadOnly);
        !opened.ok())
        return Outcome<LegacyImportSummary>::failure(opened.problem);
    connection.close();
    const QString sourceName = QStringLiteral("tavelo-copy-source");
    Check copied;
    {
        QSqlDatabase source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), sourceName);
        source.setDatabaseName(request.legacyFile);
        source.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        copied = source.open() ? copyOntoServer(source, request, &summary, progress)
                               : Check::failure(source.lastError().text());
    }
    QSqlDatabase::removeDatabase(sourceName);
    if (!copied.ok())
        return Outcome<LegacyImportSummary>::failure(copied.problem);
    summary.milliseconds = clock.elapsed();
    return {summary, {}};
}
