// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"

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

// Which deadlines a calendar holds: those still ahead (due from a number of days before
// today on, the settings' calendarDaysBackKey(), 60 when unset), or every one.
enum class CalendarSpan { Ahead, Everything };
QString calendarDaysBackKey();
QDate calendarFirstDue(const QDate &today);

// Writes the deadlines of every user (or of one user) of the open archive to path,
// atomically: the file is replaced only once the whole calendar is written. Gives the
// number of events, or an Italian description of the failure, the file at path untouched.
Outcome<int> writeDeadlineCalendar(const QString &path, std::optional<qint64> userId,
                                   CalendarSpan span, const CalendarProgress &progress = {});

// "Scadenze.ics" beside the open data file (for a server, in the desk's data folder).
QString calendarFileBesideData();
// Brings that file up to date at an orderly close, with the deadlines still ahead: it is
// rewritten only when the deadlines differ from those it was written with, and its folder
// is made (for the user alone) when missing. Gives whether it was written; a failure is
// reported on stderr and never stops the close.
bool refreshCalendarBesideData();
