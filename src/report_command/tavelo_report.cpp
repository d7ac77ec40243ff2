// SPDX-License-Identifier: GPL-3.0-or-later
// tavelo-report: a report of Tavelo's to PDF, from the command line.
#include "core/dates.h"
#include "report_command/report_command.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The command never shows a window: it needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Tavelo"));
    setUpLocale();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runReportCommand(QCoreApplication::arguments(), out, err);
}
