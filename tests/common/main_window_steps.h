// SPDX-License-Identifier: GPL-3.0-or-later
// The operator's usual steps on the main window, shared by the test programs that
// drive it.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QComboBox;
class QToolBar;
class frmRegistra;

// Shows a new main window and waits for its queued activation (user choice shown).
std::unique_ptr<frmRegistra> startMainWindow();

// Picks a name in the user list, as the operator does with the mouse.
void chooseUser(frmRegistra &window, const QString &name);

// Chooses the user, clicks "Accedi" and then "Gestione".
void openEntryPanel(frmRegistra &window, const QString &name);

// Clicks the toolbar button with this key.
void clickToolbar(QToolBar *toolbar, const QString &key);

QStringList comboItems(const QComboBox *combo);

// The panels that can be seen, by name, separated by blanks.
QString visiblePanels(const frmRegistra &window);
