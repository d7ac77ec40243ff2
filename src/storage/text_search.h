// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The overview's search: a deadline is found when its note or its owner's name holds
// every word the operator typed, case and accents aside. The words are compared as plain
// text, never as patterns: "%", "_" and quotes are characters like any other.

// The text as the search compares it: lower case, without accents.
QString foldedForSearch(const QString &text);

// The words of what the operator typed, folded; blanks separate them.
QStringList searchWords(const QString &typed);

// The SQL of a test that `column` holds the word bound to `placeholder`, on the archive
// that `db` opens. On a file it calls the fold function, which it registers on the
// connection; on a server it folds with the server's own functions.
QString holdsWordCondition(QSqlDatabase &db, const QString &column, const QString &placeholder);
