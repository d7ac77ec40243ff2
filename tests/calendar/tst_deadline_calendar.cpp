// SPDX-License-Identifier: GPL-3.0-or-later
// The deadlines as an iCalendar file, read back the way a calendar program reads it.
#include "test_support.h"

#include "calendar/deadline_calendar.h"

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

} // namespace

class TestDeadlineCalendar : public QObject
{
    Q_OBJECT

private slots:
    void eventOfADeadline_data();
    void eventOfADeadline();
    void uidsStayAndFailedWriteLeavesOldFile();
    void calendarBesideDataModes_data();
    void calendarBesideDataModes();
};

// Due on 15 January, entered on 1 December: the event takes the due date's day.
// clang-format off
void TestDeadlineCalendar::eventOfADeadline_data()
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

void TestDeadlineCalendar::eventOfADeadline()
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
void TestDeadlineCalendar::uidsStayAndFailedWriteLeavesOldFile()
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
    const auto write = [&] {
        return writeDeadlineCalendar(path, std::nullopt, CalendarSpan::Everything);
    };
    QVERIFY(deleteDiaryEntry(first).ok() && write().ok());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const QString text = QString::fromUtf8(written).remove("\r\n ");
    QCOMPARE(text.count("UID:"), 1);
    QVERIFY(text.contains("UID:" + calendarUid(second, DbConnection::instance().archiveName())));
    QVERIFY(db.exec("DROP TABLE Tavelo"));
    QVERIFY(write().problem.startsWith(QStringLiteral("Errore del database:")));
    QVERIFY(file.seek(0));
    QCOMPARE(file.readAll(), written);
}

// The calendar beside the data file is the office's own: a new one is for the user alone,
// one that the office shares keeps its mode, a failed first write leaves nothing.
// clang-format off
void TestDeadlineCalendar::calendarBesideDataModes_data()
{
    QTest::addColumn<int>("modeBefore"); // -1: not there
    QTest::addColumn<bool>("writeFails");
    QTest::addColumn<int>("modeAfter");
    QTest::newRow("new calendar") << -1 << false << 0600;
    QTest::newRow("shared calendar") << 0664 << false << 0664;
    QTest::newRow("new calendar, write fails") << -1 << true << -1;
}
// clang-format on

void TestDeadlineCalendar::calendarBesideDataModes()
{
    QFETCH(int, modeBefore);
    QFETCH(bool, writeFails);
    TestDatabase db;
    db.addEntry(db.addSubject("ROSSI MARIO"), QDate::currentDate(),
                QDate::currentDate().addDays(10), "UNO");
    QVERIFY(!writeFails || db.exec(QStringLiteral("DROP TABLE Tavelo")));
    const QString path = calendarFileBesideData();
    QVERIFY(modeBefore < 0 ||
            (QFile(path).open(QIODevice::WriteOnly) &&
             ::chmod(QFile::encodeName(path).constData(), mode_t(modeBefore)) == 0));
    if (writeFails)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("non aggiornato")));
    refreshCalendarBesideData();
    QTEST(fileMode(path), "modeAfter");
    if (!writeFails)
        QCOMPARE(readCalendar(path).size(), 1);
}

TAVELO_TEST_MAIN(TestDeadlineCalendar)
#include "tst_deadline_calendar.moc"
