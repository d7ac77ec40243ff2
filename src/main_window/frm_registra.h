// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "main_window/chosen_user.h"
#include "widgets/activation.h"
#include "widgets/chosen_user_labels.h"

#include <QWidget>

class DiaryMenuPanel;
class EntryPanel;
class OverviewPanel;
class PictureButton;
class QAction;
class QLabel;
class QToolBar;
class StatusPanels;
class UserChoicePanel;

// The main window: choosing a user, that user's diary, the overview of all deadlines.
// Its work area holds four panels that lie over one another; the window shows one at a
// time (the overview may lie over the user choice) and passes the chosen user between
// them.
class frmRegistra : public QWidget, public ActivatableWindow, public ChosenUser
{
    Q_OBJECT

public:
    explicit frmRegistra(QWidget *parent = nullptr);
    ~frmRegistra() override;

    void runActivation() override { MainWindowActivate(); }

    // Window events and the operator's actions on the frame.
    void MainWindowLoad();
    void MainWindowActivate();
    void ToolbarButtonClick(QAction *button);
    void ShowVersionStamp();
    void WriteVersionStamp();

    QString SelectedUserId() const override;
    QString SelectedUserName() const override;
    void setSelectedUserId(const QString &id) override;
    void setSelectedUserName(const QString &name) override;

    // What the registry shows of the chosen user, and what it hands back.
    ChosenUserLabels chosenUserLabels();
    void setChosenUserLabels(const ChosenUserLabels &labels);

    // Where the user guide is: beside the program, or in the installed data folder.
    static QString guidePath();

    QString AppFilePath;

signals:
    // The toolbar's "Anagrafica": the registry is to be shown (this window hides).
    void registryRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbar();
    void createWindowLabels();
    void stackPanels();
    void setKeyboardOrder();
    void connectPanels();
    void placeLatePanel(QWidget *panel);
    DiaryMenuPanel *diaryMenu();
    EntryPanel *entryPanel();
    OverviewPanel *overview();
    void EnterDiaryMenu();
    void OpenEntryPanel();
    void LeaveEntryPanel();
    void BackToUserChoice();
    void CloseOverviewPanel();
    void OpenOverviewEntry(qint64 entryId);
    void OpenAuthorPage();

    QToolBar *tbTop = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    OverviewPanel *Frame4 = nullptr;
    EntryPanel *Frame2 = nullptr;
    UserChoicePanel *Frame3 = nullptr;
    DiaryMenuPanel *Frame1 = nullptr;
    QLabel *Label12 = nullptr;
    PictureButton *Image5 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label25 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label1 = nullptr;
    bool m_loaded = false;
};
