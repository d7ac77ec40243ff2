// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/activation.h"

#include <QModelIndex>
#include <QWidget>

#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class QTreeView;
class DataGrid;
class DateBox;
class DiaryGridModel;
class NoteBox;
class OverviewListModel;
class PictureButton;
class StatusPanels;
class TickBox;
class ToggleButton;
class frmAnagrafe;
struct DiaryEntry;
struct ReportBuild;

// The main window: choosing a user, that user's diary, the overview of all deadlines.
// Its work area holds four panels that lie over one another; the program shows one at
// a time (the overview may lie over the user choice).
class frmRegistra : public QWidget, public ActivatableWindow
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
    void EnterDiaryPanel();
    void LeaveEntryPanel();
    void BackToUserChoice();
    void OpenAuthorPage();
    void ShowOverviewPanel();
    void ShowVersionStamp();
    void WriteVersionStamp();

    // The user choice and the user's diary grid.
    void LoadUserList();
    void SelectUser();
    void LoadDiaryGrid();
    void FillEntryFromGridRow();

    // The entry panel.
    void OpenEntryPanel();
    void ToggleDueDate();
    void ToggleModifyMode();
    void ToggleDeleteMode();
    void PrintUserCard();
    void RunEntryAction();
    void UpperCaseNote();
    // Decides what a character typed into the document number becomes: the same, a
    // replacement, or 0 to drop it.
    void FilterDocNumberKey(int &keyAscii);

    // The overview of every user's deadlines.
    void LoadOverviewList();
    void CloseOverviewPanel();
    void PrintOverviewReport();
    // The operator opens a deadline of the overview (double click or Enter): its entry
    // in its owner's diary, in Modify mode, with the entry picked.
    void OpenOverviewEntry(const QModelIndex &item);

    // The reports of the main window, shown as modal previews.
    void ShowUserCardReport();
    void ShowAllUsersReport();

    // Prints a list as a table on the default printer, in landscape. The title comes
    // back trimmed and in capitals.
    void ImprimerListView(QTreeView *lvwSource, QString &sTitre, const QString &sSousTitre,
                          const QString &sNomPolice, qint16 iTaillePolice);

    QString SelectedUserId() const;
    QString SelectedUserName() const;

    // Where the user guide is: beside the program, or in the installed data folder.
    static QString guidePath();

    QString AppFilePath;

    // Panels and controls, named as the window has always named them.
    QToolBar *tbTop = nullptr;
    StatusPanels *StatusBar1 = nullptr;

    QGroupBox *Frame4 = nullptr;
    QCheckBox *Check7 = nullptr;
    QCheckBox *Check6 = nullptr;
    QTreeView *ListView1 = nullptr;

    QGroupBox *Frame2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QPushButton *Cmd1 = nullptr;
    NoteBox *Text2 = nullptr;
    TickBox *Check2 = nullptr;
    DateBox *DataBox1 = nullptr;
    QLineEdit *Text1 = nullptr;
    DateBox *DataBox2 = nullptr;
    DataGrid *DataGrid3 = nullptr;
    ToggleButton *Check3 = nullptr;
    ToggleButton *Check4 = nullptr;
    ToggleButton *Check5 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label4 = nullptr;
    PictureButton *Image3 = nullptr;

    QGroupBox *Frame3 = nullptr;
    QPushButton *Command2 = nullptr;
    QComboBox *Cbo1 = nullptr;
    QLabel *Label11 = nullptr;
    PictureButton *Image2 = nullptr;
    QLabel *Label2 = nullptr;

    QGroupBox *Frame1 = nullptr;
    ToggleButton *Check1 = nullptr;
    PictureButton *Image4 = nullptr;

    QLabel *Label12 = nullptr;
    PictureButton *Image5 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label25 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label1 = nullptr;

    frmAnagrafe *registryWindow() const { return m_registry.get(); }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbar();
    void createOverviewPanel();
    void createEntryPanel();
    void createUserChoicePanel();
    void createDiaryMenuPanel();
    void createWindowLabels();
    void stackPanels();
    void setKeyboardOrder();
    void connectHandlers();
    void connectEntryPanel();
    void connectOverviewPanel();
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool entryChecksPass();
    std::optional<qint64> confirmedEntryOwner(const QString &question);
    DiaryEntry entryFromFields(qint64 owner) const;
    void insertEntry();
    void modifyEntry();
    void deleteEntry();
    void clearEntryFields();
    void returnToInsertMode(ToggleButton *modeToggle);
    void enterEntryMode(ToggleButton *otherMode, const QString &caption);
    void leaveEntryMode();
    bool pickDiaryRowWithId(qint64 entryId);
    void releaseDiaryGrid();
    void warnNoUserChosen();
    void showReport(const ReportBuild &report);

    DiaryGridModel *m_diaryModel = nullptr;
    OverviewListModel *m_overviewModel = nullptr;
    std::unique_ptr<frmAnagrafe> m_registry;
    bool m_loaded = false;
};
