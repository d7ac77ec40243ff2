// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/activation.h"
#include "widgets/chosen_user_labels.h"

#include <QWidget>

#include <functional>

class CodeCheckPanel;
class EditingPanel;
class QAction;
class QLabel;
class QToolBar;
class StartPanel;
class StatusPanels;
class SubjectGridPanel;

// The registry window: the subjects of the office. It shows the header of the
// user chosen elsewhere and hands it back on "Chiudi". Its panels lie over one
// another: the start panel, the code check, the grid of subjects and the
// editing panel, topmost first; the window moves the operator between them.
class frmAnagrafe : public QWidget, public ActivatableWindow
{
    Q_OBJECT

public:
    // A top-level window of its own unless given a parent.
    explicit frmAnagrafe(QWidget *parent = nullptr);
    ~frmAnagrafe() override;

    // Where the header's texts come from, read at each activation.
    void setChosenUserSource(std::function<ChosenUserLabels()> source);

    void runActivation() override { RegistryWindowActivate(); }

    void RegistryWindowActivate();
    void RegistryToolbarClick(QAction *button);
    // Fills the grid of subjects; false when it cannot be read (and the operator
    // is told).
    bool LoadSubjectGrid();

signals:
    // The operator leaves with "Chiudi" (or the title bar's close box): the
    // header as the window shows it.
    void closedWithChosenUser(const ChosenUserLabels &labels);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbar();
    void createHeader();
    void stackPanels();
    void setKeyboardOrder();
    void connectPanels();

    // The moves between the panels.
    void ClearRegistryFields();
    void EnterManagePanel();
    void LeaveManagePanel();
    void EnterModifyMode();
    void EnterDeleteMode();
    void enterPickMode(const QString &mode);
    void LeaveGridPanel();
    void FillSubjectFromGridRow();
    void backToStartPanel(bool releaseManage);

    // The fiscal-code check before an insert.
    void EnterInsertMode(bool on);
    void RunCodeCheck();
    void CheckFiscalCode();
    void CloseCodeCheckPanel();

    void StartRegistryPrint();
    void ShowRegistryReport();

    QToolBar *tbTop = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label19 = nullptr;
    QLabel *Label1 = nullptr;
    StartPanel *Frame3 = nullptr;
    CodeCheckPanel *Frame4 = nullptr;
    SubjectGridPanel *Frame2 = nullptr;
    EditingPanel *Frame1 = nullptr;
    std::function<ChosenUserLabels()> m_chosenUser;
};
