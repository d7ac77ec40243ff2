// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// The Italian working days. A tax deadline that falls on a Saturday, a Sunday or a public
// holiday moves to the next working day, and an office's calendar is made of such
// deadlines. Besides the national holidays an office may have its town's patron's day.
class WorkingDays
{
public:
    // patronDay: month and day of the local patron's day; an invalid date for none (the
    // year of the date is not used).
    explicit WorkingDays(const QDate &patronDay = {});

    // The patron's day from the settings file (key "festa_patronale", "MM-GG"); a missing
    // or malformed key gives no patron's day.
    static WorkingDays fromSettings();
    static QString patronDaySettingKey();

    bool isWorkingDay(const QDate &date) const;

    // The date itself when it is a working day, else the first working day after it.
    QDate nextWorkingDay(const QDate &date) const;

    // Why the date is not a working day ("sabato", "domenica", "Natale", ...); empty for a
    // working day. A holiday on a Sunday is named as the holiday.
    QString dayOffName(const QDate &date) const;

    // What the entry panel shows beside a due date typed on a day off, e.g.
    // "sabato: il primo giorno lavorativo è lunedì 18/05/2026"; empty for a working day.
    QString dayOffHint(const QDate &date) const;

private:
    QDate m_patronDay;
};

// Easter Sunday of the Gregorian calendar (valid from 1583 on).
QDate easterSunday(int year);
