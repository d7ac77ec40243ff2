// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"

#include <QString>

#include <memory>

class QApplication;
class WindowPair;

// Names, locale, Italian texts of Qt's own dialogs, style and icon of the program.
void setUpApplication(QApplication &app);

// Start-up: shows the main window (of a new window pair), then opens the data file. The main
// window's activation is queued, so it runs once the event loop starts. When the file cannot be
// used the operator is told why and nullptr comes back: the program must end. With a server's
// connection string, the archive on that server instead.
std::unique_ptr<WindowPair> Main(const QString &dataFilePath, const QString &server = QString());

// Where the archive is: the server given on the command line (--server), or the one in
// the settings, or (without either) the data file. A command line that cannot be used
// fails with the message to print.
struct ArchiveChoice
{
    QString server; // empty: the data file
    QString dataFile;
    QString help; // --help: the text to print instead of starting
};
Outcome<ArchiveChoice> chooseArchive(const QStringList &arguments);
