// SPDX-License-Identifier: GPL-3.0-or-later
// The operator's steps on the main window, and the test set-up around it, shared by the
// test programs that drive the main window and the registry. Controls are found as the
// operator finds them: by the names the window gives them.
#pragma once

#include "test_support.h"

#include "app/window_pair.h"

#include <QDate>

#include <memory>

// The scripted message boxes, a fresh data file and, once started, the window pair on it.
struct MainWindowTest
{
    ScriptedPrompt *prompt = nullptr;
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<WindowPair> windows;
    QWidget *window = nullptr; // the pair's main window

    // Installs the scripted prompt and opens a fresh data file; false when it does not open.
    bool prepare();
    // Starts the main window on the data file (see startMainWindow()).
    bool start();
    // Releases everything and returns how many message boxes came unexpected.
    int finish();
    // The control of the main window with this name; a missing one fails the test.
    template <typename Control = QWidget> Control *at(const char *name) const
    {
        auto *control = window->findChild<Control *>(QLatin1String(name));
        if (!control)
            QTest::qFail(name, __FILE__, __LINE__);
        return control;
    }
};

// Shows a new window pair and waits for its main window to be active and activated (user
// choice shown). A failure is reported to the running test and gives nullptr.
std::unique_ptr<WindowPair> startMainWindow();

// Whether the operator sees this control: shown, and no panel lies over its centre.
bool operatorSees(QWidget *control);

// Runs the operator's steps, separated by ";": "Name" clicks the control (which must be
// seen and enabled), "Name=text" retypes it ("\\n" a line break) or chooses that item,
// "Name+text" types at its caret, "Name<Key" presses the key (named as QKeySequence names
// it) on it, "pick TEXT" clicks the cell that shows it in a grid or list that the operator
// sees, "gone NOTE" deletes that entry behind the window's back, "refuse EVENT" makes the
// archive refuse such writes on the diary, "paste TEXT" pastes into the focused control,
// "user NAME" picks the name in the user list, "sql STATEMENT" runs it on the archive,
// "desk STATEMENT" runs it at another desk, "tool KEY" clicks the toolbar button,
// "activate" activates the window again; "?Name=pattern" checks what the control shows
// (see snapshot()), "?Name.property=pattern" one of its properties. Answers (Y, N, O for
// Yes, No, Ok) are given to the message boxes in turn. False when a step cannot be done.
bool runSteps(MainWindowTest &test, const QString &steps, const QString &answers = QString());
// The columns of a table of the operator's steps: steps, answers, names of controls, the
// pattern of their snapshot and the message boxes expected (patterns of shownBoxes()).
void addStepColumns();
// Runs the steps of the current row and checks the boxes and the snapshot.
void checkStepRow(MainWindowTest &test);
// What the operator sees of the named controls (blank-separated), joined by "|": texts,
// toggles as 0/1, lists as E (enabled) or - and the notes of their rows, hidden labels as ~,
// today's date as "oggi"; "@" gives the focused control, "panels" the panels shown, "Name?"
// whether the control is enabled, "closed" what the diary grid tells of each closed row.
QString snapshot(const MainWindowTest &test, const QString &names);
// The message boxes shown, each as icon (-, i, x), title and text, separated by "|".
QStringList shownBoxes(const ScriptedPrompt &prompt);
// Compares each text with its pattern (where * stands for any text), and reports the
// first that differs.
bool allMatch(const QStringList &patterns, const QStringList &texts);
// Each row of the diary as note|date|due date|document|"oggi" when written today|owner's
// ID, in the order written; a closed one has "fatta DAY" and a repeating one its rule
// before the owner.
QStringList storedDiary();
// Clicks the toolbar button with this key, on this toolbar or the window's.
bool clickToolbar(QWidget *window, const QString &key);
