// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QList>

class ChosenUser;
class PictureButton;
class QComboBox;
class QLabel;
class QPushButton;

// The user choice (Frame3): the list of users, "Accedi" into the chosen user's diary and
// the way to the overview of every user's deadlines.
class UserChoicePanel : public QGroupBox
{
    Q_OBJECT

public:
    UserChoicePanel(ChosenUser &chosen, QWidget *parent);

    // Runs at every activation of the window.
    void LoadUserList();
    // The operator picks a name in the user list.
    void SelectUser();
    // The operator clicks "Accedi": with a name in the list the diary menu is asked for.
    void EnterDiaryPanel();

    // Shows this name in the list, without choosing it.
    void showUserName(const QString &name);
    void focusUserList();
    QList<QWidget *> keyboardOrder() const;

signals:
    void diaryRequested();
    void overviewRequested();

private:
    ChosenUser &m_chosen;
    QPushButton *Command2 = nullptr;
    QComboBox *Cbo1 = nullptr;
    QLabel *Label11 = nullptr;
    PictureButton *Image2 = nullptr;
    QLabel *Label2 = nullptr;
};
