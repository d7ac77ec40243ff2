// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/db_connection.h"

#include "core/owner_only_files.h"
#include "storage/backup_files.h"
#include "storage/backups.h"
#include "storage/file_check.h"
#include "storage/italian_collation.h"
#include "storage/open_problems.h"
#include "storage/schema.h"
#include "storage/server_archive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>

namespace {

const char *const connectionName = "tavelo";
// How long a step waits for another program that holds the file, in milliseconds.
const int busyTimeout = 5000;

// Text columns compare and sort without regard to case, as the program has always
// matched names and codes; IDs are never reused, so a deleted entry's ID cannot come
// back under another entry.
const QStringList &schemaStatements()
{
    static const QStringList statements = {
        QStringLiteral("CREATE TABLE Utente ("
                       "ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Soggetto TEXT COLLATE NOCASE, indirizzo TEXT COLLATE NOCASE, "
                       "Comune TEXT COLLATE NOCASE, pr TEXT COLLATE NOCASE, "
                       "cap TEXT COLLATE NOCASE, Codice TEXT COLLATE NOCASE, "
                       "Partita TEXT COLLATE NOCASE, utente TEXT COLLATE NOCASE, "
                       "email TEXT COLLATE NOCASE, telefono TEXT COLLATE NOCASE, "
                       "cell TEXT COLLATE NOCASE, fax TEXT COLLATE NOCASE, Pwd TEXT, "
                       "Annotazione TEXT COLLATE NOCASE)"),
        QStringLiteral("CREATE TABLE Tavelo ("
                       "ID INTEGER PRIMARY KEY AUTOINCREMENT, data DATE, scadenza DATE, "
                       "Oggetto TEXT COLLATE NOCASE, ndoc TEXT COLLATE NOCASE, "
                       "Utente INTEGER, AGG DATE, Ripeti TEXT COLLATE NOCASE, Chiusa DATE)"),
        QStringLiteral("CREATE TABLE Versione (Versione DATETIME)"),
        QStringLiteral("INSERT INTO Versione (Versione) VALUES (NULL)"),
    };
    return statements;
}

} // namespace

const QStringList &DbConnection::indexStatements()
{
    return archiveIndexStatements();
}

namespace {

void dropConnection()
{
    if (!QSqlDatabase::contains(QLatin1String(connectionName)))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(connectionName), false);
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(connectionName));
}

// Checks that the file holds the program's tables with their columns; a file written
// before some columns were added passes, and `missing` names them.
Check checkShape(QSqlDatabase &db, const QString &path, QList<AddedColumn> *missing)
{
    QHash<QString, QStringList> presentByTable;
    for (const QString &table : archiveTableNames()) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            return Check::failure(describeOpenFailure(path, query.lastError()));
        QStringList present;
        while (query.next())
            present << query.value(1).toString().toLower();
        if (present.isEmpty())
            return Check::failure(
                notAnArchiveMessage(path, QStringLiteral("manca la tabella %1.").arg(table)));
        for (const QString &column : archiveFirstColumns(table)) {
            if (!present.contains(column.toLower()))
                return Check::failure(notAnArchiveMessage(
                    path,
                    QStringLiteral("nella tabella %1 manca la colonna %2.").arg(table, column)));
        }
        presentByTable.insert(table, present);
    }
    *missing = missingAddedColumns(presentByTable);
    return passed();
}

// A session that only reads an older file sees the added columns as NULL, through
// views in its own temporary schema, which SQLite searches before the file's: the file
// itself is not written.
bool coverMissingColumns(QSqlDatabase &db, const QList<AddedColumn> &missing, QSqlError *error)
{
    if (missing.isEmpty())
        return true;
    return execAll(db,
                   QStringList{QStringLiteral("PRAGMA temp_store = MEMORY")} +
                       missingColumnViews(missing, QStringLiteral("main")),
                   error);
}

// A file that opens but cannot be written (a read-only file, folder or disk) would
// otherwise start without a word and fail at the first save: write now and undo it.
// Rewriting the header's user version touches the file whatever rows it holds.
bool tryWrite(QSqlDatabase &db, QSqlError *error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        *error = query.lastError();
        return false;
    }
    const int version = query.value(0).toInt();
    query.finish();
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        *error = query.lastError();
        return false;
    }
    const bool written = query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
    if (!written)
        *error = query.lastError();
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return written;
}

QSqlDatabase makeConnection(const QString &path, const QString &options)
{
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(connectionName));
    db.setDatabaseName(path);
    db.setConnectOptions(options);
    return db;
}

// A damaged file is not used: the message names what is wrong and the latest backup.
Check passesQuickCheck(const QString &path)
{
    const QString findings = quickCheckFindings(QLatin1String(connectionName));
    if (findings.isEmpty())
        return passed();
    return Check::failure(damagedDataFileMessage(path, findings));
}

// A file that lacks an index or the write-ahead log is written at open (its first open by
// this version): it is checked before that, not beside the open program.
bool writtenAtOpen(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode")) || !query.next() ||
        query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return true;
    QStringList present;
    if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'")))
        return true;
    while (query.next())
        present << query.value(0).toString();
    static const QRegularExpression indexName(QStringLiteral("IF NOT EXISTS (\\w+)"));
    for (const QString &statement : archiveIndexStatements()) {
        if (!present.contains(indexName.match(statement).captured(1), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

DbConnection &DbConnection::instance()
{
    static DbConnection connection;
    return connection;
}

QString DbConnection::locateDataFile()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(dataFileName());
    if (QFileInfo::exists(beside))
        return beside;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(folder).filePath(dataFileName());
}

Check DbConnection::open(const QString &path, OpenMode mode)
{
    close();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return Check::failure(QStringLiteral("«%1» non è un file.").arg(path));
    if (mode == OpenMode::ReadOnly) {
        if (!info.exists())
            return Check::failure(QStringLiteral("Il file dei dati «%1» non esiste.").arg(path));
        if (Check opened = openReadOnly(path); !opened.ok())
            return opened;
    } else {
        bool checkedNow = !info.exists();
        QList<AddedColumn> missing;
        Check opened = info.exists() ? checkExisting(path, &checkedNow, &missing) : createNew(path);
        if (opened.ok())
            opened = openReadWrite(path, !missing.isEmpty());
        if (opened.ok() && !missing.isEmpty())
            opened = upgrade(path, missing);
        if (!opened.ok())
            return opened;
        if (!checkedNow)
            FileCheck::instance().expect(path);
    }
    m_path = path;
    return passed();
}

// Looks at the file read-only, so that a file that is not ours stays byte for byte
// as it was.
Check DbConnection::checkExisting(const QString &path, bool *checkedNow,
                                  QList<AddedColumn> *missing)
{
    Check checked;
    bool checkNow = false;
    {
        QSqlDatabase db = makeConnection(
            path, QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
        if (db.open()) {
            checked = checkShape(db, path, missing);
            // The registry report sorts names in Italian order through the connection.
            if (checked.ok() && !registerItalianCollation(db))
                checked = Check::failure(
                    QStringLiteral("l'ordine alfabetico italiano non è disponibile"));
        } else
            checked = Check::failure(describeOpenFailure(path, db.lastError()));
        // An older file is upgraded at open: its pages are checked before that.
        checkNow = checked.ok() && (!missing->isEmpty() || writtenAtOpen(db));
        if (checkNow)
            checked = passesQuickCheck(path);
    }
    dropConnection();
    *checkedNow = checkNow;
    return checked;
}

Check DbConnection::createNew(const QString &path)
{
    const QFileInfo info(path);
    if (!makeOwnerOnlyFolder(info.absolutePath())) {
        return Check::failure(
            QStringLiteral("Non si può creare la cartella «%1» per il file dei dati.\n"
                           "Crearla o dare all'utente il permesso di scrivere nella "
                           "cartella che la contiene, poi riprovare.")
                .arg(info.absolutePath()));
    }
    QSqlError error;
    bool ok = false;
    // SQLite gives its -journal, -wal and -shm the data file's mode.
    createOwnerOnlyFile(path);
    {
        QSqlDatabase db = makeConnection(path, QString());
        if (db.open()) {
            // The registry's index sorts through the collation: it must be there first.
            ok = registerItalianCollation(db) && db.transaction() &&
                 execAll(db, schemaStatements(), &error) && execAll(db, indexStatements(), &error);
            if (ok)
                ok = db.commit();
            if (!ok && !error.isValid())
                error = db.lastError();
        } else {
            error = db.lastError();
        }
    }
    dropConnection();
    if (!ok) {
        // A half-created file would pass for an empty archive at the next start.
        for (const char *suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        return Check::failure(describeOpenFailure(path, error));
    }
    return passed();
}

Check DbConnection::openReadWrite(const QString &path, bool upgrading)
{
    QSqlDatabase db =
        makeConnection(path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
    QSqlError error;
    bool ok = db.open();
    // Before the indexes: the registry's sorts through it, and a file without it yet
    // gets it here.
    if (ok && !registerItalianCollation(db)) {
        ok = false;
        error =
            QSqlError(QString(), QStringLiteral("l'ordine alfabetico italiano non è disponibile"),
                      QSqlError::ConnectionError);
    }
    ok = ok &&
         execAll(
             db,
             {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL")},
             &error) &&
         (upgrading || execAll(db, indexStatements(), &error)) && tryWrite(db, &error);
    if (!ok) {
        if (!error.isValid())
            error = db.lastError();
        db = QSqlDatabase();
        dropConnection();
        return Check::failure(describeOpenFailure(path, error));
    }
    return passed();
}

// A file that nobody holds open has no write-ahead log beside it: it is read as it
// stands, without creating the log and its index beside it (which a read-only folder
// would refuse and a writable one would keep afterwards). When the log is there the
// file is in use, or was not closed cleanly, and is read through it.
Check DbConnection::openReadOnly(const QString &path)
{
    Check opened;
    {
        QSqlDatabase db;
        if (QFileInfo::exists(path + QLatin1String("-wal"))) {
            db = makeConnection(
                path,
                QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
        } else {
            db = makeConnection(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())
                                        .toString(QUrl::FullyEncoded) +
                                    QLatin1String("?immutable=1"),
                                QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        }
        QList<AddedColumn> missing;
        QSqlError error;
        if (db.open()) {
            opened = checkShape(db, path, &missing);
            // The registry report sorts names in Italian order through the connection.
            if (opened.ok() && !registerItalianCollation(db))
                opened = Check::failure(
                    QStringLiteral("l'ordine alfabetico italiano non è disponibile"));
            if (opened.ok() && !coverMissingColumns(db, missing, &error))
                opened = Check::failure(describeOpenFailure(path, error));
        } else
            opened = Check::failure(describeOpenFailure(path, db.lastError()));
    }
    if (!opened.ok())
        dropConnection();
    return opened;
}

// A file written before some columns were added gets them, empty, with the indexes that
// name them, in one transaction after a backup; its rows stay as they are. A failed
// backup or step leaves the file as it was, and the program does not start on it.
Check DbConnection::upgrade(const QString &path, const QList<AddedColumn> &missing)
{
    m_path = path;
    const Outcome<QString> backup = writeBackup();
    if (!backup.ok()) {
        close();
        return Check::failure(
            QStringLiteral("Il file dei dati «%1» è di una versione precedente di Tavelo e va "
                           "aggiornato, ma la copia di sicurezza che lo precede non è "
                           "riuscita: %2\nIl file è rimasto com'era. Liberare spazio sul disco "
                           "o dare all'utente il permesso di scrivere nella cartella «%3», poi "
                           "riprovare.")
                .arg(path, backup.problem, QDir::toNativeSeparators(backupFolder(path))));
    }
    QSqlDatabase db = database();
    QSqlError error;
    if (!execAllInTransaction(db, addColumnStatements(missing, false) + indexStatements(),
                              &error)) {
        db = QSqlDatabase();
        close();
        return Check::failure(QStringLiteral("Il file dei dati «%1» è di una versione "
                                             "precedente di Tavelo e non si è potuto "
                                             "aggiornare: è rimasto com'era (la copia di "
                                             "sicurezza è «%2»).\n%3")
                                  .arg(path, backup.value, describeOpenFailure(path, error)));
    }
    return passed();
}

bool DbConnection::isOpen() const
{
    return QSqlDatabase::contains(QLatin1String(connectionName)) &&
           QSqlDatabase::database(QLatin1String(connectionName), false).isOpen();
}

void DbConnection::close()
{
    FileCheck::instance().forget();
    dropConnection();
    m_path.clear();
    m_server.clear();
    m_readOnly = false;
}

namespace {

// The check only reads; then the views for an older archive, which a read-only session
// could not create; from then on a command that only reads cannot change the archive,
// even by mistake.
Check openServerReadOnly(QSqlDatabase &db, const QString &server)
{
    QList<AddedColumn> missing;
    Check opened = prepareServerArchive(db, server, false, &missing);
    if (opened.ok())
        opened = coverMissingServerColumns(db, server, missing);
    QSqlQuery readOnly(db);
    if (opened.ok() &&
        !readOnly.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")))
        opened = Check::failure(readOnly.lastError().text());
    return opened;
}

// An archive written before some columns were added: first a copy of it as a data file
// among this computer's backups (the server's own backups are its administrator's),
// then the columns.
Check upgradeServer(QSqlDatabase &db, const QString &server, const QList<AddedColumn> &missing)
{
    const Outcome<QString> backup = writeServerBackup(db);
    if (!backup.ok())
        return Check::failure(
            QStringLiteral("Il database «%1» è di una versione precedente di Tavelo e va "
                           "aggiornato, ma la copia di sicurezza che lo precede non è "
                           "riuscita: %2\nIl database è rimasto com'era.")
                .arg(server, backup.problem));
    return upgradeServerArchive(db, server, missing, backup.value);
}

} // namespace

Check DbConnection::openServer(const QString &connection, OpenMode mode)
{
    close();
    const Outcome<QString> options = serverConnectOptions(connection);
    if (!options.ok())
        return Check::failure(options.problem);
    const QString server = describeServer(connection);
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return Check::failure(
            QStringLiteral("Manca il modulo di Qt per i server PostgreSQL: installare il "
                           "pacchetto libqt6sql6-psql e riprovare."));
    Check opened;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QLatin1String(connectionName));
        db.setConnectOptions(options.value);
        if (!db.open()) {
            opened = Check::failure(
                QStringLiteral("Non ci si può collegare al server del database «%1».\n"
                               "Controllare che il server sia acceso e raggiungibile e "
                               "che utente e database esistano; la password va nel file "
                               "~/.pgpass dell'utente.\n\nDettaglio: %2")
                    .arg(server, db.lastError().text().trimmed()));
        } else if (mode == OpenMode::ReadOnly) {
            opened = openServerReadOnly(db, server);
        } else {
            QList<AddedColumn> missing;
            opened = prepareServerArchive(db, server, true, &missing);
            if (opened.ok())
                opened = checkServerWritable(db, server);
            if (opened.ok() && !missing.isEmpty())
                opened = upgradeServer(db, server, missing);
        }
    }
    if (opened.ok()) {
        m_server = connection;
        m_readOnly = mode == OpenMode::ReadOnly;
    } else {
        dropConnection();
    }
    return opened;
}

QString DbConnection::archiveName() const
{
    return isServer() ? describeServer(m_server) : m_path;
}

QSqlDatabase DbConnection::database() const
{
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(connectionName), false);
    // A server that went away made the step then in progress fail (and the operator was
    // told); once it is back, the next step connects again instead of failing for the
    // rest of the session. A read-only session is not renewed: its setting would be lost.
    if (isServer() && !m_readOnly && serverConnectionLost(db)) {
        db.close();
        db.open();
    }
    return db;
}

QStringList DbConnection::tableNames()
{
    return archiveTableNames();
}

QStringList DbConnection::tableColumns(const QString &table)
{
    return archiveTableColumns(table);
}

QStringList DbConnection::firstColumns(const QString &table)
{
    return archiveFirstColumns(table);
}

const QStringList &DbConnection::fileSchemaStatements()
{
    return schemaStatements();
}

QString databaseErrorMessage(const QSqlError &error)
{
    QString detail = error.text().trimmed();
    if (detail.isEmpty())
        detail = QStringLiteral("nessuna riga è stata modificata.");
    return QStringLiteral("Errore del database:\n%1").arg(detail);
}

WriteTransaction::WriteTransaction() : m_db(DbConnection::instance().database())
{
    const QString damage = FileCheck::instance().waitForVerdict();
    if (!damage.isEmpty()) {
        m_error = QSqlError(QString(), damage, QSqlError::ConnectionError);
        return;
    }
    m_started = m_db.isOpen() && m_db.transaction();
    if (!m_started)
        m_error = m_db.isOpen() ? m_db.lastError()
                                : QSqlError(QString(), QStringLiteral("archivio non aperto"),
                                            QSqlError::ConnectionError);
}

WriteTransaction::~WriteTransaction()
{
    if (m_started && !m_done)
        m_db.rollback();
}

bool WriteTransaction::commit()
{
    if (!m_started || m_done)
        return false;
    m_done = m_db.commit();
    if (!m_done)
        m_error = m_db.lastError();
    return m_done;
}
