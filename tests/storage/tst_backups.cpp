// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_steps.h"
#include "test_support.h"

#include "main_window/frm_registra.h"
#include "storage/backups.h"
#include "storage/db_connection.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSqlQuery>

namespace {

// The first column of every row of a query on the program's connection.
QStringList column(const QString &sql)
{
    QSqlQuery query(DbConnection::instance().database());
    QStringList values;
    for (bool ok = query.exec(sql); ok && query.next();)
        values << query.value(0).toString();
    return values;
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_prompt = ScriptedPrompt::install(); }
    void cleanup();

    void rotationKeepsTenMostRecent();
    void backupHoldsLastWrite();
    void chiudiWritesBackupAfterVersionStamp_data();
    void chiudiWritesBackupAfterVersionStamp();

private:
    ScriptedPrompt *m_prompt = nullptr;
};

void TestBackups::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    DbConnection::instance().close();
    Prompt::install(nullptr);
}

void TestBackups::rotationKeepsTenMostRecent()
{
    TestDatabase db;
    const QDir folder(backupFolder(db.path()));
    QVERIFY(folder.mkpath("."));
    // Files that the program did not write stay where they are.
    const QStringList others = {"appunti.txt", "Database.sqlite", "Database_vecchio.sqlite"};
    for (const QString &name : others)
        QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
    const QDateTime first(QDate(2026, 1, 31), QTime(23, 59, 0));
    QStringList written;
    QString problem;
    for (int i = 0; i < 12; ++i)
        written << writeBackup(&problem, first.addSecs(60 * i));
    QVERIFY2(!written.contains(QString()), qPrintable(problem));
    QCOMPARE(QFileInfo(written.first()).fileName(), "Database_2026-01-31_23-59-00-000.sqlite");
    QCOMPARE(backupsOf(db.path()), QStringList(written.rbegin(), written.rend() - 2));
    QCOMPARE(latestBackup(db.path()), written.last());
    for (const QString &name : others)
        QVERIFY(QFile::exists(folder.filePath(name)));
}

// Also while a grid that has fetched only its first rows keeps its statement running. A
// backup that cannot be written (a file named like its folder) touches nothing.
void TestBackups::backupHoldsLastWrite()
{
    TestDatabase db;
    const qint64 last = db.addSubject("ULTIMO L'ANNO");
    db.addEntry(last, QDate(2026, 12, 7), QDate(2026, 12, 31), "VOCE");
    QFile blocker(backupFolder(db.path()));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    QString problem;
    QVERIFY(writeBackup(&problem).isEmpty() && problem.contains(backupFolder(db.path())));
    QVERIFY(DbConnection::instance().isOpen() && db.count("Tavelo") == 1 && blocker.remove());
    for (int i = 0; i < 300; ++i)
        db.addSubject(QString("SOGGETTO %1").arg(i, 3, 10, QLatin1Char('0')));
    RowsResult grid = selectRegistryGridRows();
    QVERIFY(grid.ok() && grid.value.next());
    const QDateTime moment(QDate(2026, 12, 7), QTime(10, 0));
    // A second close within the same instant still gets a copy of its own.
    const QString first = writeBackup(&problem, moment), second = writeBackup(&problem, moment);
    QVERIFY2(!first.isEmpty() && !second.isEmpty() && second != first, qPrintable(problem));
    QVERIFY(grid.value.next());
    QCOMPARE(grid.value.value(1).toString(), "SOGGETTO 001");
    // The copy is a data file that the program opens as its own.
    DbConnection::instance().close();
    QVERIFY2(DbConnection::instance().open(second, &problem), qPrintable(problem));
    QCOMPARE(column("PRAGMA integrity_check"), QStringList{"ok"});
    QCOMPARE(column("SELECT Soggetto FROM Utente WHERE ID IN (1, 301) UNION ALL "
                    "SELECT Oggetto FROM Tavelo"),
             QStringList({"ULTIMO L'ANNO", "SOGGETTO 299", "VOCE"}));
    QCOMPARE(db.count("Utente"), 301);
}

// The window's activation writes the version stamp; "Chiudi" then writes the backup,
// and ends the program even when the backup cannot be written.
void TestBackups::chiudiWritesBackupAfterVersionStamp_data()
{
    QTest::addColumn<bool>("folderBlocked");
    QTest::newRow("backup written") << false;
    QTest::newRow("backup folder cannot be made") << true;
}

void TestBackups::chiudiWritesBackupAfterVersionStamp()
{
    QFETCH(bool, folderBlocked);
    TestDatabase db;
    db.addSubject("ROSSI MARIO");
    QVERIFY(!folderBlocked || QFile(backupFolder(db.path())).open(QIODevice::WriteOnly));
    {
        const std::unique_ptr<frmRegistra> window = startMainWindow();
        QVERIFY(window && window->Label25->text() != "Versione");
        ProgramEndRecorder ended;
        QVERIFY(clickToolbar(window->tbTop, "Chiudi"));
        QCOMPARE(ended.statuses(), QList<int>{0});
    }
    QString problem;
    QVERIFY(!DbConnection::instance().isOpen() &&
            DbConnection::instance().open(db.path(), &problem));
    const QString stamp = readVersionStamp().value.value_or(QString());
    const QString backup = latestBackup(db.path());
    QVERIFY(!stamp.isEmpty() && backup.isEmpty() == folderBlocked);
    if (!folderBlocked) {
        QCOMPARE(QFileInfo(backup).absolutePath(), QFileInfo(db.path()).absolutePath() + "/Backup");
        QVERIFY(DbConnection::instance().open(backup, &problem));
        QCOMPARE(column("SELECT Versione FROM Versione UNION ALL SELECT Soggetto FROM Utente"),
                 QStringList({stamp, "ROSSI MARIO"}));
    }
}

TAVELO_TEST_MAIN(TestBackups)
#include "tst_backups.moc"
