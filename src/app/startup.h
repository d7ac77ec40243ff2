// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QApplication;
class frmRegistra;

// Names, locale, Italian texts of Qt's own dialogs, style and icon of the program.
void setUpApplication(QApplication &app);

// Start-up: shows the main window, then opens the data file. The main window's
// activation is queued, so it runs once the event loop starts. When the file cannot
// be used the operator is told why and nullptr comes back: the program must end.
std::unique_ptr<frmRegistra> Main(const QString &dataFilePath);
