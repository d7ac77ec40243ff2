// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

// The deadlines of the diary as an iCalendar file, so that the office's calendars (desktop
// and phone) show them with their reminders. Each deadline is an all-day event on its due
// date with two display alarms: three days before, and at nine in the morning of the day.

// One deadline as its event shows it.
struct CalendarDeadline
{
    qint64 entryId = 0;
    QDate entryDate; // invalid: none
    QDate dueDate;
    QString note;
    QString docNumber;
    QString ownerName;
};

// The event's texts.
QString calendarSummary(const CalendarDeadline &deadline);
QString calendarDescription(const CalendarDeadline &deadline);

// The same entry of the same data file always gets the same event UID, so that a calendar
// that reads the file again updates the event instead of adding it twice, and drops the
// events whose entries are gone.
QString calendarUid(qint64 entryId, const QString &dataFilePath);

// Told the number of events written so far, now and then.
using CalendarProgress = std::function<void(int eventsWritten)>;

// Writes the deadlines of every user (or of one user) of the open data file to path,
// atomically: the file is replaced only once the whole calendar is written. On failure
// *error holds an Italian description and the file at path is untouched.
bool writeDeadlineCalendar(const QString &path, std::optional<qint64> userId, QString *error,
                           int *events = nullptr, const CalendarProgress &progress = {});

// "Scadenze.ics" beside the open data file.
QString calendarFileBesideData();
// Rewrites that file at an orderly close; a failure is reported on stderr and never stops
// the close.
void refreshCalendarBesideData();
