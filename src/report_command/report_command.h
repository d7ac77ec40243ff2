// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QTextStream;

// tavelo-report: renders one of the three reports from a data file to a PDF, without
// opening the program. arguments[0] is the command's name. Returns the exit status:
// 0 done, 1 the data or the file failed, 2 the command line was wrong.
int runReportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
