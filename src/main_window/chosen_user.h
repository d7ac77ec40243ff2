// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The user whose diary the main window shows, as its labels hold it: the panels read and
// set it through this, the labels stay the window's.
class ChosenUser
{
public:
    virtual QString SelectedUserId() const = 0;
    virtual QString SelectedUserName() const = 0;
    virtual void setSelectedUserId(const QString &id) = 0;
    virtual void setSelectedUserName(const QString &name) = 0;

protected:
    ~ChosenUser() = default;
};

// The message of a step that needs a chosen user when there is none.
void warnNoUserChosen(QWidget *parent);
