// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/repeat_rule.h"

#include "core/working_days.h"

#include <libical/ical.h>

#include <memory>

namespace {

// How far a working day can lie after the day it was moved from: a long weekend with a
// holiday on each side.
constexpr int longestMove = 7;

struct IteratorFree
{
    void operator()(icalrecur_iterator *iterator) const { icalrecur_iterator_free(iterator); }
};

// Through libical's own parser: a date put together field by field leaves the iterator
// state that it does not expect, and the walk skips occurrences.
icaltimetype toIcal(const QDate &date)
{
    return icaltime_from_string(date.toString(QStringLiteral("yyyyMMdd")).toLatin1().constData());
}

QDate fromIcal(const icaltimetype &time)
{
    return icaltime_is_null_time(time) ? QDate() : QDate(time.year, time.month, time.day);
}

bool parsed(const QString &rule, icalrecurrencetype *recurrence)
{
    if (rule.isEmpty())
        return false;
    *recurrence = icalrecurrencetype_from_string(rule.toLatin1().constData());
    icalerror_clear_errno();
    return recurrence->freq == ICAL_MONTHLY_RECURRENCE ||
           recurrence->freq == ICAL_YEARLY_RECURRENCE;
}

// The days of the month that the rule names: a day past the 28th stands for the month's
// last day when the month is shorter, so 31 January is followed by the end of February.
QString monthDays(int day)
{
    if (day <= 28)
        return QString::number(day);
    QStringList days;
    for (int d = 28; d <= day; ++d)
        days << QString::number(d);
    return days.join(QLatin1Char(',')) + QStringLiteral(";BYSETPOS=-1");
}

// The rule's occurrences from `start` on, in order, until `visit` returns false.
template <typename Visit>
void walk(const icalrecurrencetype &recurrence, const QDate &start, Visit visit)
{
    std::unique_ptr<icalrecur_iterator, IteratorFree> iterator(
        icalrecur_iterator_new(recurrence, toIcal(start)));
    if (!iterator)
        return;
    for (QDate date = fromIcal(icalrecur_iterator_next(iterator.get())); date.isValid();
         date = fromIcal(icalrecur_iterator_next(iterator.get()))) {
        if (!visit(date))
            return;
    }
}

// The occurrence that a deadline due on `due` stands for: the latest one of the rule's
// days in the week before it, else the due date itself (moved by hand).
QDate nominalDate(icalrecurrencetype recurrence, const QDate &due)
{
    recurrence.interval = 1;
    QDate nominal = due;
    const QDate from = due.addDays(-longestMove);
    // Walked from a month earlier, as the iterator gives its start first whether or not
    // the rule names it.
    walk(recurrence, QDate(from.year(), from.month(), 1).addMonths(-1), [&](const QDate &date) {
        if (date > due)
            return false;
        if (date >= from)
            nominal = date;
        return true;
    });
    return nominal;
}

} // namespace

QStringList repeatCaptions()
{
    return {QStringLiteral("Mai"),
            QStringLiteral("Ogni mese"),
            QStringLiteral("Ogni 2 mesi"),
            QStringLiteral("Ogni 3 mesi"),
            QStringLiteral("Ogni 6 mesi"),
            QStringLiteral("Ogni anno"),
            QStringLiteral("Ultimo giorno del mese")};
}

QString repeatRule(Repeat choice, const QDate &due)
{
    if (!due.isValid())
        return {};
    const QString day = monthDays(due.day());
    switch (choice) {
    case Repeat::Never:
        return {};
    case Repeat::Monthly:
        return QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=") + day;
    case Repeat::EveryTwoMonths:
        return QStringLiteral("FREQ=MONTHLY;INTERVAL=2;BYMONTHDAY=") + day;
    case Repeat::EveryThreeMonths:
        return QStringLiteral("FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=") + day;
    case Repeat::EverySixMonths:
        return QStringLiteral("FREQ=MONTHLY;INTERVAL=6;BYMONTHDAY=") + day;
    case Repeat::Yearly:
        return QStringLiteral("FREQ=YEARLY;BYMONTH=%1;BYMONTHDAY=").arg(due.month()) + day;
    case Repeat::LastDayOfMonth:
        return QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=-1");
    }
    return {};
}

Repeat repeatChoice(const QString &rule)
{
    icalrecurrencetype recurrence;
    if (!parsed(rule, &recurrence))
        return Repeat::Never;
    if (recurrence.freq == ICAL_YEARLY_RECURRENCE)
        return Repeat::Yearly;
    if (recurrence.by_month_day[0] == -1)
        return Repeat::LastDayOfMonth;
    switch (recurrence.interval) {
    case 2:
        return Repeat::EveryTwoMonths;
    case 3:
        return Repeat::EveryThreeMonths;
    case 6:
        return Repeat::EverySixMonths;
    default:
        return Repeat::Monthly;
    }
}

QDate nextOccurrence(const QString &rule, const QDate &due)
{
    icalrecurrencetype recurrence;
    if (!due.isValid() || !parsed(rule, &recurrence))
        return {};
    const QDate nominal = nominalDate(recurrence, due);
    QDate next;
    walk(recurrence, nominal, [&](const QDate &date) {
        if (date <= nominal)
            return true;
        next = date;
        return false;
    });
    return next;
}

QDate nextDueDate(const QString &rule, const QDate &due, const WorkingDays &workingDays)
{
    return workingDays.nextWorkingDay(nextOccurrence(rule, due));
}
