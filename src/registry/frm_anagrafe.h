// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/activation.h"
#include "widgets/chosen_user_labels.h"

#include <QWidget>

#include <functional>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class DataGrid;
class StatusPanels;
class SubjectGridModel;
class ToggleButton;
struct Subject;
struct SubjectWriteResult;

// The registry window: the subjects of the office. Shown by the main window's
// "Anagrafica", which it hides; its own "Chiudi" brings the main window back.
// Its panels lie over one another: the start panel, the code check, the grid of
// subjects and the editing panel, topmost first.
class frmAnagrafe : public QWidget, public ActivatableWindow
{
    Q_OBJECT

public:
    explicit frmAnagrafe(QWidget *parent = nullptr);
    ~frmAnagrafe() override;

    void runActivation() override { RegistryWindowActivate(); }

    // Where the labels of the chosen user are read at each activation.
    void setChosenUserSource(std::function<ChosenUserLabels()> source);

    // Window, panels and the grid of subjects.
    void RegistryWindowActivate();
    void RegistryToolbarClick(QAction *button);
    void EnterManagePanel();
    void LeaveManagePanel();
    void EnterModifyMode();
    void EnterDeleteMode();
    void LeaveGridPanel();
    void ToggleUserFlag();
    void ClearRegistryFields();
    void LoadSubjectGrid();
    void FillSubjectFromGridRow();
    void StartRegistryPrint();
    void ShowRegistryReport();

    // Writing the subject on the editing panel.
    void RunSubjectAction();
    void DeleteSubject();

    // The fiscal-code check before an insert.
    void EnterInsertMode();
    void RunCodeCheck();
    void CheckFiscalCode();
    void CloseCodeCheckPanel();

    // Input rules of the text boxes. FilterNumericKey returns the character to let
    // into the box, or a null character to drop it.
    void UpperCaseField(QLineEdit *box);
    QChar FilterNumericKey(QLineEdit *box, QChar typed);

    // Shows a stored value in a box even when it is longer than the box lets the
    // operator type.
    static void setStoredText(QLineEdit *box, const QString &text);

    QToolBar *tbTop = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label19 = nullptr;
    QLabel *Label1 = nullptr;

    // Start panel.
    QGroupBox *Frame3 = nullptr;
    ToggleButton *Check7 = nullptr;
    ToggleButton *Check4 = nullptr;

    // Fiscal-code check panel.
    QGroupBox *Frame4 = nullptr;
    QLineEdit *Text55 = nullptr;
    QPushButton *Cmd3 = nullptr;
    QPushButton *Label67 = nullptr;

    // Grid panel.
    QGroupBox *Frame2 = nullptr;
    ToggleButton *Check5 = nullptr;
    DataGrid *Datagrid1 = nullptr;
    QLabel *Label10 = nullptr;

    // Editing panel and the cover over its fields.
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame6 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLineEdit *Text7 = nullptr;
    QLineEdit *Text8 = nullptr;
    QLineEdit *Text9 = nullptr;
    QLineEdit *Text10 = nullptr;
    QLineEdit *Text11 = nullptr;
    QLineEdit *Text12 = nullptr;
    QLineEdit *Text13 = nullptr;
    QLineEdit *Text14 = nullptr;
    ToggleButton *Check1 = nullptr;
    ToggleButton *Check2 = nullptr;
    ToggleButton *Check3 = nullptr;
    ToggleButton *Check6 = nullptr;
    ToggleButton *Check8 = nullptr;
    QPushButton *Cmd2 = nullptr;
    QLabel *Label50 = nullptr;
    QLabel *Label40 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label100 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *Label21 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;
    QFrame *Line3 = nullptr;
    QFrame *Line4 = nullptr;

signals:
    // "Chiudi": the chosen user's labels go back to whoever shows the main window.
    void closedWithChosenUser(const ChosenUserLabels &labels);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createToolbar();
    void createHeader();
    void createStartPanel();
    void createCodeCheckPanel();
    void createGridPanel();
    void createEditingPanel();
    void createEditingFields();
    void createEditingButtons();
    void stackPanels();
    void setKeyboardOrder();
    void connectHandlers();

    // Helpers of the handlers.
    void enterPickMode(ToggleButton *otherMode, const QString &mode);
    void releaseSubjectGrid();
    bool checkSubjectFields();
    Subject subjectFromFields() const;
    void insertSubjectFromFields();
    void modifySubjectFromFields();
    void refuseDuplicateCode();
    bool subjectWritten(const SubjectWriteResult &written);
    void backToStartPanel();

    std::function<ChosenUserLabels()> m_chosenUserSource;
    SubjectGridModel *m_gridModel = nullptr;
};
