// SPDX-License-Identifier: GPL-3.0-or-later
// Scadenze.ics at "Chiudi": the deadlines still ahead, rewritten only when they changed
// since it was written, in a folder made for the user alone when missing.
#include "test_support.h"

#include "calendar/deadline_calendar.h"

#include <QFileInfo>
#include <QSettings>

namespace {

int eventsIn(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count("BEGIN:VEVENT")) : -1;
}

QString isoDaysFromToday(int days)
{
    return QDate::currentDate().addDays(days).toString(Qt::ISODate);
}

} // namespace

class TestCalendarRefresh : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QSettings(QStringLiteral("Tavelo"), QStringLiteral("Tavelo")).clear(); }
    void rewrittenOnlyWhenChanged_data();
    void rewrittenOnlyWhenChanged();
    void windowOfDaysBack_data();
    void windowOfDaysBack();
};

// Two deadlines of ROSSI ahead ("UNO" in 5 days, "DUE" in 9), written; then the change.
// clang-format off
void TestCalendarRefresh::rewrittenOnlyWhenChanged_data()
{
    QTest::addColumn<QString>("change"); // SQL; "" none; "remove" the file goes
    QTest::addColumn<bool>("otherDesk");
    QTest::addColumn<bool>("rewritten");
    QTest::addColumn<int>("events");
    const QString ahead = QStringLiteral("INSERT INTO Tavelo (data, scadenza, Oggetto, Utente) SELECT '%1', '%2', 'TRE', ID FROM Utente").arg(isoDaysFromToday(0));
    QTest::newRow("nothing changed") << "" << false << false << 2;
    QTest::newRow("insert") << ahead.arg(isoDaysFromToday(3)) << false << true << 3;
    QTest::newRow("insert long past") << ahead.arg(isoDaysFromToday(-61)) << false << false << 2;
    QTest::newRow("note, same length") << "UPDATE Tavelo SET Oggetto = 'UNA' WHERE Oggetto = 'UNO'" << false << true << 2;
    QTest::newRow("due date") << QStringLiteral("UPDATE Tavelo SET scadenza = '%1' WHERE Oggetto = 'UNO'").arg(isoDaysFromToday(6)) << false << true << 2;
    QTest::newRow("document number") << "UPDATE Tavelo SET ndoc = '7' WHERE Oggetto = 'DUE'" << false << true << 2;
    QTest::newRow("owner renamed") << "UPDATE Utente SET Soggetto = 'ROSSO'" << false << true << 2;
    QTest::newRow("delete") << "DELETE FROM Tavelo WHERE Oggetto = 'UNO'" << false << true << 1;
    QTest::newRow("another desk's change") << "UPDATE Tavelo SET Oggetto = 'DIE' WHERE Oggetto = 'DUE'" << true << true << 2;
    QTest::newRow("file removed") << "remove" << false << true << 2;
}
// clang-format on

void TestCalendarRefresh::rewrittenOnlyWhenChanged()
{
    QFETCH(QString, change);
    QFETCH(bool, otherDesk);
    TestDatabase db;
    const QDate today = QDate::currentDate();
    const qint64 rossi = db.addSubject(QStringLiteral("ROSSI"));
    db.addEntry(rossi, today, today.addDays(5), QStringLiteral("UNO"));
    db.addEntry(rossi, today, today.addDays(9), QStringLiteral("DUE"));
    // A desk's calendar of a server outlives the test's database.
    const QString path = calendarFileBesideData();
    QFile::remove(path);
    QVERIFY(refreshCalendarBesideData());
    QCOMPARE(eventsIn(path), 2);
    if (change == QLatin1String("remove"))
        QVERIFY(QFile::remove(path));
    else if (!change.isEmpty())
        QVERIFY(otherDesk ? execAtSecondDesk(change) : db.exec(change));

    QTEST(refreshCalendarBesideData(), "rewritten");
    QTEST(eventsIn(path), "events");
}

// A deadline due `daysBack` days ago, with the settings' key at `setting` ("": unset). A
// desk on a server keeps its calendar in its own data folder, which may never have been
// made: it is made, for the user alone.
void TestCalendarRefresh::windowOfDaysBack_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("daysBack");
    QTest::addColumn<bool>("included");
    QTest::newRow("59 days back") << "" << 59 << true;
    QTest::newRow("60 days back") << "" << 60 << true;
    QTest::newRow("61 days back") << "" << 61 << false;
    QTest::newRow("key 10, 10 days back") << "10" << 10 << true;
    QTest::newRow("key 10, 11 days back") << "10" << 11 << false;
    QTest::newRow("key 0, yesterday") << "0" << 1 << false;
    QTest::newRow("key not a number, 61 days back") << "molti" << 61 << false;
}

void TestCalendarRefresh::windowOfDaysBack()
{
    QFETCH(QString, setting);
    QFETCH(int, daysBack);
    QFETCH(bool, included);
    if (!setting.isEmpty())
        QSettings(QStringLiteral("Tavelo"), QStringLiteral("Tavelo"))
            .setValue(calendarDaysBackKey(), setting);
    TestDatabase db;
    const QDate due = QDate::currentDate().addDays(-daysBack);
    db.addEntry(db.addSubject(QStringLiteral("ROSSI")), due.addDays(-1), due,
                QStringLiteral("UNO"));
    const QString folder = QFileInfo(calendarFileBesideData()).absolutePath();
    const bool server = DbConnection::instance().isServer();
    if (server)
        QDir(folder).removeRecursively();
    QFile::remove(calendarFileBesideData());
    QVERIFY(refreshCalendarBesideData());
    QCOMPARE(eventsIn(calendarFileBesideData()), included ? 1 : 0);
    QVERIFY(!server || fileMode(folder) == 0700);
}

TAVELO_TEST_MAIN(TestCalendarRefresh)
#include "tst_calendar_refresh.moc"
