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

// The calendar's own lines, up to the place where the events go.
QByteArray calendarHead()
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
    QByteArray text = serialized(calendar.get());
    return text.left(text.lastIndexOf("END:VCALENDAR"));
}

QByteArray calendarTail()
{
    return QByteArrayLiteral("END:VCALENDAR\r\n");
}

// One event, built once and given each deadline's values in turn: a calendar of a hundred
// thousand deadlines would otherwise spend most of its time building and freeing them.
class EventWriter
{
public:
    EventWriter(const QString &dataFilePath)
        : m_dataFilePath(dataFilePath), m_event(icalcomponent_new_vevent())
    {
        icalcomponent *e = m_event.get();
        m_uid = add(icalproperty_new_uid(""));
        add(icalproperty_new_dtstamp(
            icaltime_current_time_with_zone(icaltimezone_get_utc_timezone())));
        m_start = add(icalproperty_new_dtstart(icaltime_null_date()));
        m_end = add(icalproperty_new_dtend(icaltime_null_date()));
        m_summary = add(icalproperty_new_summary(""));
        m_description = add(icalproperty_new_description(""));
        add(icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        for (int seconds : {-3 * 24 * 3600, 9 * 3600}) {
            icalcomponent *alarm = displayAlarm(seconds);
            icalcomponent_add_component(e, alarm);
            m_alarmTexts.push_back(
                icalcomponent_get_first_property(alarm, ICAL_DESCRIPTION_PROPERTY));
        }
    }

    QByteArray text(const CalendarDeadline &deadline)
    {
        icalproperty_set_uid(m_uid,
                             calendarUid(deadline.entryId, m_dataFilePath).toUtf8().constData());
        icalproperty_set_dtstart(m_start, dateValue(deadline.dueDate));
        icalproperty_set_dtend(m_end, dateValue(deadline.dueDate.addDays(1)));
        const QByteArray summary = calendarSummary(deadline).toUtf8();
        icalproperty_set_summary(m_summary, summary.constData());
        icalproperty_set_description(m_description,
                                     calendarDescription(deadline).toUtf8().constData());
        for (icalproperty *alarmText : m_alarmTexts)
            icalproperty_set_description(alarmText, summary.constData());
        return serialized(m_event.get());
    }

private:
    icalproperty *add(icalproperty *property)
    {
        icalcomponent_add_property(m_event.get(), property);
        return property;
    }

    QString m_dataFilePath;
    Component m_event;
    icalproperty *m_uid = nullptr;
    icalproperty *m_start = nullptr;
    icalproperty *m_end = nullptr;
    icalproperty *m_summary = nullptr;
    icalproperty *m_description = nullptr;
    std::vector<icalproperty *> m_alarmTexts;
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
    // The archive is known by where it lives, however its path is spelled.
    const QFileInfo file(dataFilePath);
    const QString place =
        file.canonicalFilePath().isEmpty() ? file.absoluteFilePath() : file.canonicalFilePath();
    const QByteArray key =
        QCryptographicHash::hash(place.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("tavelo-%1-%2@quorvalia").arg(entryId).arg(QString::fromLatin1(key));
}

bool writeDeadlineCalendar(const QString &path, std::optional<qint64> userId, QString *error,
                           int *events, const CalendarProgress &progress)
{
    RowStream<CalendarRow> rows = selectCalendarDeadlines(userId);
    if (!rows.ok()) {
        *error = databaseErrorMessage(rows.error());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Impossibile scrivere il calendario «%1»: %2")
                     .arg(path, file.errorString());
        return false;
    }
    EventWriter event(DbConnection::instance().archiveName());
    file.write(calendarHead());
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
        *error = databaseErrorMessage(rows.error());
        return false;
    }
    if (!file.commit()) {
        *error = QStringLiteral("Impossibile scrivere il calendario «%1»: %2")
                     .arg(path, file.errorString());
        return false;
    }
    if (events)
        *events = written;
    return true;
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

void refreshCalendarBesideData()
{
    // A calendar written for the first time is for the user alone, as the archive is: the
    // file replaced keeps its mode.
    const QString path = calendarFileBesideData();
    const bool created = createOwnerOnlyFile(path);
    QString error;
    if (!writeDeadlineCalendar(path, std::nullopt, &error)) {
        if (created)
            QFile::remove(path);
        qWarning("Tavelo: calendario non aggiornato: %s", qPrintable(error));
    }
}
