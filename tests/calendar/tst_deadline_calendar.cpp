// SPDX-License-Identifier: GPL-3.0-or-later
// The deadlines as an iCalendar file, read back the way a calendar program reads it.
#include "test_support.h"

#include "calendar/deadline_calendar.h"
#include "main_window/frm_registra.h"
#include "report_command/report_command.h"
#include "storage/db_connection.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <QToolBar>

#include <libical/ical.h>
#include <sys/stat.h>

#include <memory>

namespace {

struct Event
{
    QString uid;
    QDate start;
    QDate end;
    QString summary;
    QString description;
    QStringList alarms; // each alarm's trigger, as written
};

QDate toQDate(const struct icaltimetype &time)
{
    return QDate(time.year, time.month, time.day);
}

// Parses the file with libical, as a calendar program does.
QList<Event> readCalendar(const QString &path, bool *parsed)
{
    QFile file(path);
    *parsed = file.open(QIODevice::ReadOnly);
    QList<Event> events;
    if (!*parsed)
        return events;
    icalcomponent *calendar = icalparser_parse_string(file.readAll().constData());
    *parsed = calendar && icalcomponent_isa(calendar) == ICAL_VCALENDAR_COMPONENT;
    if (!*parsed)
        return events;
    for (icalcomponent *e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        Event event;
        event.uid = QString::fromUtf8(icalcomponent_get_uid(e));
        event.start =
            icalcomponent_get_dtstart(e).is_date ? toQDate(icalcomponent_get_dtstart(e)) : QDate();
        event.end = toQDate(icalcomponent_get_dtend(e));
        event.summary = QString::fromUtf8(icalcomponent_get_summary(e));
        event.description = QString::fromUtf8(icalcomponent_get_description(e));
        for (icalcomponent *a = icalcomponent_get_first_component(e, ICAL_VALARM_COMPONENT); a;
             a = icalcomponent_get_next_component(e, ICAL_VALARM_COMPONENT)) {
            icalproperty *trigger = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
            icalproperty *action = icalcomponent_get_first_property(a, ICAL_ACTION_PROPERTY);
            if (trigger && action && icalproperty_get_action(action) == ICAL_ACTION_DISPLAY)
                event.alarms << QString::fromUtf8(
                    icaldurationtype_as_ical_string(icalproperty_get_trigger(trigger).duration));
        }
        events.append(event);
    }
    icalcomponent_free(calendar);
    return events;
}

int runCommand(const QStringList &arguments, QString *errText = nullptr)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = runReportCommand(QStringList{QStringLiteral("tavelo-report")} + arguments,
                                        outStream, errStream);
    errStream.flush();
    if (errText)
        *errText = err;
    return status;
}

// The operator closes the program with "Chiudi".
void clickChiudi(frmRegistra &window)
{
    for (QAction *action : window.tbTop->actions())
        if (action->text() == QLatin1String("Chiudi"))
            action->trigger();
}

} // namespace

class TestDeadlineCalendar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void oneAllDayEventPerDeadlineEarliestFirst();
    void eventTextsAndAlarms();
    void missingNoteOrDocumentNumber();
    void longNoteRoundTripsExactly();
    void uidsStableAndDeletedEntryGone();
    void commandWritesOneUsersDeadlines();
    void commandRefusesUnknownSubject();
    void failedWriteLeavesOldFile();
    void chiudiRefreshesCalendarBesideData();
    void chiudiEndsWhenCalendarCannotBeWritten();
    void calendarBesideDataModes_data();
    void calendarBesideDataModes();

private:
    QList<Event> exportAll(bool *parsed);

    std::unique_ptr<TestDatabase> m_db;
    QTemporaryDir m_out;
    qint64 m_rossi = 0;
    qint64 m_bianchi = 0;
};

void TestDeadlineCalendar::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isOpen());
    m_rossi = m_db->addSubject(QStringLiteral("ROSSI MARIO"));
    m_bianchi = m_db->addSubject(QStringLiteral("BIANCHI ANNA"));
}

void TestDeadlineCalendar::cleanup()
{
    m_db.reset();
}

QList<Event> TestDeadlineCalendar::exportAll(bool *parsed)
{
    const QString path = m_out.filePath(QStringLiteral("tutte.ics"));
    QString error;
    int events = -1;
    if (!writeDeadlineCalendar(path, std::nullopt, &error, &events)) {
        qWarning("%s", qPrintable(error));
        *parsed = false;
        return {};
    }
    const QList<Event> read = readCalendar(path, parsed);
    if (read.size() != events)
        *parsed = false;
    return read;
}

void TestDeadlineCalendar::oneAllDayEventPerDeadlineEarliestFirst()
{
    m_db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"));
    m_db->addEntry(m_bianchi, QDate(2026, 1, 11), QDate(2026, 2, 28), QStringLiteral("FEBBRAIO"));
    m_db->addEntry(m_rossi, QDate(2026, 1, 12), QDate(), QStringLiteral("SENZA SCADENZA"));
    const qint64 gone = m_db->addSubject(QStringLiteral("CANCELLATO"));
    m_db->addEntry(gone, QDate(2026, 1, 13), QDate(2026, 1, 20), QStringLiteral("ORFANA"));
    QVERIFY(deleteSubject(gone).ok());

    bool parsed = false;
    const QList<Event> events = exportAll(&parsed);
    QVERIFY(parsed);
    QCOMPARE(events.size(), 2);
    QCOMPARE(events.at(0).start, QDate(2026, 2, 28));
    QCOMPARE(events.at(0).end, QDate(2026, 3, 1));
    QCOMPARE(events.at(0).summary, QStringLiteral("FEBBRAIO — BIANCHI ANNA"));
    QCOMPARE(events.at(1).start, QDate(2026, 3, 1));
    QCOMPARE(events.at(1).end, QDate(2026, 3, 2));
}

void TestDeadlineCalendar::eventTextsAndAlarms()
{
    const QString note =
        QStringLiteral("RINNOVO L'ASSICURAZIONE, AUTO; ÈCCO\nSECONDA RIGA: «PERÒ»");
    m_db->addEntry(m_rossi, QDate(2025, 12, 1), QDate(2026, 1, 15), note, QStringLiteral("12,5"));
    bool parsed = false;
    const QList<Event> events = exportAll(&parsed);
    QVERIFY(parsed);
    QCOMPARE(events.size(), 1);
    const Event &event = events.constFirst();
    QCOMPARE(event.summary, QStringLiteral("RINNOVO L'ASSICURAZIONE, AUTO; ÈCCO — ROSSI MARIO"));
    QCOMPARE(event.description,
             note + QStringLiteral("\n\nUtente: ROSSI MARIO\nN. documento: 12,5\n"
                                   "Data registrazione: 01/12/2025"));
    QCOMPARE(event.alarms, QStringList({QStringLiteral("-P3D"), QStringLiteral("PT9H")}));
}

void TestDeadlineCalendar::missingNoteOrDocumentNumber()
{
    QVERIFY(m_db->exec(QStringLiteral("INSERT INTO Tavelo (data, scadenza, Oggetto, ndoc, Utente) "
                                      "VALUES (NULL, '2026-05-05', NULL, NULL, %1)")
                           .arg(m_rossi)));
    bool parsed = false;
    const QList<Event> events = exportAll(&parsed);
    QVERIFY(parsed);
    QCOMPARE(events.size(), 1);
    QCOMPARE(events.constFirst().summary, QStringLiteral("ROSSI MARIO"));
    QCOMPARE(events.constFirst().description, QStringLiteral("Utente: ROSSI MARIO"));
    QCOMPARE(events.constFirst().alarms.size(), 2);
}

void TestDeadlineCalendar::longNoteRoundTripsExactly()
{
    QString note;
    for (int i = 0; note.size() < 10000; ++i)
        note += QStringLiteral("Riga %1: àèéìòù, \"virgolette\"; apostrofo l'€ \\ fine\n").arg(i);
    note.chop(1);
    m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 6, 30), note);
    // The earlier version's notes break lines with CR LF; a calendar knows LF only.
    m_db->addEntry(m_bianchi, QDate(2026, 1, 1), QDate(2026, 7, 1),
                   QStringLiteral("PRIMA\r\nSECONDA"));
    bool parsed = false;
    const QList<Event> events = exportAll(&parsed);
    QVERIFY(parsed);
    QCOMPARE(events.size(), 2);
    QVERIFY(events.at(0).description.startsWith(note + QStringLiteral("\n\n")));
    QCOMPARE(events.at(0).description.size(),
             note.size() + QStringLiteral("\n\nUtente: ROSSI MARIO\n"
                                          "Data registrazione: 01/01/2026")
                               .size());
    QVERIFY(events.at(1).description.startsWith(QStringLiteral("PRIMA\nSECONDA\n\n")));

    // Lines are folded at 75 octets without cutting a letter in two.
    QFile file(m_out.filePath(QStringLiteral("tutte.ics")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        QVERIFY2(line.size() <= 76, line.constData()); // 75 octets and the CR
        QCOMPARE(QString::fromUtf8(line).toUtf8(), line);
    }
}

void TestDeadlineCalendar::uidsStableAndDeletedEntryGone()
{
    const qint64 first =
        m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 2, 1), QStringLiteral("UNO"));
    m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 2, 2), QStringLiteral("DUE"));
    bool parsed = false;
    const QList<Event> before = exportAll(&parsed);
    QVERIFY(parsed);
    QCOMPARE(before.size(), 2);
    QVERIFY(before.at(0).uid != before.at(1).uid);
    QVERIFY(deleteDiaryEntry(first).ok());
    const QList<Event> after = exportAll(&parsed);
    QVERIFY(parsed);
    QCOMPARE(after.size(), 1);
    QCOMPARE(after.at(0).uid, before.at(1).uid);
    // Another archive gives the same entry another identity.
    QVERIFY(calendarUid(first, m_db->path()) != calendarUid(first, m_out.filePath("altro.sqlite")));
    // However the path of the same archive is spelled.
    const QString spelled = QFileInfo(m_db->path()).absolutePath() + QStringLiteral("/./") +
                            QFileInfo(m_db->path()).fileName();
    QCOMPARE(calendarUid(first, spelled), calendarUid(first, m_db->path()));
}

void TestDeadlineCalendar::commandWritesOneUsersDeadlines()
{
    m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 2, 1), QStringLiteral("MIA"));
    m_db->addEntry(m_rossi, QDate(), QDate(2026, 2, 3), QStringLiteral("SENZA DATA"));
    m_db->addEntry(m_bianchi, QDate(2026, 1, 1), QDate(2026, 2, 2), QStringLiteral("SUA"));
    const QString dataPath = m_db->path();
    DbConnection::instance().close();

    const QString path = m_out.filePath(QStringLiteral("rossi.ics"));
    QCOMPARE(runCommand({QStringLiteral("--dati"), dataPath, QStringLiteral("--id"),
                         QString::number(m_rossi), QStringLiteral("calendario"), path}),
             0);
    bool parsed = false;
    QList<Event> events = readCalendar(path, &parsed);
    QVERIFY(parsed);
    QCOMPARE(events.size(), 1);
    QCOMPARE(events.at(0).summary, QStringLiteral("MIA — ROSSI MARIO"));

    QString err;
    const int status =
        runCommand({QStringLiteral("--dati"), dataPath, QStringLiteral("calendario"), path}, &err);
    QVERIFY2(status == 0, qPrintable(err));
    events = readCalendar(path, &parsed);
    QVERIFY(parsed);
    QCOMPARE(events.size(), 3);
    QString problem;
    QVERIFY(DbConnection::instance().open(dataPath, &problem));
}

void TestDeadlineCalendar::commandRefusesUnknownSubject()
{
    const QString dataPath = m_db->path();
    DbConnection::instance().close();
    const QString path = m_out.filePath(QStringLiteral("nessuno.ics"));
    QString err;
    QCOMPARE(runCommand({QStringLiteral("--dati"), dataPath, QStringLiteral("--id"),
                         QStringLiteral("999"), QStringLiteral("calendario"), path},
                        &err),
             1);
    QVERIFY(err.contains(QStringLiteral("999")));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(runCommand({QStringLiteral("--dati"), dataPath, QStringLiteral("--id"),
                         QStringLiteral("x"), QStringLiteral("calendario"), path}),
             2);
    QString problem;
    QVERIFY(DbConnection::instance().open(dataPath, &problem));
}

void TestDeadlineCalendar::failedWriteLeavesOldFile()
{
    m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 2, 1), QStringLiteral("UNO"));
    QVERIFY(m_db->exec(QStringLiteral("DROP TABLE Tavelo")));
    const QString path = m_out.filePath(QStringLiteral("vecchio.ics"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("VECCHIO");
    old.close();
    QString error;
    QVERIFY(!writeDeadlineCalendar(path, std::nullopt, &error));
    QVERIFY(error.startsWith(QStringLiteral("Errore del database:")));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("VECCHIO"));
}

void TestDeadlineCalendar::chiudiRefreshesCalendarBesideData()
{
    m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 2, 1), QStringLiteral("UNO"));
    const QString expected = QFileInfo(m_db->path()).dir().filePath(QStringLiteral("Scadenze.ics"));
    QCOMPARE(calendarFileBesideData(), expected);
    ProgramEndRecorder ended;
    frmRegistra window;
    clickChiudi(window);
    QCOMPARE(ended.statuses(), QList<int>({0}));
    bool parsed = false;
    const QList<Event> events = readCalendar(expected, &parsed);
    QVERIFY(parsed);
    QCOMPARE(events.size(), 1);
    QString problem;
    QVERIFY(DbConnection::instance().open(m_db->path(), &problem));
}

void TestDeadlineCalendar::chiudiEndsWhenCalendarCannotBeWritten()
{
    // A folder where the calendar should be: no write succeeds there, not even as root.
    const QString blocked = QFileInfo(m_db->path()).dir().filePath(QStringLiteral("Scadenze.ics"));
    QVERIFY(QDir().mkpath(blocked));
    ProgramEndRecorder ended;
    frmRegistra window;
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("calendario non aggiornato")));
    clickChiudi(window);
    QCOMPARE(ended.statuses(), QList<int>({0}));
    QVERIFY(QFileInfo(blocked).isDir());
    QString problem;
    QVERIFY(DbConnection::instance().open(m_db->path(), &problem));
}

// A new calendar beside the data is for the user alone, as the archive is; one that the
// office shares keeps its mode; a write that fails leaves no empty calendar behind.
void TestDeadlineCalendar::calendarBesideDataModes_data()
{
    QTest::addColumn<int>("modeBefore"); // -1: not there
    QTest::addColumn<bool>("writeFails");
    QTest::addColumn<int>("modeAfter");
    QTest::newRow("new calendar") << -1 << false << 0600;
    QTest::newRow("shared calendar") << 0664 << false << 0664;
    QTest::newRow("new calendar, write fails") << -1 << true << -1;
}

void TestDeadlineCalendar::calendarBesideDataModes()
{
    QFETCH(int, modeBefore);
    QFETCH(bool, writeFails);
    QFETCH(int, modeAfter);
    m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 2, 1), QStringLiteral("UNO"));
    QVERIFY(!writeFails || m_db->exec(QStringLiteral("DROP TABLE Tavelo")));
    const QString path = calendarFileBesideData();
    QVERIFY(modeBefore < 0 ||
            (QFile(path).open(QIODevice::WriteOnly) &&
             ::chmod(QFile::encodeName(path).constData(), mode_t(modeBefore)) == 0));
    if (writeFails)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("non aggiornato")));
    refreshCalendarBesideData();
    QCOMPARE(fileMode(path), modeAfter);
    bool parsed = false;
    QCOMPARE(readCalendar(path, &parsed).size(), writeFails ? 0 : 1);
}

TAVELO_TEST_MAIN(TestDeadlineCalendar)
#include "tst_deadline_calendar.moc"
