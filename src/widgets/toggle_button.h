// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A two-state toggle drawn as a push button. A click flips the state and toggled()
// reports the change; setting the state it already has reports nothing, and a handler
// that sets another toggle runs that toggle's handler at once, before going on.
class ToggleButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ToggleButton(const QString &caption, QWidget *parent = nullptr);

    int value() const { return isChecked() ? 1 : 0; }
    void setValue(int value) { setChecked(value != 0); }
};

// The small square that ticks the due date: it keeps its caption for the screen
// reader and shows a check mark instead of the text.
class TickBox : public ToggleButton
{
    Q_OBJECT

public:
    explicit TickBox(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
