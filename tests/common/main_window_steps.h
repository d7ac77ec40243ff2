// SPDX-License-Identifier: GPL-3.0-or-later
// The operator's usual steps on the main window, and the test set-up around it, shared
// by the test programs that drive the main window and the registry.
#pragma once

#include "test_support.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

class DataGrid;
class QComboBox;
class QToolBar;
class frmRegistra;

// The scripted message boxes, a fresh data file and, once started, the main window on
// that file.
struct MainWindowTest
{
    ScriptedPrompt *prompt = nullptr;
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<frmRegistra> window;

    // Installs the scripted prompt and opens a fresh data file; false when it does not open.
    bool prepare();
    // Starts the main window on the data file (see startMainWindow()).
    bool start();
    // Releases the window, the data file and the prompt, and returns how many message
    // boxes came unexpected: everything is released first, so that one failure stays in
    // its own test.
    int finish();
};

// Shows a new main window and waits for it to be active and for its queued activation
// (user choice shown). A failure is reported to the running test and gives nullptr.
std::unique_ptr<frmRegistra> startMainWindow();

// The steps below report a failure to the running test and give false; the test may
// go on or stop with QVERIFY(step(...)).

// Picks a name in the user list, as the operator does with the mouse.
bool chooseUser(frmRegistra &window, const QString &name);

// Chooses the user, clicks "Accedi" and then "Gestione".
bool openEntryPanel(frmRegistra &window, const QString &name);

// Clicks the toolbar button with this key.
bool clickToolbar(QToolBar *toolbar, const QString &key);

QStringList comboItems(const QComboBox *combo);

// The panels that can be seen, by name, separated by blanks.
QString visiblePanels(const frmRegistra &window);

// Clicks the note cell of a row of the diary grid.
void clickGridRow(DataGrid *grid, int row);

// The grid row whose note is this text, or -1.
int gridRowOf(const DataGrid *grid, const QString &note);

// Types the text key by key, accented letters and line breaks included.
void typeText(QWidget *box, const QString &text);

// Replaces a box's text the way the operator does: select all, type.
template <typename Box> void retype(Box *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

// Writes `total` entries "VOCE" dated 01/01/2026 in one transaction: the i-th falls due
// i % spread days after firstDue and belongs to owner(i). False when a write fails.
bool addManyEntries(TestDatabase &db, int total, const QDate &firstDue, int spread,
                    const std::function<qint64(int)> &owner);

// One row of table Tavelo as stored, by column name; empty when there is none.
QVariantMap storedEntry(qint64 id);

// The ID of the last row written to table Tavelo.
qint64 lastEntryId();
