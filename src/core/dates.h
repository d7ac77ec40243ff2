// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Dates are kept as ISO text in the data file and shown in the locale's short date
// form with a four-digit year, so that a typed "01/02/30" can never become 1930.

// The office works in Italian: a machine without a locale of its own (C, POSIX) gets
// Italian dates.
void setUpLocale();

// The short date format of the current locale, its year widened to four digits.
QString screenDateFormat();

// The date as the operator sees it; an invalid date (a NULL column) gives "".
QString toScreenDate(const QDate &date);

// Reads what the operator typed in the short date form. Single-digit day and month
// are accepted; a two-digit year is refused rather than guessed. Invalid on failure.
QDate fromScreenDate(const QString &text);

// Today in the short date form.
QString todayScreenDate();

// ISO text as stored in the file ("yyyy-MM-dd") and back; invalid dates give "".
QString toStoredDate(const QDate &date);
QDate fromStoredDate(const QString &text);

// The version stamp: stored as "yyyy-MM-ddTHH:mm:ss", shown as short date and time.
QString toStoredDateTime(const QDateTime &moment);
QDateTime fromStoredDateTime(const QString &text);
QString toScreenDateTime(const QDateTime &moment);

// The locale's long date, as printed in report headers.
QString toLongDate(const QDate &date);
