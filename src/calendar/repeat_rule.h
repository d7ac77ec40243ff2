// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class WorkingDays;

// How a deadline repeats: the choices of the entry panel's "Ripeti" combo, in its order.
enum class Repeat {
    Never,
    Monthly,
    EveryTwoMonths,
    EveryThreeMonths,
    EverySixMonths,
    Yearly,
    LastDayOfMonth
};

QStringList repeatCaptions();

// The iCalendar recurrence rule stored with an entry for a choice and its due date, e.g.
// "FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=16": the rule keeps the nominal day, so that a due
// date moved to a working day does not move the next ones. Empty for Never or no date.
QString repeatRule(Repeat choice, const QDate &due);

// The choice a stored rule stands for; Never for an empty or unreadable rule.
Repeat repeatChoice(const QString &rule);

// The occurrence after the one due on `due`, on its nominal day: the occurrence that
// `due` was moved from (up to a week earlier) counts as the current one. Invalid when the
// rule is empty or unreadable.
QDate nextOccurrence(const QString &rule, const QDate &due);

// The due date of the deadline that follows one due on `due`: the next occurrence, moved
// to a working day.
QDate nextDueDate(const QString &rule, const QDate &due, const WorkingDays &workingDays);
