// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

class QSqlDatabase;

// The calendar's deadlines as the statements name them: every entry of a user that has a
// due date, with a first day from that day on (bound as :first). Whatever else keeps a
// deadline out of the calendar goes here, so that its rows and its digest stay one set.
QString calendarDeadlinesFrom(const QDate &firstDue);

// The sum over those rows of a number made of each row's values (entry, dates, note,
// document number, owner's name), in the engine's own SQL.
QString calendarRowDigestSum(bool server);

// Gives a file's connection the function behind calendarRowDigestSum; false when the
// engine refuses it.
bool registerRowDigest(QSqlDatabase &db);
