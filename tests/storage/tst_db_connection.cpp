// SPDX-License-Identifier: GPL-3.0-or-later
// The data file: created, checked, opened for the program or only for reading, and
// every way in which it can refuse to open, told apart, leaving the file as it was; an
// older archive upgraded at the open; the backups beside the file, and at "Chiudi".
#include "limited_child.h"
#include "main_window_steps.h"

#include "main_window/frm_registra.h"
#include "storage/backup_files.h"
#include "storage/backups.h"
#include "storage/italian_collation.h"
#include "widgets/shell_services.h"

#include <QCloseEvent>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

QStringList indexNames(const QString &path)
{
    // Looking at a missing file through SQLite would create it.
    return !QFile::exists(path) ? QStringList()
                                : queryFile(path, {"SELECT name FROM sqlite_master WHERE type = "
                                                   "'index' AND sql IS NOT NULL ORDER BY name"});
}

const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions readOnlyFolder =
    readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

// What the program sees: the users' names, or why the file did not open.
QString openedOrProblem(const QString &path, DbConnection::OpenMode mode)
{
    if (const Check opened = DbConnection::instance().open(path, mode); !opened.ok())
        return opened.problem;
    const QStringList users = selectUserNames().value;
    DbConnection::instance().close();
    return QStringLiteral("APERTO: ") + users.join(QLatin1Char(','));
}

// Sets up the file (and its folder) as a row asks: a closed archive holding one user,
// as a clean close leaves it, then spoilt; "schema:" and "bytes:" make another file.
bool prepare(const QString &setup, const QString &dir, const QString &path)
{
    bool ok = true;
    QFile file(path);
    if (setup.startsWith("schema:"))
        queryFile(path,
                  QStringList{"PRAGMA user_version = 7"} +
                      setup.mid(7).split(';', Qt::SkipEmptyParts),
                  &ok);
    else if (setup.startsWith("bytes:"))
        ok = file.open(QIODevice::WriteOnly) && file.write(setup.mid(6).toUtf8()) > 0;
    else if (!setup.startsWith("new") && setup != "missing") {
        ok = DbConnection::instance().open(path).ok() &&
             insertSubject({0, "ROSSI MARIO", {}, {}, {}, {}, {}, {}, "S", {}, {}, {}, {}, {}, {}})
                 .ok();
        DbConnection::instance().close();
    }
    if (setup == "no indexes")
        for (const QString &index : indexNames(path))
            queryFile(path, {"DROP INDEX " + index}, &ok);
    if (setup.contains("rollback"))
        queryFile(path, {"PRAGMA journal_mode=DELETE"}, &ok);
    // Past the header: SQLite knows the file but cannot read its table of tables.
    if (setup == "damaged")
        ok = ok && file.open(QIODevice::ReadWrite) && file.seek(100) &&
             file.write(QByteArray(200, '\x7f')) == 200;
    openToEverybody(dir);
    if (setup.startsWith("read-only") && !setup.endsWith("folder"))
        QFile::setPermissions(path, readOnly);
    if (setup == "unreadable")
        QFile::setPermissions(path, {});
    if (setup.endsWith("read-only folder"))
        QFile::setPermissions(dir, readOnlyFolder);
    return ok;
}

bool onServer()
{
    return !testServerConnection().isEmpty();
}

// Each row of every table, every column quoted as the engine quotes it, its type included.
QStringList quotedRows()
{
    QStringList rows;
    for (const QString &table : archiveTableNames()) {
        QStringList columns = archiveFirstColumns(table);
        columns.replaceInStrings(QRegularExpression("(.+)"),
                                 onServer() ? "quote_nullable(\\1)" : "quote(\\1)");
        rows << columnOf("SELECT " + columns.join(" || '|' || ") + " FROM " + table +
                         " ORDER BY 1");
    }
    return rows;
}

Check reopen(DbConnection::OpenMode mode, const QString &path)
{
    return onServer() ? DbConnection::instance().openServer(testServerConnection(), mode)
                      : DbConnection::instance().open(path, mode);
}

// Rows with NULLs, empty texts, quotes and wildcards; on a file also dates with a time of
// day and empty dates, as the earlier version left them. "old" lacks the added columns;
// "strict" is a table whose types refuse the second one.
void fillArchive(TestDatabase &db, const QString &archive)
{
    db.addEntry(db.addSubject("ROSSI"), QDate(2026, 1, 10), QDate(2026, 7, 16), "IVA %_'16'", "");
    QStringList sql{"INSERT INTO Utente (Soggetto, utente, Codice) VALUES ('D''ANGELO', 'N', '')",
                    "INSERT INTO Tavelo (Oggetto) VALUES (NULL)",
                    "UPDATE Versione SET Versione = '2026-01-10T08:30:00'"};
    if (!onServer())
        sql << "INSERT INTO Tavelo (data, scadenza, Oggetto, AGG) VALUES "
               "('2026-01-10 08:30:00', '', 'àè', '2026-01-10')";
    if (archive == "strict")
        sql << "CREATE TABLE Nuova (ID INTEGER PRIMARY KEY, data TEXT, scadenza TEXT, Oggetto "
               "TEXT, ndoc TEXT, Utente INTEGER, AGG TEXT) STRICT"
            << "INSERT INTO Nuova SELECT ID, data, scadenza, Oggetto, ndoc, Utente, AGG FROM Tavelo"
            << "DROP TABLE Tavelo"
            << "ALTER TABLE Nuova RENAME TO Tavelo";
    // An older archive has the indexes of its time, none over the added columns.
    for (const AddedColumn &added : addedColumns())
        sql << (archive.startsWith("old") ? "ALTER TABLE Tavelo DROP COLUMN " + added.column : "");
    for (const QString &index : DbConnection::indexStatements())
        sql << (archive == "current" || !index.contains("Chiusa") ? index : "");
    for (const QString &statement : QStringList{"DROP INDEX TaveloAperte"} + sql)
        QVERIFY2(statement.isEmpty() || db.exec(statement), qPrintable(statement));
}

const QStringList othersInFolder = {"appunti.txt", "Database.sqlite", "Database_vecchio.sqlite"};

} // namespace

Q_DECLARE_METATYPE(ChildLimit)

class TestDbConnection : public PromptedTest
{
    Q_OBJECT

private slots:

    // Each way a file can refuse to open gets its own message, naming the file (or the
    // folder at fault), and the file stays as it was. Root ignores file modes, so those
    // cases run as "nobody"; a full or failing disk is played by making the child's file
    // writes or reads fail.
    // clang-format off
    void unusableFileIsLeftUntouched_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<ChildLimit>("limit");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("named"); // "" the file, "folder" its folder
        const QString utente = "schema:CREATE TABLE Utente (ID, Soggetto, indirizzo, Comune, pr, cap, Codice, Partita, utente, email, telefono, cell, fax, Pwd, Annotazione);CREATE TABLE Versione (Versione)";
        const QString readOnlyFile = "non si può scrivere: è in sola lettura";
        const QString file, folder = "folder";
        const ChildLimit none = ChildLimit::None;
        const ChildLimit nobody = ChildLimit::Unprivileged;
        QTest::newRow("not a database") << "bytes:questo non è un archivio" << none << "non è un archivio" << file;
        QTest::newRow("missing table") << utente << none << "manca la tabella Tavelo" << file;
        QTest::newRow("missing column") << utente + ";CREATE TABLE Tavelo (ID, data, scadenza, Oggetto, Utente, AGG)" << none << "manca la colonna ndoc" << file;
        QTest::newRow("damaged") << "damaged" << none << "è danneggiato" << file;
        QTest::newRow("locked by another program") << "locked" << none << "è bloccato da un altro programma" << file;
        QTest::newRow("read-only archive") << "read-only" << nobody << readOnlyFile << file;
        QTest::newRow("read-only with rollback journal") << "read-only rollback" << nobody << readOnlyFile << file;
        QTest::newRow("unreadable archive") << "unreadable" << nobody << "non si può leggere" << file;
        QTest::newRow("read-only folder") << "read-only folder" << nobody << "non si può scrivere" << folder;
        QTest::newRow("new file in read-only folder") << "new in read-only folder" << nobody << "non si può scrivere" << folder;
        QTest::newRow("full disk") << "rollback" << ChildLimit::DiskFull << "è pieno" << file;
        QTest::newRow("new file on full disk") << "new" << ChildLimit::DiskFull << "è pieno" << file;
        QTest::newRow("failing disk") << "archive" << ChildLimit::DiskError << "il disco ha dato un errore" << file;
    }
    // clang-format on
    void unusableFileIsLeftUntouched() { openAndCheck(DbConnection::OpenMode::ReadWrite); }

    // The one home of the read-only open: a command that only reads leaves the file byte
    // for byte as it was, adds nothing beside it, and still sees the program's last writes.
    // clang-format off
    void readOnlyOpenLeavesFileAsItWas_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<ChildLimit>("limit");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("named"); // a folder of this name holds the file
        const QString rossi = "APERTO: ROSSI MARIO", here;
        const ChildLimit none = ChildLimit::None;
        QTest::newRow("archive of the program") << "archive" << none << rossi << here;
        QTest::newRow("archive without indexes") << "no indexes" << none << rossi << here;
        QTest::newRow("archive with rollback journal") << "rollback" << none << rossi << here;
        QTest::newRow("folder with blanks, accents, # and ?") << "archive" << none << rossi << "Dati è #1 ? 100%";
        QTest::newRow("missing file is not created") << "missing" << none << "non esiste" << here;
        QTest::newRow("read-only archive and folder") << "read-only archive in read-only folder" << ChildLimit::Unprivileged << rossi << here;
        QTest::newRow("rows still in the log") << "log" << none << "APERTO: ROSSI MARIO,VERDI ANNA" << here;
    }
    // clang-format on
    void readOnlyOpenLeavesFileAsItWas() { openAndCheck(DbConnection::OpenMode::ReadOnly); }

    // What the program creates is for its user alone; a folder or file that an office
    // shares on purpose keeps its mode, and the engine's files beside it follow the file.
    // clang-format off
    void modesAfterStart_data()
    {
        QTest::addColumn<int>("folderBefore"); // -1: not there
        QTest::addColumn<int>("fileBefore");
        QTest::addColumn<int>("folderAfter");
        QTest::addColumn<int>("fileAfter");
        QTest::newRow("first start") << -1 << -1 << 0700 << 0600;
        QTest::newRow("shared folder, new file") << 0770 << -1 << 0770 << 0600;
        QTest::newRow("shared folder and file") << 0770 << 0660 << 0770 << 0660;
    }
    // clang-format on

    void modesAfterStart()
    {
        QFETCH(int, folderBefore);
        QFETCH(int, fileBefore);
        QFETCH(int, fileAfter);
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("dati/Tavelo"));
        const QString path = QDir(folder).filePath(QStringLiteral("Database.sqlite"));
        if (folderBefore >= 0) {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), mode_t(folderBefore)) == 0);
        }
        if (fileBefore >= 0) {
            QVERIFY(DbConnection::instance().open(path).ok());
            DbConnection::instance().close();
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(fileBefore)) == 0);
        }
        const Check opened = DbConnection::instance().open(path);
        QVERIFY2(opened.ok(), qPrintable(opened.problem));
        QTEST(fileMode(folder), "folderAfter");
        for (const char *suffix : {"", "-wal", "-shm"})
            QCOMPARE(fileMode(path + QLatin1String(suffix)), fileAfter);
    }

    // An archive written before the columns of repeating and closed deadlines existed: the
    // program upgrades it after a backup, or leaves it as it was; a command that only reads
    // leaves it as it was and still sees the new columns. (The import from the earlier
    // version's database: tst_import_command; an older data file copied onto the server:
    // tst_server_archive.) Rerun on the test server.
    // clang-format off
    void olderArchiveAtOpen_data()
    {
        QTest::addColumn<QString>("archive"); // "old", "old, no backup folder", "strict", "current"
        QTest::addColumn<QString>("refused"); // what the message says, "" when it opens
        QTest::newRow("older archive, the program") << "old" << "";
        QTest::newRow("older archive, backup impossible") << "old, no backup folder" << "la copia di sicurezza che lo precede non è riuscita";
        QTest::newRow("current archive, no backup") << "current" << "";
        if (!onServer())
            QTest::newRow("second column refused") << "strict" << "non si è potuto aggiornare";
    }
    // clang-format on

    void olderArchiveAtOpen()
    {
        QFETCH(QString, archive);
        QFETCH(QString, refused);
        TestDatabase db;
        fillArchive(db, archive);
        const QStringList before = quotedRows(),
                          notes = columnOf("SELECT Oggetto FROM Tavelo ORDER BY ID");
        DbConnection::instance().close();
        const QString base = onServer() ? serverBackupBase() : db.path();
        QDir(backupFolder(base)).removeRecursively();
        QVERIFY(!archive.endsWith("folder") || writeFile(backupFolder(base), "un file"));
        const QByteArray bytes = fileSha256(db.path());
        const Check opened = reopen(DbConnection::OpenMode::ReadWrite, db.path());
        QVERIFY2(opened.ok() == refused.isEmpty() && opened.problem.contains(refused),
                 qPrintable(opened.problem));
        DbConnection::instance().close();
        // As tavelo-report reads: the statements that name the new columns work on every
        // archive, and one left as it was stays so, byte for byte.
        QVERIFY(reopen(DbConnection::OpenMode::ReadOnly, db.path()).ok());
        QCOMPARE(quotedRows(), before);
        QCOMPARE(columnOf("SELECT COUNT(*) FROM Tavelo WHERE Ripeti IS NULL AND Chiusa IS NULL"),
                 columnOf("SELECT COUNT(*) FROM Tavelo"));
        const bool upgraded = archive == "old";
        QCOMPARE(columnOf(QString("SELECT COUNT(Chiusa) + COUNT(Ripeti) FROM %1.Tavelo")
                              .arg(onServer() ? "public" : "main")),
                 QStringList{upgraded || archive == "current" ? "0" : "error"});
        DbConnection::instance().close();
        QCOMPARE(fileSha256(db.path()) == bytes, !upgraded || onServer());
        // The backup before the upgrade holds the rows as they were.
        const QStringList backups = backupsOf(base);
        QCOMPARE(backups.size(), int(archive == "old" || archive == "strict"));
        for (const QString &backup : backups)
            QCOMPARE(queryFile(backup, {"SELECT Oggetto FROM Tavelo ORDER BY ID"}, nullptr, true),
                     notes);
    }

    void rotationKeepsTenMostRecent()
    {
        TestDatabase db;
        const QDir folder(backupFolder(db.path()));
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        // Files that the program did not write stay where they are.
        for (const QString &name : othersInFolder)
            QVERIFY(writeFile(folder.filePath(name), {}));
        const QDateTime first(QDate(2026, 1, 31), QTime(23, 59, 0));
        QStringList written; // the newest first
        for (int i = 0; i < 12; ++i) {
            const Outcome<QString> backup = writeBackup(first.addSecs(60 * i));
            written.prepend(backup.value);
            QVERIFY2(backup.ok() && !backup.value.isEmpty(), qPrintable(backup.problem));
            QCOMPARE(backupsOf(db.path()).size(), qMin(i + 1, backupsKept));
        }
        QCOMPARE(QFileInfo(written.last()).fileName(),
                 QStringLiteral("Database_2026-01-31_23-59-00-000.sqlite"));
        QCOMPARE(backupsOf(db.path()), written.mid(0, backupsKept));
        QCOMPARE(latestBackup(db.path()), written.first());
        // The folder was there already: it keeps its mode; each backup is for the user alone.
        QCOMPARE(fileMode(folder.path()), 0755);
        QCOMPARE(fileMode(written.first()), 0600);
        for (const QString &name : othersInFolder)
            QVERIFY(QFile::exists(folder.filePath(name)));
    }

    // Also while a grid that has fetched only its first rows keeps its statement running.
    void backupHoldsLastWrite()
    {
        TestDatabase db;
        const qint64 last = db.addSubject(QStringLiteral("ULTIMO L'ANNO"));
        db.addEntry(last, QDate(2026, 12, 7), QDate(2026, 12, 31), QStringLiteral("VOCE"));
        for (int i = 0; i < 300; ++i)
            db.addSubject(QStringLiteral("SOGGETTO %1").arg(i, 3, 10, QLatin1Char('0')));
        RowStream<Subject> grid = selectRegistryGridRows();
        Subject row;
        QVERIFY(grid.next(&row));
        const QDateTime moment(QDate(2026, 12, 7), QTime(10, 0));
        const QString first = writeBackup(moment).value;
        QVERIFY(!first.isEmpty());
        // A second close within the same instant still gets a copy of its own.
        const QString second = writeBackup(moment).value;
        QVERIFY(!second.isEmpty() && second != first);
        // Made on a second connection, into a file made afresh: still for the user alone.
        QCOMPARE(fileMode(second), 0600);
        QCOMPARE(fileMode(backupFolder(db.path())), 0700);
        QCOMPARE(queryFile(second,
                           {"SELECT Soggetto FROM Utente WHERE ID IN (1, 301) UNION ALL "
                            "SELECT Oggetto FROM Tavelo"},
                           nullptr, true),
                 QStringList({"ULTIMO L'ANNO", "SOGGETTO 299", "VOCE"}));
        QCOMPARE(queryFile(second, {"PRAGMA integrity_check"}, nullptr, true), QStringList{"ok"});
        QVERIFY(grid.next(&row));
        QCOMPARE(row.soggetto, QStringLiteral("SOGGETTO 001"));
        // The copy is a data file that the program opens as its own.
        DbConnection::instance().close();
        const Check opened = DbConnection::instance().open(second);
        QVERIFY2(opened.ok(), qPrintable(opened.problem));
        QCOMPARE(db.count(QStringLiteral("Utente")), 301);
    }

    void failedBackupTouchesNothing()
    {
        TestDatabase db;
        db.addSubject(QStringLiteral("ROSSI"));
        // A file named like the folder: the folder cannot be made.
        QVERIFY(writeFile(backupFolder(db.path()), {}));
        const Outcome<QString> backup = writeBackup();
        QVERIFY(!backup.ok() && backup.value.isEmpty());
        QVERIFY2(backup.problem.contains(backupFolder(db.path())), qPrintable(backup.problem));
        QCOMPARE(db.count(QStringLiteral("Utente")), 1);
        QVERIFY(DbConnection::instance().isOpen());
    }

    // Killed while writing, a copy is left under its temporary name with its journal; a copy
    // under a finished name can still be damaged, however recent. Neither is counted, nor named as
    // the copy to restore, and the next backup removes them.
    // clang-format off
    void interruptedBackupIsNoBackup_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("bytesKept"); // of a sound copy; -1: none, only junk
        const QString finished = QStringLiteral("Database_2030-01-01_00-00-00-000.sqlite");
        const QString temporary = QLatin1Char('.') + finished + QLatin1String(".part");
        QTest::newRow("temporary copy with its journal") << QStringList{temporary, temporary + "-journal"} << 2 * 4096;
        QTest::newRow("finished name, not a database") << QStringList{finished} << -1;
        QTest::newRow("finished name, cut short") << QStringList{finished} << 2 * 4096;
        QTest::newRow("finished name, journal beside") << QStringList{finished, finished + "-journal"} << 0;
    }
    // clang-format on

    void interruptedBackupIsNoBackup()
    {
        QFETCH(QStringList, names);
        QFETCH(int, bytesKept);
        TestDatabase db;
        db.addSubject(QStringLiteral("ROSSI"));
        const QString sound = writeBackup(QDateTime(QDate(2026, 12, 7), QTime(9, 0))).value;
        QVERIFY(!sound.isEmpty());
        const QDir folder(backupFolder(db.path()));
        for (const QString &name : names) {
            const QString path = folder.filePath(name);
            if (name.endsWith(QLatin1String("-journal")) || bytesKept < 0)
                QVERIFY(writeFile(path, QByteArray(4096, 'j')));
            else
                QVERIFY(QFile::copy(sound, path) && (!bytesKept || QFile::resize(path, bytesKept)));
        }
        QCOMPARE(backupsOf(db.path()), QStringList{sound});
        const QString message = damagedDataFileMessage(db.path(), QStringLiteral("guasto"));
        QVERIFY2(message.contains(QStringLiteral("«%1»").arg(sound)), qPrintable(message));
        QVERIFY(writeBackup(QDateTime(QDate(2026, 12, 8), QTime(9, 0))).ok());
        QCOMPARE(backupsOf(db.path()).size(), 2);
        for (const QString &name : names)
            QVERIFY2(!folder.exists(name), qPrintable(name));
    }

    // The window's activation writes the version stamp (where there is a row for it);
    // "Chiudi" then writes the backup and the calendar beside the data file, and ends the
    // program even when neither can be written. The close box ends nothing. The launcher
    // was placed when the window loaded.
    // clang-format off
    void chiudiWritesBackupAfterVersionStamp_data()
    {
        QTest::addColumn<bool>("folderBlocked");
        QTest::addColumn<bool>("stampRow");
        QTest::newRow("backup written") << false << true;
        QTest::newRow("backup and calendar cannot be written") << true << true;
        QTest::newRow("no stamp to write") << false << false;
    }
    // clang-format on

    void chiudiWritesBackupAfterVersionStamp()
    {
        QFETCH(bool, folderBlocked);
        QFETCH(bool, stampRow);
        TestDatabase db;
        db.addEntry(db.addSubject("ROSSI MARIO"), QDate::currentDate(),
                    QDate::currentDate().addDays(30), "MIA");
        QVERIFY(stampRow || db.exec(QStringLiteral("DELETE FROM Versione")));
        // A file named like the backup folder, a folder named like the calendar: neither
        // can be written there, not even as root.
        const QString calendar = QFileInfo(db.path()).dir().filePath("Scadenze.ics");
        QVERIFY(!folderBlocked ||
                (writeFile(backupFolder(db.path()), {}) && QDir().mkpath(calendar)));
        const QString before = QDateTime::currentDateTime().toString(Qt::ISODate).left(19);
        {
            const std::unique_ptr<WindowPair> windows = startMainWindow();
            QVERIFY(windows);
            frmRegistra *window = windows->mainWindow();
            QVERIFY(QDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))
                        .exists(desktopLinkName() + ".desktop"));
            ProgramEndRecorder ended;
            QCloseEvent event;
            QCoreApplication::sendEvent(window, &event);
            QVERIFY(!event.isAccepted() && window->isVisible() && ended.statuses.isEmpty());
            QVERIFY(clickToolbar(window, QStringLiteral("Chiudi")));
            QCOMPARE(ended.statuses, QList<int>{0});
            QVERIFY(!window->isVisible());
        }
        QVERIFY(!DbConnection::instance().isOpen());
        QVERIFY(DbConnection::instance().open(db.path()).ok());
        const QString stamp = readVersionStamp().value.value_or(QString());
        QVERIFY2(stampRow ? stamp.left(19) >= before : stamp.isEmpty(), qPrintable(stamp));
        const QString backup = latestBackup(db.path());
        QCOMPARE(backup.isEmpty(), folderBlocked);
        QFile events(calendar);
        QCOMPARE(events.open(QIODevice::ReadOnly) &&
                     events.readAll().contains("SUMMARY:MIA — ROSSI MARIO"),
                 !folderBlocked);
        if (!folderBlocked) {
            QCOMPARE(QFileInfo(backup).absolutePath(),
                     QFileInfo(db.path()).absolutePath() + QStringLiteral("/Backup"));
            QCOMPARE(
                queryFile(backup,
                          {"SELECT Soggetto FROM Utente UNION ALL SELECT Versione FROM Versione"},
                          nullptr, true),
                QStringList{"ROSSI MARIO"} + (stampRow ? QStringList{stamp} : QStringList()));
        }
    }

private:
    void openAndCheck(DbConnection::OpenMode mode)
    {
        QFETCH(QString, setup);
        QFETCH(ChildLimit, limit);
        QFETCH(QString, expected);
        QFETCH(QString, named);
        const bool readOnlyMode = mode == DbConnection::OpenMode::ReadOnly;
        QTemporaryDir top;
        const QString dir = readOnlyMode ? QDir(top.path()).filePath(named) : top.path();
        QVERIFY(QDir().mkpath(dir));
        const QString path = QDir(dir).filePath(QStringLiteral("Database.sqlite"));
        QVERIFY(prepare(setup, dir, path));
        const QByteArray before = fileSha256(path);
        const QStringList indexes = indexNames(path);
        const QStringList files = QDir(dir).entryList(QDir::Files);
        // Another program holds the file locked, or the program has it open with rows still
        // in the log beside it.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
        other.setDatabaseName(path);
        QVERIFY(setup != "log" || (other.open() && registerItalianCollation(other)));
        const QStringList otherSql =
            setup == "locked" ? QStringList{"PRAGMA locking_mode=EXCLUSIVE", "BEGIN EXCLUSIVE",
                                            "UPDATE Versione SET Versione = 'x'"}
            : setup == "log"
                ? QStringList{"INSERT INTO Utente (Soggetto, utente) VALUES ('VERDI ANNA', 'S')"}
                : QStringList{};
        for (const QString &sql : otherSql)
            QVERIFY((other.isOpen() || other.open()) && QSqlQuery(other).exec(sql));
        auto attempt = [&] { return openedOrProblem(path, mode); };
        const ChildRun run =
            limit == ChildLimit::None ? ChildRun{true, attempt()} : runLimited(limit, attempt);
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
        QFile::setPermissions(dir, readOnlyFolder | QFile::WriteOwner);
        if (!run.limited)
            QSKIP(qPrintable(run.output));
        QVERIFY2(run.output.contains(expected), qPrintable(run.output));
        QVERIFY(!DbConnection::instance().isOpen());
        if (!readOnlyMode)
            QVERIFY2(run.output.contains(QStringLiteral("«%1»").arg(named.isEmpty() ? path : dir)),
                     qPrintable(run.output));
        if (setup == "log")
            return;
        // A file that is not the program's gets nothing beside it either.
        if (readOnlyMode || setup.contains(':'))
            QCOMPARE(QDir(dir).entryList(QDir::Files), files);
        QCOMPARE(fileSha256(path), before);
        QCOMPARE(indexNames(path), indexes);
    }
};

TAVELO_TEST_MAIN(TestDbConnection)

#include "tst_db_connection.moc"
