// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_steps.h"
#include "test_support.h"

#include "app/startup.h"
#include "core/dates.h"
#include "main_window/frm_registra.h"
#include "storage/backups.h"
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSqlQuery>

namespace {

// Opens a backup on a connection of its own, read-only, and runs one query on it.
QStringList readBackup(const QString &path, const QString &sql)
{
    QStringList values;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("backup"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql)) {
                while (query.next())
                    values << query.value(0).toString();
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("backup"));
    return values;
}

// Spoils the first page of the tables, as a bad disk would; the schema page stays
// readable, so only the file's own check finds it.
void spoilTablePage(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(4096));
    file.write(QByteArray(4096, char(0x5a)));
    file.close();
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rotationKeepsTenMostRecent();
    void backupHoldsLastWrite();
    void backupWhileGridStillReads();
    void failedBackupTouchesNothing();
    void chiudiWritesBackupAfterVersionStamp();
    void chiudiEndsEvenWhenBackupFails();
    void damagedFileAtStartNamesLatestBackup_data();
    void damagedFileAtStartNamesLatestBackup();

private:
    DataFileTest f;

    void startAndChiudi();
};

void TestBackups::init()
{
    f.prepare();
}

void TestBackups::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

void TestBackups::rotationKeepsTenMostRecent()
{
    TestDatabase db;
    QVERIFY(db.isOpen());
    const QDir folder(backupFolder(db.path()));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    // Files that the program did not write stay where they are.
    for (const char *name : {"appunti.txt", "Database.sqlite", "Database_vecchio.sqlite"}) {
        QFile other(folder.filePath(QLatin1String(name)));
        QVERIFY(other.open(QIODevice::WriteOnly));
    }
    const QDateTime first(QDate(2026, 1, 31), QTime(23, 59, 0));
    QStringList written;
    for (int i = 0; i < 12; ++i) {
        const Outcome<QString> backup = writeBackup(first.addSecs(60 * i));
        written << backup.value;
        QVERIFY2(backup.ok() && !backup.value.isEmpty(), qPrintable(backup.problem));
        QCOMPARE(backupsOf(db.path()).size(), qMin(i + 1, backupsKept));
    }
    QCOMPARE(QFileInfo(written.first()).fileName(),
             QStringLiteral("Database_2026-01-31_23-59-00-000.sqlite"));
    QStringList expected = written.mid(2);
    std::reverse(expected.begin(), expected.end());
    QCOMPARE(backupsOf(db.path()), expected);
    QCOMPARE(latestBackup(db.path()), written.last());
    QVERIFY(!QFile::exists(written.at(0)));
    QVERIFY(!QFile::exists(written.at(1)));
    for (const char *name : {"appunti.txt", "Database.sqlite", "Database_vecchio.sqlite"})
        QVERIFY(QFile::exists(folder.filePath(QLatin1String(name))));
}

void TestBackups::backupHoldsLastWrite()
{
    TestDatabase db;
    db.addSubject(QStringLiteral("PRIMO"));
    const qint64 last = db.addSubject(QStringLiteral("ULTIMO L'ANNO"));
    db.addEntry(last, QDate(2026, 12, 7), QDate(2026, 12, 31), QStringLiteral("VOCE"));
    QString problem;
    const QDateTime moment(QDate(2026, 12, 7), QTime(10, 0));
    const QString first = writeBackup(moment).value;
    QVERIFY(!first.isEmpty());
    // A second close within the same instant still gets a copy of its own.
    const QString second = writeBackup(moment).value;
    QVERIFY(!second.isEmpty() && second != first);
    QCOMPARE(readBackup(second, QStringLiteral("SELECT Soggetto FROM Utente ORDER BY ID")),
             QStringList({"PRIMO", "ULTIMO L'ANNO"}));
    QCOMPARE(readBackup(second, QStringLiteral("SELECT Oggetto FROM Tavelo")), QStringList{"VOCE"});
    QCOMPARE(readBackup(second, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
    // The copy is a data file that the program opens as its own.
    DbConnection::instance().close();
    QVERIFY2(DbConnection::instance().open(second, &problem), qPrintable(problem));
    QCOMPARE(db.count(QStringLiteral("Utente")), 2);
}

void TestBackups::backupWhileGridStillReads()
{
    TestDatabase db;
    for (int i = 0; i < 300; ++i)
        db.addSubject(QStringLiteral("SOGGETTO %1").arg(i, 3, 10, QLatin1Char('0')));
    // A grid that has fetched only its first rows keeps its statement running.
    RowStream<Subject> grid = selectRegistryGridRows();
    Subject row;
    QVERIFY(grid.ok() && grid.next(&row));
    const QString backup = writeBackup().value;
    QVERIFY(!backup.isEmpty());
    QCOMPARE(readBackup(backup, QStringLiteral("SELECT COUNT(*) FROM Utente")), QStringList{"300"});
    QVERIFY(grid.next(&row));
    QCOMPARE(row.soggetto, QStringLiteral("SOGGETTO 001"));
}

void TestBackups::failedBackupTouchesNothing()
{
    TestDatabase db;
    db.addSubject(QStringLiteral("ROSSI"));
    // A file named like the folder: the folder cannot be made.
    QFile blocker(backupFolder(db.path()));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Outcome<QString> backup = writeBackup();
    QVERIFY(!backup.ok() && backup.value.isEmpty());
    QVERIFY2(backup.problem.contains(backupFolder(db.path())), qPrintable(backup.problem));
    QCOMPARE(db.count(QStringLiteral("Utente")), 1);
    QVERIFY(DbConnection::instance().isOpen());
}

// Starts the main window on the open data file, lets its activation write the version
// stamp, and ends the program with "Chiudi".
void TestBackups::startAndChiudi()
{
    const std::unique_ptr<frmRegistra> window = startMainWindow();
    QVERIFY(window);
    QVERIFY(window->Label25->text() != QStringLiteral("Versione"));
    ProgramEndRecorder ended;
    QVERIFY(clickToolbar(window->tbTop, QStringLiteral("Chiudi")));
    QCOMPARE(ended.statuses(), QList<int>{0});
}

void TestBackups::chiudiWritesBackupAfterVersionStamp()
{
    TestDatabase db;
    db.addSubject(QStringLiteral("ROSSI MARIO"));
    const QString path = db.path();
    startAndChiudi();
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(!DbConnection::instance().isOpen());
    const QString backup = latestBackup(path);
    QVERIFY(!backup.isEmpty());
    QCOMPARE(QFileInfo(backup).absolutePath(),
             QFileInfo(path).absolutePath() + QStringLiteral("/Backup"));
    QString problem;
    QVERIFY(DbConnection::instance().open(path, &problem));
    const QString stamp = *readVersionStamp().value;
    QCOMPARE(readBackup(backup, QStringLiteral("SELECT Versione FROM Versione")),
             QStringList{stamp});
    QCOMPARE(readBackup(backup, QStringLiteral("SELECT Soggetto FROM Utente")),
             QStringList{"ROSSI MARIO"});
}

void TestBackups::chiudiEndsEvenWhenBackupFails()
{
    TestDatabase db;
    const QString path = db.path();
    QFile blocker(backupFolder(path));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    startAndChiudi();
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(f.prompt->shown().isEmpty());
    QString problem;
    QVERIFY(DbConnection::instance().open(path, &problem));
    QVERIFY(readVersionStamp().value.has_value());
}

void TestBackups::damagedFileAtStartNamesLatestBackup_data()
{
    QTest::addColumn<int>("backups");
    QTest::newRow("with backups") << 3;
    QTest::newRow("without backup") << 0;
}

void TestBackups::damagedFileAtStartNamesLatestBackup()
{
    QFETCH(int, backups);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QString problem;
    QVERIFY(DbConnection::instance().open(path, &problem));
    for (int i = 0; i < 30; ++i) {
        Subject subject;
        subject.soggetto = QStringLiteral("SOGGETTO %1").arg(i);
        QVERIFY(insertSubject(subject).ok());
    }
    QString latest;
    for (int i = 0; i < backups; ++i)
        latest = writeBackup(QDateTime(QDate(2026, 12, 1 + i), QTime(18, 0))).value;
    DbConnection::instance().close();
    spoilTablePage(path);
    const QByteArray before = fileSha256(path);

    f.prompt->answer(PromptAnswer::Ok);
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("danneggiato")));
    std::unique_ptr<frmRegistra> window = Main(path);
    QVERIFY(!window);
    QCOMPARE(f.prompt->shown().size(), 1);
    const PromptRequest box = f.prompt->shown().first();
    QCOMPARE(box.icon, PromptIcon::Critical);
    QVERIFY2(box.text.contains(QDir::toNativeSeparators(path)), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("danneggiato")), qPrintable(box.text));
    if (backups > 0) {
        QVERIFY2(box.text.contains(QDir::toNativeSeparators(latest)), qPrintable(box.text));
        QVERIFY(box.text.contains(QStringLiteral("rinominandola «Database.sqlite»")));
    } else {
        QVERIFY2(box.text.contains(QStringLiteral("Non c'è nessuna copia")), qPrintable(box.text));
    }
    QCOMPARE(fileSha256(path), before);
    QVERIFY(!DbConnection::instance().isOpen());
}

TAVELO_TEST_MAIN(TestBackups)
#include "tst_backups.moc"
