// SPDX-License-Identifier: GPL-3.0-or-later
// The deadlines as an iCalendar file, read back the way a calendar program reads it;
// repeating deadlines: the rule that each "Ripeti" choice stores, and the due date of the
// deadline that follows a closed one (expected dates read off a calendar); Scadenze.ics at
// "Chiudi": the deadlines still ahead or at most some days back, rewritten only when they
// changed since it was written, in a folder made for the user alone when missing.
#include "test_support.h"

#include "calendar/deadline_calendar.h"
#include "calendar/repeat_rule.h"
#include "core/working_days.h"

#include <QSettings>

#include <libical/ical.h>
#include <sys/stat.h>

namespace {

// Each event as a line: start, end, alarms, summary, description; or why the file is
// not a calendar. Lines are folded at 75 octets without cutting a letter in two.
QStringList readCalendar(const QString &path)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    for (const QByteArray &line : bytes.split('\n'))
        if (line.size() > 76 || QString::fromUtf8(line).toUtf8() != line)
            return {"RIGA TROPPO LUNGA O SPEZZATA: " + QString::fromUtf8(line)};
    icalcomponent *calendar = icalparser_parse_string(bytes.constData());
    if (!calendar)
        return {"NON È UN CALENDARIO"};
    QStringList events;
    for (icalcomponent *e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        QString event = QString::fromUtf8(icaltime_as_ical_string(icalcomponent_get_dtstart(e))) +
                        ' ' + icaltime_as_ical_string(icalcomponent_get_dtend(e));
        for (icalcomponent *a = icalcomponent_get_first_component(e, ICAL_VALARM_COMPONENT); a;
             a = icalcomponent_get_next_component(e, ICAL_VALARM_COMPONENT))
            event += ' ' + QString::fromUtf8(icaldurationtype_as_ical_string(
                               icalproperty_get_trigger(
                                   icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY))
                                   .duration));
        events << event + " | " + QString::fromUtf8(icalcomponent_get_summary(e)) + " | " +
                      QString::fromUtf8(icalcomponent_get_description(e));
    }
    icalcomponent_free(calendar);
    return events;
}

int eventsIn(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count("BEGIN:VEVENT")) : -1;
}

} // namespace

class TestCalendar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QSettings(QStringLiteral("Tavelo"), QStringLiteral("Tavelo")).clear(); }
    void eventOfADeadline_data();
    void eventOfADeadline();
    void uidsStayAndFailedWriteLeavesOldFile();
    void ruleForChoice_data();
    void ruleForChoice();
    void nextDue_data();
    void nextDue();
    void rewrittenOnlyWhenChanged_data();
    void rewrittenOnlyWhenChanged();
};

// Due on 15 January, entered on 1 December: the event takes the due date's day.
// clang-format off
void TestCalendar::eventOfADeadline_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("ndoc");
    QTest::addColumn<QString>("expected");
    QString longNote;
    for (int i = 0; longNote.size() < 10000; ++i) longNote += QStringLiteral("Riga %1: àèéìòù, \"virgolette\"; l'€ \\ fine\n").arg(i);
    longNote.chop(1);
    const QString day = "20260115 20260116 -P3D PT9H | ", owner = " — ROSSI MARIO | ";
    const QString entered = "Utente: ROSSI MARIO\nData registrazione: 01/12/2025";
    QTest::newRow("note of two lines, document number") << "RINNOVO L'ASSICURAZIONE, AUTO; ÈCCO\nSECONDA RIGA: «PERÒ»" << "12,5" << day + "RINNOVO L'ASSICURAZIONE, AUTO; ÈCCO" + owner + "RINNOVO L'ASSICURAZIONE, AUTO; ÈCCO\nSECONDA RIGA: «PERÒ»\n\nUtente: ROSSI MARIO\nN. documento: 12,5\nData registrazione: 01/12/2025";
    QTest::newRow("no note, no document number") << QString() << QString() << day + "ROSSI MARIO | " + entered;
    QTest::newRow("the earlier version's CR LF") << "PRIMA\r\nSECONDA" << QString() << day + "PRIMA" + owner + "PRIMA\nSECONDA\n\n" + entered;
    QTest::newRow("long note, exactly") << longNote << QString() << day + "Riga 0: àèéìòù, \"virgolette\"; l'€ \\ fine" + owner + longNote + "\n\n" + entered;
}
// clang-format on

void TestCalendar::eventOfADeadline()
{
    QFETCH(QString, note);
    QFETCH(QString, ndoc);
    QFETCH(QString, expected);
    TestDatabase db;
    // Twice: the first event and the next ones are put together in two ways.
    const qint64 rossi = db.addSubject("ROSSI MARIO");
    for (int i = 0; i < 2; ++i)
        db.addEntry(rossi, QDate(2025, 12, 1), QDate(2026, 1, 15), note, ndoc);
    QTemporaryDir out;
    const Outcome<int> events =
        writeDeadlineCalendar(out.filePath("a.ics"), std::nullopt, CalendarSpan::Everything);
    QVERIFY2(events.ok(), qPrintable(events.problem));
    QCOMPARE(events.value, 2);
    QCOMPARE(readCalendar(out.filePath("a.ics")), QStringList({expected, expected}));
}

// The same entry of the same archive keeps its event, however the path is spelled; an
// entry that is gone takes its event along; a calendar that cannot be written leaves
// the old file as it was.
void TestCalendar::uidsStayAndFailedWriteLeavesOldFile()
{
    TestDatabase db;
    const qint64 user = db.addSubject("ROSSI");
    const qint64 first = db.addEntry(user, QDate(2026, 1, 1), QDate(2026, 2, 1), "UNO");
    const qint64 second = db.addEntry(user, QDate(2026, 1, 1), QDate(2026, 2, 2), "DUE");
    const QFileInfo place(db.path());
    QVERIFY(calendarUid(first, db.path()) != calendarUid(second, db.path()));
    QVERIFY(calendarUid(first, db.path()) != calendarUid(first, db.path() + "x"));
    QCOMPARE(calendarUid(first, place.absolutePath() + "/./" + place.fileName()),
             calendarUid(first, db.path()));
    QTemporaryDir out;
    const QString path = out.filePath("a.ics");
    QVERIFY(deleteDiaryEntry(first).ok() &&
            writeDeadlineCalendar(path, std::nullopt, CalendarSpan::Everything).ok());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll()).remove("\r\n ");
    const QByteArray written = fileSha256(path);
    QCOMPARE(text.count("UID:"), 1);
    QVERIFY(text.contains("UID:" + calendarUid(second, DbConnection::instance().archiveName())));
    QVERIFY(db.exec("DROP TABLE Tavelo"));
    QVERIFY(writeDeadlineCalendar(path, std::nullopt, CalendarSpan::Everything)
                .problem.startsWith(QStringLiteral("Errore del database:")));
    QCOMPARE(fileSha256(path), written);
}

// clang-format off
void TestCalendar::ruleForChoice_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<QString>("rule");
    const auto row = [](const char *name, Repeat choice, QDate due, const char *rule) {
        QTest::newRow(name) << int(choice) << due << QString::fromLatin1(rule);
    };
    row("never", Repeat::Never, QDate(2026, 7, 16), "");
    row("monthly", Repeat::Monthly, QDate(2026, 7, 16), "FREQ=MONTHLY;BYMONTHDAY=16");
    row("two months", Repeat::EveryTwoMonths, QDate(2026, 7, 16), "FREQ=MONTHLY;INTERVAL=2;BYMONTHDAY=16");
    row("three months", Repeat::EveryThreeMonths, QDate(2026, 7, 16), "FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=16");
    row("six months", Repeat::EverySixMonths, QDate(2026, 7, 16), "FREQ=MONTHLY;INTERVAL=6;BYMONTHDAY=16");
    row("yearly", Repeat::Yearly, QDate(2026, 6, 16), "FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=16");
    row("last day", Repeat::LastDayOfMonth, QDate(2026, 7, 31), "FREQ=MONTHLY;BYMONTHDAY=-1");
    row("the 30th", Repeat::Monthly, QDate(2026, 4, 30), "FREQ=MONTHLY;BYMONTHDAY=28,29,30;BYSETPOS=-1");
    row("no due date", Repeat::Monthly, QDate(), "");
}
// clang-format on

void TestCalendar::ruleForChoice()
{
    QFETCH(int, choice);
    QFETCH(QDate, due);
    QFETCH(QString, rule);
    QCOMPARE(repeatRule(Repeat(choice), due), rule);
    if (!rule.isEmpty())
        QCOMPARE(int(repeatChoice(rule)), choice);
}

// clang-format off
void TestCalendar::nextDue_data()
{
    QTest::addColumn<Repeat>("choice");
    QTest::addColumn<QDate>("ruleDay");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<QDate>("next");
    const auto row = [](const char *name, Repeat choice, QDate ruleDay, QDate due, QDate next) {
        QTest::newRow(name) << choice << ruleDay << due << next;
    };
    const QDate july16(2026, 7, 16);
    row("monthly, next one on a Sunday moves to Monday", Repeat::Monthly, july16, july16, QDate(2026, 8, 17));
    row("monthly, from a moved date back to the 16th", Repeat::Monthly, july16, QDate(2026, 8, 17), QDate(2026, 9, 16));
    row("three months", Repeat::EveryThreeMonths, QDate(2026, 3, 16), QDate(2026, 3, 16), QDate(2026, 6, 16));
    row("three months, from a moved date", Repeat::EveryThreeMonths, QDate(2026, 5, 16), QDate(2026, 5, 18), QDate(2026, 8, 17));
    row("six months across the year", Repeat::EverySixMonths, QDate(2026, 12, 16), QDate(2026, 12, 16), QDate(2027, 6, 16));
    row("two months", Repeat::EveryTwoMonths, QDate(2026, 10, 30), QDate(2026, 10, 30), QDate(2026, 12, 30));
    row("two months, moved across the month's end", Repeat::EveryTwoMonths, QDate(2027, 1, 31), QDate(2027, 2, 1), QDate(2027, 3, 31));
    row("IMU, yearly", Repeat::Yearly, QDate(2026, 6, 16), QDate(2026, 6, 16), QDate(2027, 6, 16));
    row("yearly on a leap day", Repeat::Yearly, QDate(2028, 2, 29), QDate(2028, 2, 29), QDate(2029, 2, 28));
    row("last day, moved off a Sunday", Repeat::LastDayOfMonth, QDate(2027, 1, 31), QDate(2027, 2, 1), QDate(2027, 3, 1));
    row("last day, from a date moved into the next month", Repeat::LastDayOfMonth, QDate(2027, 1, 31), QDate(2027, 3, 1), QDate(2027, 3, 31));
    row("the 31st in a shorter month", Repeat::Monthly, QDate(2026, 3, 31), QDate(2026, 3, 31), QDate(2026, 4, 30));
    row("the 31st after a shorter month, onto a Sunday", Repeat::Monthly, QDate(2026, 3, 31), QDate(2026, 4, 30), QDate(2026, 6, 1));
    row("due date moved by hand keeps the rule's day", Repeat::Monthly, july16, QDate(2026, 7, 28), QDate(2026, 8, 17));
}
// clang-format on

void TestCalendar::nextDue()
{
    QFETCH(Repeat, choice);
    QFETCH(QDate, ruleDay);
    QFETCH(QDate, due);
    const QString rule = repeatRule(choice, ruleDay);
    QTEST(nextDueDate(rule, due, WorkingDays()), "next");
}

// Two deadlines of ROSSI ahead ("UNO" in 5 days, "DUE" in 9), with the settings' key of
// the days back at `setting` ("": none), written, and the calendar shared with the office
// (0664); then the change. A calendar written anew is for the user alone; the one replaced
// keeps its mode; a failed first write leaves nothing.
// clang-format off
void TestCalendar::rewrittenOnlyWhenChanged_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("change"); // SQL or "remove" (the file goes), ";" between them
    QTest::addColumn<bool>("otherDesk");
    QTest::addColumn<bool>("rewritten");
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("mode"); // -1: no file
    const auto row = [](const char *name, const QString &change, bool rewritten, int events, const char *setting = "", int mode = 0664, bool otherDesk = false) {
        QTest::newRow(name) << QString::fromLatin1(setting) << change << otherDesk << rewritten << events << mode;
    };
    const auto due = [](int days) {
        return QStringLiteral("INSERT INTO Tavelo (data, scadenza, Oggetto, Utente) SELECT '%1', '%2', 'TRE', ID FROM Utente")
            .arg(QDate::currentDate().addDays(qMin(days, 0) - 1).toString(Qt::ISODate), QDate::currentDate().addDays(days).toString(Qt::ISODate));
    };
    row("nothing changed", "", false, 2);
    row("insert", due(3), true, 3);
    row("insert 60 days back", due(-60), true, 3);
    row("insert 61 days back", due(-61), false, 2);
    row("key 10, insert 10 days back", due(-10), true, 3, "10");
    row("key 10, insert 11 days back", due(-11), false, 2, "10");
    row("key 0, insert yesterday", due(-1), false, 2, "0");
    row("key not a number, insert 61 days back", due(-61), false, 2, "molti");
    row("note, same length", "UPDATE Tavelo SET Oggetto = 'UNA' WHERE Oggetto = 'UNO'", true, 2);
    row("due date", QStringLiteral("UPDATE Tavelo SET scadenza = '%1' WHERE Oggetto = 'UNO'").arg(QDate::currentDate().addDays(6).toString(Qt::ISODate)), true, 2);
    row("document number", "UPDATE Tavelo SET ndoc = '7' WHERE Oggetto = 'DUE'", true, 2);
    row("owner renamed", "UPDATE Utente SET Soggetto = 'ROSSO'", true, 2);
    row("delete", "DELETE FROM Tavelo WHERE Oggetto = 'UNO'", true, 1);
    row("another desk's change", "UPDATE Tavelo SET Oggetto = 'DIE' WHERE Oggetto = 'DUE'", true, 2, "", 0664, true);
    row("file removed", "remove", true, 2, "", 0600);
    row("file removed, archive unreadable", "remove;DROP TABLE Tavelo", false, -1, "", -1);
}
// clang-format on

void TestCalendar::rewrittenOnlyWhenChanged()
{
    QFETCH(QString, setting);
    QFETCH(QString, change);
    QFETCH(bool, otherDesk);
    QSettings(QStringLiteral("Tavelo"), QStringLiteral("Tavelo"))
        .setValue(calendarDaysBackKey(), setting);
    TestDatabase db;
    const QDate today = QDate::currentDate();
    const qint64 rossi = db.addSubject(QStringLiteral("ROSSI"));
    db.addEntry(rossi, today, today.addDays(5), QStringLiteral("UNO"));
    db.addEntry(rossi, today, today.addDays(9), QStringLiteral("DUE"));
    // A desk on a server keeps its calendar in its own data folder, which outlives the
    // test's database and may never have been made: it is made, for the user alone.
    const QString path = calendarFileBesideData();
    const QString folder = QFileInfo(path).absolutePath();
    const bool server = DbConnection::instance().isServer();
    QVERIFY(server ? QDir(folder).removeRecursively() : !QFile::exists(path));
    QVERIFY(refreshCalendarBesideData());
    QVERIFY(!server || fileMode(folder) == 0700);
    QCOMPARE(eventsIn(path), 2);
    QVERIFY(fileMode(path) == 0600 && ::chmod(QFile::encodeName(path).constData(), 0664) == 0);
    for (const QString &step : change.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        QVERIFY(step == QLatin1String("remove") ? QFile::remove(path)
                : otherDesk                     ? execAtSecondDesk(step)
                                                : db.exec(step));
    if (change.contains(QLatin1String("DROP")))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("non aggiornato")));
    QTEST(refreshCalendarBesideData(), "rewritten");
    QTEST(eventsIn(path), "events");
    QTEST(fileMode(path), "mode");
}

TAVELO_TEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
