// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
// the settings, or (without either) the data file. Returns false with the message for
// a command line that cannot be used.
struct ArchiveChoice
{
    QString server; // empty: the data file
    QString dataFile;
};
bool chooseArchive(const QStringList &arguments, ArchiveChoice *choice, QString *message,
                   bool *helpAsked);
