// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QTextStream;

// tavelo-import: creates the program's data file from the earlier Windows version's
// Database.mdb. arguments[0] is the command's name. Returns the exit status: 0 done,
// 1 a file could not be read or written (or would have been overwritten), 2 the command
// line was wrong.
int runImportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
