// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/deadline_calendar.h"

#include "core/dates.h"
#include "core/owner_only_files.h"
#include "core/version.h"
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <libical/ical.h>

#include <memory>
#include <vector>

namespace {

struct ComponentDeleter
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

// The component in iCalendar form: escaped, folded at 75 octets, CRLF line ends.
QByteArray serialized(icalcomponent *component)
{
    char *text = icalcomponent_as_ical_string_r(component);
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

void addText(icalcomponent *component, icalproperty *(*make)(const char *), const QString &text)
{
    icalcomponent_add_property(component, make(text.toUtf8().constData()));
}

struct icaltimetype dateValue(const QDate &date)
{
    struct icaltimetype value = icaltime_null_date();
    value.year = date.year();
    value.month = date.month();
    value.day = date.day();
    return value;
}

icalcomponent *displayAlarm(int secondsFromStart)
{
    icalcomponent *alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    struct icaltriggertype trigger = {};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(secondsFromStart);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_property(alarm, icalproperty_new_description(""));
    return alarm;
}

// The name of the calendar's property that holds the digest of what it was written with.
const char *const stampProperty = "X-TAVELO-STAMP";

// The calendar's own lines, up to the place where the events go.
QByteArray calendarHead(const QString &stamp)
{
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    addText(calendar.get(), icalproperty_new_prodid,
            QStringLiteral("-//Quorvalia//Tavelo %1//IT").arg(versionNumber()));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
    icalproperty *name = icalproperty_new_x("Scadenze (Tavelo)");
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(calendar.get(), name);
    if (!stamp.isEmpty()) {
        icalproperty *mark = icalproperty_new_x(stamp.toUtf8().constData());
        icalproperty_set_x_name(mark, stampProperty);
        icalcomponent_add_property(calendar.get(), mark);
    }
    QByteArray text = serialized(calendar.get());
    return text.left(text.lastIndexOf("END:VCALENDAR"));
}

QByteArray calendarTail()
{
    return QByteArrayLiteral("END:VCALENDAR\r\n");
}

// The archive is known by where it lives, however its path is spelled.
QByteArray archiveKey(const QString &dataFilePath)
{
    const QFileInfo file(dataFilePath);
    const QString place =
        file.canonicalFilePath().isEmpty() ? file.absoluteFilePath() : file.canonicalFilePath();
    return QCryptographicHash::hash(place.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
}

QByteArray uidOf(qint64 entryId, const QByteArray &key)
{
    return "tavelo-" + QByteArray::number(entryId) + '-' + key + "@quorvalia";
}

QByteArray serialized(icalproperty *property)
{
    char *text = icalproperty_as_ical_string_r(property);
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

// One event, built once and given each deadline's values in turn: a calendar of a hundred
// thousand deadlines would otherwise spend most of its time building and freeing them.
// Only the properties that change are written out anew for each deadline (the alarms'
// text, the summary, once for both): the lines that stay the same are written once, and
// the event is put together as libical puts it together, which the writer checks on its
// first event before relying on it.
class EventWriter
{
public:
    EventWriter(const QString &dataFilePath)
        : m_archiveKey(archiveKey(dataFilePath)), m_event(icalcomponent_new_vevent()),
          m_alarmText(icalproperty_new_description(""))
    {
        icalcomponent *e = m_event.get();
        m_uid = add(icalproperty_new_uid(""));
        m_constant[0] = serialized(add(icalproperty_new_dtstamp(
            icaltime_current_time_with_zone(icaltimezone_get_utc_timezone()))));
        m_start = add(icalproperty_new_dtstart(icaltime_null_date()));
        m_end = add(icalproperty_new_dtend(icaltime_null_date()));
        m_summary = add(icalproperty_new_summary(""));
        m_description = add(icalproperty_new_description(""));
        m_constant[1] = serialized(add(icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT)));
        for (int seconds : {-3 * 24 * 3600, 9 * 3600}) {
            icalcomponent *alarm = displayAlarm(seconds);
            icalcomponent_add_component(e, alarm);
            m_alarmTexts.push_back(
                icalcomponent_get_first_property(alarm, ICAL_DESCRIPTION_PROPERTY));
            QByteArray head = "BEGIN:VALARM\r\n";
            for (icalproperty *p = icalcomponent_get_first_property(alarm, ICAL_ANY_PROPERTY);
                 p != m_alarmTexts.back();
                 p = icalcomponent_get_next_property(alarm, ICAL_ANY_PROPERTY))
                head += serialized(p);
            m_alarmHeads.push_back(head);
        }
    }

    QByteArray text(const CalendarDeadline &deadline)
    {
        icalproperty_set_uid(m_uid, uidOf(deadline.entryId, m_archiveKey).constData());
        icalproperty_set_dtstart(m_start, dateValue(deadline.dueDate));
        icalproperty_set_dtend(m_end, dateValue(deadline.dueDate.addDays(1)));
        const QByteArray summary = calendarSummary(deadline).toUtf8();
        icalproperty_set_summary(m_summary, summary.constData());
        icalproperty_set_description(m_description,
                                     calendarDescription(deadline).toUtf8().constData());
        icalproperty_set_description(m_alarmText.get(), summary.constData());
        QByteArray text = "BEGIN:VEVENT\r\n" + serialized(m_uid) + m_constant[0] +
                          serialized(m_start) + serialized(m_end) + serialized(m_summary) +
                          serialized(m_description) + m_constant[1];
        const QByteArray alarmText = serialized(m_alarmText.get());
        for (const QByteArray &head : m_alarmHeads)
            text += head + alarmText + "END:VALARM\r\n";
        text += "END:VEVENT\r\n";
        if (m_checked)
            return text;
        // The first event, as libical writes the whole event.
        for (icalproperty *alarmText : m_alarmTexts)
            icalproperty_set_description(alarmText, summary.constData());
        const QByteArray whole = serialized(m_event.get());
        m_checked = whole == text;
        return whole;
    }

private:
    struct PropertyDeleter
    {
        void operator()(icalproperty *property) const { icalproperty_free(property); }
    };

    icalproperty *add(icalproperty *property)
    {
        icalcomponent_add_property(m_event.get(), property);
        return property;
    }

    QByteArray m_archiveKey;
    Component m_event;
    std::unique_ptr<icalproperty, PropertyDeleter> m_alarmText;
    icalproperty *m_uid = nullptr;
    icalproperty *m_start = nullptr;
    icalproperty *m_end = nullptr;
    icalproperty *m_summary = nullptr;
    icalproperty *m_description = nullptr;
    std::vector<icalproperty *> m_alarmTexts;
    QByteArray m_constant[2];
    std::vector<QByteArray> m_alarmHeads;
    bool m_checked = false;
};

// iCalendar texts break lines with LF alone; the earlier version's notes may hold CR LF.
QString withLineFeeds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

CalendarDeadline deadlineOf(const CalendarRow &row)
{
    return {row.entryId, row.data, row.scadenza, row.oggetto, row.ndoc, row.soggetto};
}

} // namespace

QString calendarSummary(const CalendarDeadline &deadline)
{
    const QString firstLine =
        withLineFeeds(deadline.note).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (firstLine.isEmpty())
        return deadline.ownerName;
    if (deadline.ownerName.isEmpty())
        return firstLine;
    return QStringLiteral("%1 — %2").arg(firstLine, deadline.ownerName);
}

QString calendarDescription(const CalendarDeadline &deadline)
{
    QStringList parts;
    if (!deadline.note.isEmpty())
        parts << withLineFeeds(deadline.note) << QString();
    if (!deadline.ownerName.isEmpty())
        parts << QStringLiteral("Utente: %1").arg(deadline.ownerName);
    if (!deadline.docNumber.isEmpty())
        parts << QStringLiteral("N. documento: %1").arg(deadline.docNumber);
    if (deadline.entryDate.isValid())
        parts << QStringLiteral("Data registrazione: %1").arg(toScreenDate(deadline.entryDate));
    while (!parts.isEmpty() && parts.constLast().isEmpty())
        parts.removeLast();
    return parts.join(QLatin1Char('\n'));
}

QString calendarUid(qint64 entryId, const QString &dataFilePath)
{
    return QString::fromLatin1(uidOf(entryId, archiveKey(dataFilePath)));
}

QString calendarDaysBackKey()
{
    return QStringLiteral("calendario_giorni_passati");
}

QDate calendarFirstDue(const QDate &today)
{
    // The settings file that names the server: ~/.config/Tavelo/Tavelo.conf.
    const QSettings settings(QStringLiteral("Tavelo"), QStringLiteral("Tavelo"));
    bool ok = false;
    const int days = settings.value(calendarDaysBackKey()).toInt(&ok);
    return today.addDays(ok && days >= 0 ? -days : -60);
}

namespace {

QString cannotWrite(const QString &path, const QString &why)
{
    return QStringLiteral("Impossibile scrivere il calendario «%1»: %2").arg(path, why);
}

Outcome<int> writeCalendarFile(const QString &path, const QDate &firstDue,
                               std::optional<qint64> userId, const QString &stamp,
                               const CalendarProgress &progress)
{
    const LargePageCache cache;
    RowStream<CalendarRow> rows = selectCalendarDeadlines(userId, firstDue);
    if (!rows.ok())
        return Outcome<int>::failure(databaseErrorMessage(rows.error()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Outcome<int>::failure(cannotWrite(path, file.errorString()));
    EventWriter event(DbConnection::instance().archiveName());
    file.write(calendarHead(stamp));
    int written = 0;
    CalendarRow row;
    while (rows.next(&row)) {
        file.write(event.text(deadlineOf(row)));
        ++written;
        if (progress && written % 1000 == 0)
            progress(written);
    }
    file.write(calendarTail());
    if (rows.error().isValid()) {
        file.cancelWriting();
        return Outcome<int>::failure(databaseErrorMessage(rows.error()));
    }
    if (!file.commit())
        return Outcome<int>::failure(cannotWrite(path, file.errorString()));
    return {written, {}};
}

// What the calendar beside the data would hold today, in a few characters: the digest of
// its deadlines and the archive that their UIDs name.
Outcome<QString> currentStamp(const QDate &firstDue)
{
    const Result<QString> digest = selectCalendarDigest(firstDue);
    if (!digest.ok())
        return Outcome<QString>::failure(databaseErrorMessage(digest.error));
    const QByteArray key =
        "1\n" + digest.value.toUtf8() + '\n' + DbConnection::instance().archiveName().toUtf8();
    return {QString::fromLatin1(
                QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(32)),
            {}};
}

// The stamp that the calendar at path was written with; empty when there is none.
QString writtenStamp(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(4096);
    const QByteArray mark = QByteArray("\r\n") + stampProperty + ':';
    const qsizetype at = head.indexOf(mark);
    if (at < 0)
        return {};
    const qsizetype start = at + mark.size();
    const qsizetype end = head.indexOf("\r\n", start);
    return end < 0 ? QString() : QString::fromLatin1(head.mid(start, end - start));
}

} // namespace

Outcome<int> writeDeadlineCalendar(const QString &path, std::optional<qint64> userId,
                                   CalendarSpan span, const CalendarProgress &progress)
{
    const QDate firstDue =
        span == CalendarSpan::Ahead ? calendarFirstDue(QDate::currentDate()) : QDate();
    return writeCalendarFile(path, firstDue, userId, QString(), progress);
}

QString calendarFileBesideData()
{
    // An archive on a server has no folder of its own: the desk's data folder serves.
    if (DbConnection::instance().isServer())
        return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .filePath(QStringLiteral("Scadenze.ics"));
    return QFileInfo(DbConnection::instance().filePath())
        .dir()
        .filePath(QStringLiteral("Scadenze.ics"));
}

bool refreshCalendarBesideData()
{
    const QString path = calendarFileBesideData();
    const QDate firstDue = calendarFirstDue(QDate::currentDate());
    const Outcome<QString> stamp = currentStamp(firstDue);
    if (stamp.ok() && stamp.value == writtenStamp(path))
        return false;
    const QString folder = QFileInfo(path).absolutePath();
    Outcome<int> written = Outcome<int>::failure(
        cannotWrite(path, QStringLiteral("non si può creare la cartella «%1»").arg(folder)));
    if (!stamp.ok()) {
        written = Outcome<int>::failure(stamp.problem);
    } else if (makeOwnerOnlyFolder(folder)) {
        // A calendar written for the first time is for the user alone, as the archive is:
        // the file replaced keeps its mode.
        const bool created = createOwnerOnlyFile(path);
        written = writeCalendarFile(path, firstDue, std::nullopt, stamp.value, {});
        if (!written.ok() && created)
            QFile::remove(path);
    }
    if (!written.ok())
        qWarning("Tavelo: calendario non aggiornato: %s", qPrintable(written.problem));
    return written.ok();
}
