// SPDX-License-Identifier: GPL-3.0-or-later
// An archive written before the columns of repeating and closed deadlines existed: the
// program upgrades it after a backup, or leaves it as it was; a command that only reads
// leaves it as it was and still sees the new columns. (The import from the earlier
// version's database: tst_import_command; an older data file copied onto the server:
// tst_server_archive.)
#include "test_support.h"

#include "storage/backup_files.h"
#include "storage/backups.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlQuery>

namespace {

bool onServer()
{
    return !testServerConnection().isEmpty();
}

// The first column of every row, or "error".
QStringList column(const QString &sql)
{
    QSqlQuery query(DbConnection::instance().database());
    QStringList values;
    for (bool ran = query.exec(sql); !ran || query.next(); ran = true)
        values << (ran ? query.value(0).toString() : "error");
    return values;
}

// Each row of every table, every column quoted as the engine quotes it, its type included.
QStringList quotedRows()
{
    QStringList rows;
    for (const QString &table : archiveTableNames()) {
        QStringList columns = archiveFirstColumns(table);
        columns.replaceInStrings(QRegularExpression("(.+)"),
                                 onServer() ? "quote_nullable(\\1)" : "quote(\\1)");
        rows << column("SELECT " + columns.join(" || '|' || ") + " FROM " + table + " ORDER BY 1");
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

} // namespace

class TestArchiveUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { DbConnection::instance().close(); }
    void olderArchiveAtOpen_data();
    void olderArchiveAtOpen();
};

// clang-format off
void TestArchiveUpgrade::olderArchiveAtOpen_data()
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

void TestArchiveUpgrade::olderArchiveAtOpen()
{
    QFETCH(QString, archive);
    QFETCH(QString, refused);
    TestDatabase db;
    fillArchive(db, archive);
    const QStringList before = quotedRows(),
                      notes = column("SELECT Oggetto FROM Tavelo ORDER BY ID");
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
    QCOMPARE(column("SELECT COUNT(*) FROM Tavelo WHERE Ripeti IS NULL AND Chiusa IS NULL"),
             column("SELECT COUNT(*) FROM Tavelo"));
    const bool upgraded = archive == "old";
    QCOMPARE(column(QString("SELECT COUNT(Chiusa) + COUNT(Ripeti) FROM %1.Tavelo")
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

TAVELO_TEST_MAIN(TestArchiveUpgrade)
#include "tst_archive_upgrade.moc"
