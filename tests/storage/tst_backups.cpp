// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_steps.h"

#include "main_window/frm_registra.h"
#include "storage/backups.h"
#include "widgets/shell_services.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStandardPaths>

namespace {

// A backup looked at read-only, on a connection of its own.
QStringList readBackup(const QString &path, const QString &sql)
{
    return queryFile(path, {sql}, nullptr, true);
}

const QStringList othersInFolder = {"appunti.txt", "Database.sqlite", "Database_vecchio.sqlite"};

} // namespace

class TestBackups : public PromptedTest
{
    Q_OBJECT

private slots:
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
        QCOMPARE(readBackup(second, "SELECT Soggetto FROM Utente WHERE ID IN (1, 301) UNION ALL "
                                    "SELECT Oggetto FROM Tavelo"),
                 QStringList({"ULTIMO L'ANNO", "SOGGETTO 299", "VOCE"}));
        QCOMPARE(readBackup(second, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
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
        const Outcome<QString> first = writeBackup(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
        const QString sound = first.value;
        QVERIFY2(first.ok() && !sound.isEmpty(), qPrintable(first.problem));
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
            const QString desktop =
                QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
            QVERIFY(QFileInfo::exists(QDir(desktop).filePath(desktopLinkName() + ".desktop")));
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
        QCOMPARE(events.open(QIODevice::ReadOnly), !folderBlocked);
        QCOMPARE(events.readAll().contains("SUMMARY:MIA — ROSSI MARIO"), !folderBlocked);
        if (!folderBlocked) {
            QCOMPARE(QFileInfo(backup).absolutePath(),
                     QFileInfo(db.path()).absolutePath() + QStringLiteral("/Backup"));
            QCOMPARE(readBackup(backup,
                                "SELECT Soggetto FROM Utente UNION ALL SELECT Versione FROM "
                                "Versione"),
                     QStringList{"ROSSI MARIO"} + (stampRow ? QStringList{stamp} : QStringList()));
        }
    }
};

TAVELO_TEST_MAIN(TestBackups)
#include "tst_backups.moc"
