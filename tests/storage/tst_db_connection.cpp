// SPDX-License-Identifier: GPL-3.0-or-later
// The data file: created, checked, opened for the program or only for reading, and
// every way in which it can refuse to open, told apart.
#include "limited_child.h"
#include "test_support.h"

#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <sys/stat.h>

namespace {

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList columnsOf(const QString &table)
{
    QSqlQuery query(DbConnection::instance().database());
    query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString();
    return columns;
}

QStringList columnTexts(QSqlQuery &query, int column)
{
    QStringList texts;
    while (query.next())
        texts << query.value(column).toString();
    return texts;
}

// Runs statements on the file through a connection of its own, as another program
// (or an older version of this one) would.
bool rawExec(const QString &path, const QStringList &statements)
{
    bool ok = true;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        raw.setDatabaseName(path);
        ok = raw.open();
        for (const QString &sql : statements) {
            QSqlQuery query(raw);
            if (ok && !query.exec(sql)) {
                qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
                ok = false;
            }
        }
        raw.close();
    }
    QSqlDatabase::removeDatabase("raw");
    return ok;
}

QStringList indexNames(const QString &path)
{
    QStringList names;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "names");
        raw.setDatabaseName(path);
        if (raw.open()) {
            QSqlQuery query(raw);
            query.exec(QStringLiteral(
                "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"));
            names = columnTexts(query, 0);
        }
        raw.close();
    }
    QSqlDatabase::removeDatabase("names");
    names.sort();
    return names;
}

// A closed archive of the program holding one user, as a clean close leaves it.
bool makeArchive(const QString &path)
{
    QString problem;
    if (!DbConnection::instance().open(path, &problem)) {
        qWarning("%s", qPrintable(problem));
        return false;
    }
    Subject rossi;
    rossi.soggetto = QStringLiteral("ROSSI MARIO");
    rossi.codice = QStringLiteral("RSSMRA80A01F205X");
    rossi.utente = QStringLiteral("S");
    const bool ok = insertSubject(rossi).ok();
    DbConnection::instance().close();
    return ok;
}

bool dropIndexes(const QString &path)
{
    QStringList statements;
    for (const QString &name : indexNames(path))
        statements << QStringLiteral("DROP INDEX %1").arg(name);
    return rawExec(path, statements);
}

// Spoils the table of tables at the start of the file, past its header: SQLite still
// knows the file for one of its own, but cannot read what is in it.
bool damage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(100))
        return false;
    return file.write(QByteArray(200, '\x7f')) == 200;
}

void setMode(const QString &path, QFile::Permissions permissions)
{
    QFile::setPermissions(path, permissions);
}

const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions readOnlyFolder =
    readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
const QFile::Permissions readWrite =
    readOnly | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;

QString openedOrProblem(const QString &path, DbConnection::OpenMode mode)
{
    QString problem;
    if (!DbConnection::instance().open(path, &problem, mode))
        return problem;
    QStringList users;
    const Result<QVector<Subject>> read = selectUsers();
    for (const Subject &s : read.value)
        users << s.soggetto;
    DbConnection::instance().close();
    return QStringLiteral("APERTO: ") + users.join(QLatin1Char(','));
}

} // namespace

Q_DECLARE_METATYPE(ChildLimit)

class TestDbConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFileHasTablesVersionRowAndIndexes();
    void existingFileKeepsItsRows();
    void missingIndexesAreAddedWhenOpenedForWriting();
    void unusableFileIsLeftUntouched_data();
    void unusableFileIsLeftUntouched();
    void openingProblemsAreToldApart_data();
    void openingProblemsAreToldApart();

    void readOnlyOpenLeavesFileAsItWas_data();
    void readOnlyOpenLeavesFileAsItWas();
    void readOnlyOpenNeverCreatesFile();
    void readOnlyOpenWorksInReadOnlyFolder();
    void readOnlyOpenSeesRowsStillInTheLog();

    void modesAfterStart_data();
    void modesAfterStart();

private:
    ScriptedPrompt *m_prompt = nullptr;
};

void TestDbConnection::init()
{
    m_prompt = ScriptedPrompt::install();
}

void TestDbConnection::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    DbConnection::instance().close();
    Prompt::install(nullptr);
}

void TestDbConnection::newFileHasTablesVersionRowAndIndexes()
{
    TestDatabase db;
    QVERIFY(db.isOpen());
    QCOMPARE(columnsOf(QStringLiteral("Utente")),
             QStringList({"ID", "Soggetto", "indirizzo", "Comune", "pr", "cap", "Codice", "Partita",
                          "utente", "email", "telefono", "cell", "fax", "Pwd", "Annotazione"}));
    QCOMPARE(columnsOf(QStringLiteral("Tavelo")),
             QStringList({"ID", "data", "scadenza", "Oggetto", "ndoc", "Utente", "AGG"}));
    QCOMPARE(columnsOf(QStringLiteral("Versione")), QStringList({"Versione"}));
    QSqlQuery query(DbConnection::instance().database());
    QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*), COUNT(Versione) FROM Versione")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 1);
    QCOMPARE(query.value(1).toInt(), 0);
    QVERIFY(query.exec(QStringLiteral("SELECT tbl_name || '(' || sql || ')' FROM sqlite_master "
                                      "WHERE type = 'index' AND sql IS NOT NULL ORDER BY name")));
    const QString indexes = columnTexts(query, 0).join(QLatin1Char('\n'));
    QVERIFY2(indexes.contains(QLatin1String("Tavelo (Utente, scadenza)")), qPrintable(indexes));
    QVERIFY(indexes.contains(QLatin1String("Tavelo (scadenza)")));
    QVERIFY(indexes.contains(QLatin1String("Utente (Soggetto)")));
    QVERIFY(indexes.contains(QLatin1String("Utente (Codice)")));
    QVERIFY(indexes.contains(QLatin1String("Utente (utente, Soggetto)")));
    QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));
}

void TestDbConnection::existingFileKeepsItsRows()
{
    TestDatabase db;
    const qint64 id = db.addSubject(QStringLiteral("ROSSI MARIO"));
    DbConnection::instance().close();
    QString problem;
    QVERIFY2(DbConnection::instance().open(db.path(), &problem), qPrintable(problem));
    const Result<std::optional<Subject>> found = findSubjectByName(QStringLiteral("ROSSI MARIO"));
    QVERIFY(found.ok() && found.value);
    QCOMPARE(found.value->id, id);
    QCOMPARE(db.count(QStringLiteral("Versione")), 1);
}

void TestDbConnection::unusableFileIsLeftUntouched_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("problemPart");
    QTest::newRow("not a database")
        << QByteArray("questo non è un archivio\n") << "non è un archivio";
    QTest::newRow("empty database without tables")
        << QByteArray("schema:") << "manca la tabella Utente";
    QTest::newRow("missing table")
        << QByteArray("schema:CREATE TABLE Utente (ID, Soggetto, indirizzo, Comune, pr, cap, "
                      "Codice, Partita, utente, email, telefono, cell, fax, Pwd, "
                      "Annotazione);CREATE TABLE Versione (Versione)")
        << "manca la tabella Tavelo";
    QTest::newRow("missing column")
        << QByteArray(
               "schema:CREATE TABLE Utente (ID, Soggetto, indirizzo, Comune, pr, cap, Codice, "
               "Partita, utente, email, telefono, cell, fax, Pwd, Annotazione);CREATE TABLE Tavelo "
               "(ID, data, scadenza, Oggetto, Utente, AGG);CREATE TABLE Versione (Versione)")
        << "manca la colonna ndoc";
}

void TestDbConnection::unusableFileIsLeftUntouched()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, problemPart);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    if (setup.startsWith("schema:")) {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        raw.setDatabaseName(path);
        QVERIFY(raw.open());
        QSqlQuery(raw).exec(QStringLiteral("PRAGMA user_version = 7"));
        for (const QByteArray &sql : setup.mid(7).split(';'))
            if (!sql.isEmpty())
                QVERIFY(QSqlQuery(raw).exec(QString::fromUtf8(sql)));
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase("raw");
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(setup);
    }
    const QByteArray before = fileHash(path);
    QVERIFY(!before.isEmpty());
    QString problem;
    QVERIFY(!DbConnection::instance().open(path, &problem));
    QVERIFY2(problem.contains(path), qPrintable(problem));
    QVERIFY2(problem.contains(problemPart), qPrintable(problem));
    QVERIFY(!DbConnection::instance().isOpen());
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"Database.sqlite"}));
}

void TestDbConnection::missingIndexesAreAddedWhenOpenedForWriting()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(makeArchive(path));
    const QStringList all = indexNames(path);
    QVERIFY(all.contains(QStringLiteral("UtenteUtenteSoggetto")));
    QVERIFY(dropIndexes(path));
    QCOMPARE(indexNames(path), QStringList());
    QString problem;
    QVERIFY2(DbConnection::instance().open(path, &problem), qPrintable(problem));
    DbConnection::instance().close();
    QCOMPARE(indexNames(path), all);
}

// Each way a file can refuse to open gets its own message, naming the file or the
// folder at fault. Root ignores file modes, so those cases run as "nobody"; a full or
// failing disk is played by making the child's file writes or reads fail.
void TestDbConnection::openingProblemsAreToldApart_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<ChildLimit>("limit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("namesFolder");
    QTest::newRow("damaged") << "damaged" << ChildLimit::None << "è danneggiato" << false;
    QTest::newRow("locked by another program")
        << "locked" << ChildLimit::None << "è bloccato da un altro programma" << false;
    QTest::newRow("read-only archive") << "read-only" << ChildLimit::Unprivileged
                                       << "non si può scrivere: è in sola lettura" << false;
    QTest::newRow("read-only archive with rollback journal")
        << "read-only rollback" << ChildLimit::Unprivileged
        << "non si può scrivere: è in sola lettura" << false;
    QTest::newRow("unreadable archive")
        << "unreadable" << ChildLimit::Unprivileged << "non si può leggere" << false;
    QTest::newRow("read-only folder")
        << "read-only folder" << ChildLimit::Unprivileged << "non si può scrivere" << true;
    QTest::newRow("new file in read-only folder")
        << "new in read-only folder" << ChildLimit::Unprivileged << "non si può scrivere" << true;
    QTest::newRow("full disk") << "rollback" << ChildLimit::DiskFull << "è pieno" << false;
    QTest::newRow("new file on full disk") << "new" << ChildLimit::DiskFull << "è pieno" << false;
    QTest::newRow("failing disk") << "archive" << ChildLimit::DiskError
                                  << "il disco ha dato un errore" << false;
}

void TestDbConnection::openingProblemsAreToldApart()
{
    QFETCH(QString, setup);
    QFETCH(ChildLimit, limit);
    QFETCH(QString, expected);
    QFETCH(bool, namesFolder);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    const bool existing = !setup.startsWith(QLatin1String("new"));
    if (existing)
        QVERIFY(makeArchive(path));
    if (setup.contains(QLatin1String("rollback")))
        QVERIFY(rawExec(path, {QStringLiteral("PRAGMA journal_mode=DELETE")}));
    if (setup == QLatin1String("damaged"))
        QVERIFY(damage(path));
    openToEverybody(dir.path());
    if (setup.startsWith(QLatin1String("read-only")) && !setup.endsWith(QLatin1String("folder")))
        setMode(path, readOnly);
    if (setup == QLatin1String("unreadable"))
        setMode(path, {});
    if (setup.endsWith(QLatin1String("read-only folder")))
        setMode(dir.path(), readOnlyFolder);
    const QByteArray before = fileHash(path);

    std::unique_ptr<QSqlDatabase> other;
    if (setup == QLatin1String("locked")) {
        other = std::make_unique<QSqlDatabase>(
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other"));
        other->setDatabaseName(path);
        QVERIFY(other->open());
        QVERIFY(QSqlQuery(*other).exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")));
        QVERIFY(QSqlQuery(*other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(QSqlQuery(*other).exec(QStringLiteral("UPDATE Versione SET Versione = 'x'")));
    }
    auto attempt = [&] { return openedOrProblem(path, DbConnection::OpenMode::ReadWrite); };
    ChildRun run;
    if (limit == ChildLimit::None)
        run = {true, 0, attempt()};
    else
        run = runLimited(limit, attempt);
    if (other) {
        other->close();
        other.reset();
        QSqlDatabase::removeDatabase("other");
    }
    setMode(dir.path(), readWrite | readOnlyFolder);
    if (!run.limited)
        QSKIP(qPrintable(run.output));

    QVERIFY2(run.output.contains(expected), qPrintable(run.output));
    const QString named =
        namesFolder ? QStringLiteral("«%1»").arg(dir.path()) : QStringLiteral("«%1»").arg(path);
    QVERIFY2(run.output.contains(named), qPrintable(run.output));
    QVERIFY(!DbConnection::instance().isOpen());
    if (existing)
        QCOMPARE(fileHash(path), before);
    else
        QVERIFY(!QFile::exists(path));
}

void TestDbConnection::readOnlyOpenLeavesFileAsItWas_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("folder");
    QTest::newRow("archive of the program") << "archive"
                                            << "";
    QTest::newRow("archive without indexes") << "no indexes"
                                             << "";
    QTest::newRow("archive with rollback journal") << "rollback"
                                                   << "";
    QTest::newRow("folder with blanks, accents, # and ?") << "archive"
                                                          << "Dati è #1 ? 100%";
}

void TestDbConnection::readOnlyOpenLeavesFileAsItWas()
{
    QFETCH(QString, setup);
    QFETCH(QString, folder);
    QTemporaryDir top;
    QVERIFY(folder.isEmpty() || QDir(top.path()).mkdir(folder));
    const QString dir = QDir(top.path()).filePath(folder);
    const QString path = QDir(dir).filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(makeArchive(path));
    if (setup == QLatin1String("no indexes"))
        QVERIFY(dropIndexes(path));
    if (setup == QLatin1String("rollback"))
        QVERIFY(rawExec(path, {QStringLiteral("PRAGMA journal_mode=DELETE")}));
    const QByteArray before = fileHash(path);
    const QStringList indexes = indexNames(path);
    QCOMPARE(openedOrProblem(path, DbConnection::OpenMode::ReadOnly),
             QStringLiteral("APERTO: ROSSI MARIO"));
    QCOMPARE(fileHash(path), before);
    QCOMPARE(indexNames(path), indexes);
    QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList({"Database.sqlite"}));
}

void TestDbConnection::readOnlyOpenNeverCreatesFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    const QString problem = openedOrProblem(path, DbConnection::OpenMode::ReadOnly);
    QVERIFY2(problem.contains(QLatin1String("non esiste")), qPrintable(problem));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestDbConnection::readOnlyOpenWorksInReadOnlyFolder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(makeArchive(path));
    const QByteArray before = fileHash(path);
    openToEverybody(dir.path());
    setMode(path, readOnly);
    setMode(dir.path(), readOnlyFolder);
    const ChildRun run = runLimited(ChildLimit::Unprivileged, [&] {
        return openedOrProblem(path, DbConnection::OpenMode::ReadOnly);
    });
    setMode(dir.path(), readWrite | readOnlyFolder);
    if (!run.limited)
        QSKIP(qPrintable(run.output));
    QCOMPARE(run.output, QStringLiteral("APERTO: ROSSI MARIO"));
    QCOMPARE(fileHash(path), before);
}

// While the program has the file open, its last writes may still be in the log beside
// the file: a reader must see them.
void TestDbConnection::readOnlyOpenSeesRowsStillInTheLog()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(makeArchive(path));
    {
        QSqlDatabase program = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "program");
        program.setDatabaseName(path);
        QVERIFY(program.open());
        QVERIFY(QSqlQuery(program).exec(QStringLiteral(
            "INSERT INTO Utente (Soggetto, Codice, utente) VALUES ('VERDI ANNA', 'X', 'S')")));
        QVERIFY(QFile::exists(path + QLatin1String("-wal")));
        QCOMPARE(openedOrProblem(path, DbConnection::OpenMode::ReadOnly),
                 QStringLiteral("APERTO: ROSSI MARIO,VERDI ANNA"));
        program.close();
    }
    QSqlDatabase::removeDatabase("program");
}

TAVELO_TEST_MAIN(TestDbConnection)
// What the program creates is for its user alone; a folder or file that an office
// shares on purpose keeps its mode, and the engine's files beside it follow the file.
void TestDbConnection::modesAfterStart_data()
{
    QTest::addColumn<int>("folderBefore"); // -1: not there
    QTest::addColumn<int>("fileBefore");
    QTest::addColumn<int>("folderAfter");
    QTest::addColumn<int>("fileAfter");
    QTest::newRow("first start") << -1 << -1 << 0700 << 0600;
    QTest::newRow("shared folder, new file") << 0770 << -1 << 0770 << 0600;
    QTest::newRow("shared folder and file") << 0770 << 0660 << 0770 << 0660;
}

void TestDbConnection::modesAfterStart()
{
    QFETCH(int, folderBefore);
    QFETCH(int, fileBefore);
    QFETCH(int, folderAfter);
    QFETCH(int, fileAfter);
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("dati/Tavelo"));
    const QString path = QDir(folder).filePath(QStringLiteral("Database.sqlite"));
    QString problem;
    if (folderBefore >= 0) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), mode_t(folderBefore)) == 0);
    }
    if (fileBefore >= 0) {
        QVERIFY(DbConnection::instance().open(path, &problem));
        DbConnection::instance().close();
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(fileBefore)) == 0);
    }
    QVERIFY2(DbConnection::instance().open(path, &problem), qPrintable(problem));
    QCOMPARE(fileMode(folder), folderAfter);
    for (const char *suffix : {"", "-wal", "-shm"})
        QCOMPARE(fileMode(path + QLatin1String(suffix)), fileAfter);
}

#include "tst_db_connection.moc"
