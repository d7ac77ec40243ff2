// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/working_days.h"

#include "core/dates.h"

#include <QLocale>
#include <QSettings>

namespace {

struct Holiday
{
    int month;
    int day;
    const char *name;
    int since = 0; // first year it is kept
};

// The national holidays on a fixed day (law 260/1949 and its amendments; 4 October is
// a national holiday again from 2026).
constexpr Holiday fixedHolidays[] = {
    {1, 1, "Capodanno"},
    {1, 6, "Epifania"},
    {4, 25, "Festa della Liberazione"},
    {5, 1, "Festa del Lavoro"},
    {6, 2, "Festa della Repubblica"},
    {8, 15, "Ferragosto"},
    {10, 4, "San Francesco d'Assisi", 2026},
    {11, 1, "Ognissanti"},
    {12, 8, "Immacolata Concezione"},
    {12, 25, "Natale"},
    {12, 26, "Santo Stefano"},
};

QString weekdayName(const QDate &date)
{
    return QLocale(QLocale::Italian, QLocale::Italy).dayName(date.dayOfWeek(), QLocale::LongFormat);
}

} // namespace

QDate easterSunday(int year)
{
    // The anonymous Gregorian computus (Meeus, Jones, Butcher): neither Qt nor libical
    // knows Easter.
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

WorkingDays::WorkingDays(const QDate &patronDay) : m_patronDay(patronDay) {}

QString WorkingDays::patronDaySettingKey()
{
    return QStringLiteral("festa_patronale");
}

WorkingDays WorkingDays::fromSettings()
{
    const QSettings settings(QStringLiteral("Tavelo"), QStringLiteral("Tavelo"));
    const QString text = settings.value(patronDaySettingKey()).toString().trimmed();
    // A leap year, so that 02-29 is accepted.
    return WorkingDays(
        QDate::fromString(QStringLiteral("2000-") + text, QStringLiteral("yyyy-MM-dd")));
}

QString WorkingDays::dayOffName(const QDate &date) const
{
    if (!date.isValid())
        return {};
    for (const Holiday &holiday : fixedHolidays) {
        if (date.month() == holiday.month && date.day() == holiday.day &&
            date.year() >= holiday.since)
            return QString::fromUtf8(holiday.name);
    }
    if (date == easterSunday(date.year()).addDays(1))
        return QStringLiteral("Lunedì dell'Angelo");
    if (m_patronDay.isValid() && date.month() == m_patronDay.month() &&
        date.day() == m_patronDay.day())
        return QStringLiteral("festa patronale");
    if (date.dayOfWeek() >= Qt::Saturday)
        return weekdayName(date);
    return {};
}

bool WorkingDays::isWorkingDay(const QDate &date) const
{
    return date.isValid() && dayOffName(date).isEmpty();
}

QDate WorkingDays::nextWorkingDay(const QDate &date) const
{
    if (!date.isValid())
        return date;
    QDate day = date;
    while (!isWorkingDay(day))
        day = day.addDays(1);
    return day;
}

QString WorkingDays::dayOffHint(const QDate &date) const
{
    const QString name = dayOffName(date);
    if (name.isEmpty())
        return {};
    const QDate next = nextWorkingDay(date);
    return QStringLiteral("%1: il primo giorno lavorativo è %2 %3")
        .arg(name, weekdayName(next), toScreenDate(next));
}
