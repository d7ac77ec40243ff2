// SPDX-License-Identifier: GPL-3.0-or-later
// An archive written before the columns of repeating and closed deadlines existed: the
// program upgrades it after a backup, or leaves it as it was; a command that only reads
// leaves it as it was and still sees the new columns; the import fills them with NULL.
#include "test_support.h"

#include "legacy/legacy_import.h"
#include "report_command/report_command.h"
#include "storage/backup_files.h"
#include "storage/backups.h"

#include <QDir>
#include <QSqlQuery>

namespace {

bool onServer()
{
    return !testServerConnection().isEmpty();
}

// One text per row of every table, each column as the engine quotes it (type included).
QStringList quotedRows(const QStringList &tables = archiveTableNames())
{
    QStringList rows;
    for (const QString &table : tables) {
        QStringList parts;
        for (const QString &column : archiveFirstColumns(table))
            parts << QString(onServer() ? "quote_nullable(%1)" : "quote(%1)").arg(column);
        QSqlQuery query(DbConnection::instance().database());
        if (!query.exec("SELECT " + parts.join(" || '|' || ") + " FROM " + table + " ORDER BY 1"))
            rows << query.lastError().text();
        while (query.next())
            rows << query.value(0).toString();
    }
    return rows;
}

QString scalar(const QString &sql)
{
    QSqlQuery query(DbConnection::instance().database());
    return query.exec(sql) && query.next() ? query.value(0).toString() : "error";
}

Check reopen(DbConnection::OpenMode mode, const QString &path)
{
    return onServer() ? DbConnection::instance().openServer(testServerConnection(), mode)
                      : DbConnection::instance().open(path, mode);
}

// Rows with NULLs, empty texts, quotes and wildcards; on a file, dates with a time of day
// and empty dates, as the earlier version left them. "old" drops the added columns, "strict"
// makes Tavelo a table whose types refuse the second one.
void fillArchive(TestDatabase &db, const QString &archive)
{
    if (archive == "strict")
        QVERIFY(db.exec("DROP TABLE Tavelo") &&
                db.exec("CREATE TABLE Tavelo (ID INTEGER PRIMARY KEY AUTOINCREMENT, data TEXT, "
                        "scadenza TEXT, Oggetto TEXT COLLATE NOCASE, ndoc TEXT, Utente INTEGER, "
                        "AGG TEXT) STRICT"));
    for (const QString &index : DbConnection::indexStatements())
        QVERIFY(db.exec(index));
    const qint64 user = db.addSubject("ROSSI MARIO");
    QVERIFY(db.exec("INSERT INTO Utente (Soggetto, utente, Codice) VALUES ('D''ANGELO', 'N', '')"));
    db.addEntry(user, QDate(2026, 1, 10), QDate(2026, 7, 16), "IVA 100%_'16'", "");
    QVERIFY(db.exec("INSERT INTO Tavelo (Oggetto) VALUES (NULL)"));
    QVERIFY(onServer() || db.exec("INSERT INTO Tavelo (data, scadenza, Oggetto, Utente, AGG) "
                                  "VALUES ('2026-01-10 08:30:00', '', 'àè', 1, '2026-01-10')"));
    QVERIFY(db.exec("UPDATE Versione SET Versione = '2026-01-10T08:30:00'"));
    for (const AddedColumn &added : addedColumns())
        QVERIFY(archive != "old" || db.exec("ALTER TABLE Tavelo DROP COLUMN " + added.column));
}

} // namespace

class TestArchiveUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { DbConnection::instance().close(); }
    void olderArchiveAtOpen_data();
    void olderArchiveAtOpen();
    void importLeavesNewColumnsEmpty_data();
    void importLeavesNewColumnsEmpty();
};

// clang-format off
void TestArchiveUpgrade::olderArchiveAtOpen_data()
{
    QTest::addColumn<QString>("archive"); // "old", "strict" or "current"
    QTest::addColumn<QString>("opening"); // "program", "report", "no backup folder"
    QTest::addColumn<QString>("refused"); // what the message says, "" when it opens
    QTest::newRow("older archive, the program") << "old" << "program" << "";
    QTest::newRow("older archive, tavelo-report") << "old" << "report" << "";
    QTest::newRow("older archive, backup impossible") << "old" << "no backup folder" << "la copia di sicurezza che lo precede non è riuscita";
    QTest::newRow("current archive, no backup") << "current" << "program" << "";
    if (!onServer())
        QTest::newRow("second column refused") << "strict" << "program" << "non si è potuto aggiornare";
}
// clang-format on

void TestArchiveUpgrade::olderArchiveAtOpen()
{
    QFETCH(QString, archive);
    QFETCH(QString, opening);
    QFETCH(QString, refused);
    TestDatabase db;
    fillArchive(db, archive);
    const QStringList before = quotedRows();
    const QString quote = onServer() ? "quote_nullable" : "quote";
    QStringList notes;
    QSqlQuery query(DbConnection::instance().database());
    QVERIFY(query.exec("SELECT " + quote + "(Oggetto) FROM Tavelo ORDER BY ID"));
    while (query.next())
        notes << query.value(0).toString();
    query = QSqlQuery();
    DbConnection::instance().close();
    const QString base = onServer() ? serverBackupBase() : db.path();
    QDir(backupFolder(base)).removeRecursively();
    QVERIFY(opening != "no backup folder" || writeFile(backupFolder(base), "un file"));
    const QByteArray bytes = fileSha256(db.path());
    QTemporaryDir out;
    const QStringList where = onServer() ? QStringList{"--server", testServerConnection()}
                                         : QStringList{"--dati", db.path()};
    if (opening == "report") {
        const CommandRun run =
            runCommandInProcess(runReportCommand, "tavelo-report",
                                where + QStringList{"schedautenti", out.filePath("u.pdf")});
        QVERIFY2(run.status == 0, qPrintable(run.err));
    } else {
        const Check opened = reopen(DbConnection::OpenMode::ReadWrite, db.path());
        QVERIFY2(opened.ok() == refused.isEmpty() && opened.problem.contains(refused),
                 qPrintable(opened.problem));
        DbConnection::instance().close();
    }
    const bool upgraded = opening == "program" && refused.isEmpty() && archive == "old";
    QCOMPARE(fileSha256(db.path()) == bytes, !upgraded || onServer());
    QVERIFY(reopen(DbConnection::OpenMode::ReadOnly, db.path()).ok());
    QCOMPARE(quotedRows(), before);
    // The statements that name the new columns work on every archive.
    QCOMPARE(scalar("SELECT COUNT(*) FROM Tavelo WHERE Ripeti IS NULL AND Chiusa IS NULL"),
             scalar("SELECT COUNT(*) FROM Tavelo"));
    const QString table = onServer() ? "public.Tavelo" : "main.Tavelo";
    QCOMPARE(scalar("SELECT COUNT(Chiusa) + COUNT(Ripeti) FROM " + table),
             upgraded || archive == "current" ? "0" : "error");
    // The backup before the upgrade holds the rows as they were.
    const QStringList backups = backupsOf(base);
    QCOMPARE(backups.size(), int(opening == "program" && archive != "current"));
    for (const QString &backup : backups)
        QCOMPARE(
            queryFile(backup, {"SELECT quote(Oggetto) FROM Tavelo ORDER BY ID"}, nullptr, true),
            notes);
}

void TestArchiveUpgrade::importLeavesNewColumnsEmpty_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("earlier version's database") << "mdb";
    if (onServer())
        QTest::newRow("older data file onto the server") << "older file";
}

// Without a word about the columns that the earlier archives never had.
void TestArchiveUpgrade::importLeavesNewColumnsEmpty()
{
    QFETCH(QString, source);
    QTemporaryDir dir;
    LegacyImportRequest request{legacyDatabasePath(), dir.filePath("Database.sqlite"),
                                testServerConnection()};
    if (onServer())
        resetTestServerDatabase();
    if (source == "older file") {
        request.legacyFile = dir.filePath("Vecchio.sqlite");
        QVERIFY(DbConnection::instance().open(request.legacyFile).ok());
        for (const char *sql :
             {"INSERT INTO Utente (Soggetto, utente) VALUES ('ROSSI', 'S')",
              "INSERT INTO Tavelo (Oggetto, Utente) VALUES ('VOCE', 1)",
              "ALTER TABLE Tavelo DROP COLUMN Ripeti", "ALTER TABLE Tavelo DROP COLUMN Chiusa"})
            QVERIFY(QSqlQuery(DbConnection::instance().database()).exec(sql));
        DbConnection::instance().close();
    }
    const Outcome<LegacyImportSummary> imported =
        source == "mdb" ? importLegacyFile(request) : copyDataFileToServer(request);
    QVERIFY2(imported.ok(), qPrintable(imported.problem));
    const QString summary = importSummaryText(imported.value);
    QVERIFY2(!summary.contains("Ripeti") && !summary.contains("Chiusa"), qPrintable(summary));
    QVERIFY(reopen(DbConnection::OpenMode::ReadOnly, request.dataFile).ok());
    QVERIFY(scalar("SELECT COUNT(*) FROM Tavelo").toInt() > 0);
    QCOMPARE(scalar("SELECT COUNT(*) FROM Tavelo WHERE Ripeti IS NULL AND Chiusa IS NULL"),
             scalar("SELECT COUNT(*) FROM Tavelo"));
}

TAVELO_TEST_MAIN(TestArchiveUpgrade)
#include "tst_archive_upgrade.moc"
