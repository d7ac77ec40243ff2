// SPDX-License-Identifier: GPL-3.0-or-later
// tavelo-import: the earlier version's Database.mdb into Tavelo's data file.
#include "core/dates.h"
#include "import_command/import_command.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tavelo"));
    setUpLocale();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runImportCommand(QCoreApplication::arguments(), out, err);
}
