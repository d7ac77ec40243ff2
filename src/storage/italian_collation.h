// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QStringView>

// Names sort as an Italian reader expects: case aside, accented letters beside their
// base letter ("ÀLVARO" before "BRUNO"). Registered on the connection as the collation
// ITALIAN, which the statements use in ORDER BY only: the file's schema never names
// it, so other SQLite tools read the file as it is.
bool registerItalianCollation(QSqlDatabase &db);

// The comparison itself, as the collation makes it: negative, 0 or positive.
int compareItalian(QStringView a, QStringView b);
// The same on UTF-8 text, as SQLite hands it over.
int compareItalianUtf8(const char *a, int aLength, const char *b, int bLength);
