// SPDX-License-Identifier: GPL-3.0-or-later
// The operator's usual steps on the main window, and the test set-up around it, shared
// by the test programs that drive the main window and the registry. Controls are found
// as the operator finds them: by the name the window gives them.
#pragma once

#include "test_support.h"

#include "app/window_pair.h"

#include <QDate>
#include <QString>
#include <QTest>

#include <functional>
#include <memory>

class frmRegistra;

// The scripted message boxes, a fresh data file and, once started, the window pair on
// that file.
struct MainWindowTest
{
    ScriptedPrompt *prompt = nullptr;
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<WindowPair> windows;
    frmRegistra *window = nullptr; // the pair's main window

    // Installs the scripted prompt and opens a fresh data file; false when it does not open.
    bool prepare();
    // Starts the main window on the data file (see startMainWindow()).
    bool start();
    // Releases the windows, the data file and the prompt, and returns how many message
    // boxes came unexpected.
    int finish();
    // The control of the main window with this name; a missing one fails the test.
    template <typename Control = QWidget> Control *at(const char *name) const;
    QWidget *mainWidget() const;
};

// Shows a new window pair and waits for its main window to be active and activated (user
// choice shown). A failure is reported to the running test and gives nullptr.
std::unique_ptr<WindowPair> startMainWindow();

// The steps below report a failure to the running test and give false.
// Picks a name in the user list, as the operator does with the mouse.
bool chooseUser(QWidget &window, const QString &name);
// Chooses the user, clicks "Accedi" and then "Gestione".
bool openEntryPanel(QWidget &window, const QString &name);
// Clicks the toolbar button with this key, on the window's toolbar.
bool clickToolbar(QWidget *window, const QString &key);
// The panels that can be seen, by name, separated by blanks.
QString visiblePanels(const QWidget &window);
// Clicks the note cell of a row of the diary grid; the grid row whose note is this text.
void clickGridRow(QWidget &window, int row);
int gridRowOf(const QWidget &window, const QString &note);
// Types the text key by key, accented letters and line breaks included.
void typeText(QWidget *box, const QString &text);
// Replaces a box's text the way the operator does: focus, select all, type.
void retype(QWidget *box, const QString &text);
// Writes `total` entries "VOCE" dated 01/01/2026 in one transaction: the i-th falls due
// i % spread days after firstDue and belongs to owner(i). False when a write fails.
bool addManyEntries(TestDatabase &db, int total, const QDate &firstDue, int spread,
                    const std::function<qint64(int)> &owner);
// One row of table Tavelo as stored, by column name; empty when there is none.
QVariantMap storedEntry(qint64 id);
// The ID of the last row written to table Tavelo.
qint64 lastEntryId();

template <typename Control> Control *MainWindowTest::at(const char *name) const
{
    auto *control = mainWidget()->findChild<Control *>(QLatin1String(name));
    if (!control)
        QTest::qFail(name, __FILE__, __LINE__);
    return control;
}
