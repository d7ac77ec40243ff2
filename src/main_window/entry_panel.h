// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/working_days.h"
#include "storage/statements.h"

#include <QGroupBox>
#include <QList>

#include <optional>

class ChosenUser;
class DataGrid;
class DateBox;
class DiaryGridModel;
class NoteBox;
class PictureButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TickBox;
class ToggleButton;

// The entry panel (Frame2): the chosen user's diary in a grid, the fields of one entry,
// the modes Insert / Modify / Delete and the user's card.
class EntryPanel : public QGroupBox
{
    Q_OBJECT

public:
    EntryPanel(ChosenUser &chosen, QWidget *parent);

    // "Gestione" switched on: the panel, already shown, starts in Insert mode.
    void OpenEntryPanel();
    // Reloads the grid with the chosen user's diary.
    void LoadDiaryGrid();
    // The operator picks a row of the grid: in the modify and delete modes the entry is
    // copied into the fields.
    void FillEntryFromGridRow();
    void ToggleDueDate();
    void ToggleModifyMode();
    void ToggleDeleteMode();
    void PrintUserCard();
    void RunEntryAction();
    void UpperCaseNote();
    // Decides what a character typed into the document number becomes: the same, a
    // replacement, or 0 to drop it.
    void FilterDocNumberKey(int &keyAscii);
    // The operator switches the entry panel's "Stampa" on.
    void ShowUserCardReport();
    // The operator clicks "Fatta": the picked entry is closed and, when it repeats, the
    // next occurrence is written as a new entry.
    void CloseEntry();

    // The operator leaves the panel: the editor is reset.
    void resetEditor();
    // An entry opened from the overview: Modify mode, the entry picked and copied.
    void modifyEntryWithId(qint64 entryId);
    void releaseDiaryGrid();
    QString label4Text() const;
    void setLabel4Text(const QString &text);
    QList<QWidget *> keyboardOrder() const;

signals:
    void leaveRequested();
    // A report shown from the panel is closed: the window is activated again.
    void reportClosed();

private:
    void connectControls();
    bool eventFilter(QObject *watched, QEvent *event) override;
    [[nodiscard]] bool entryChecksPass();
    [[nodiscard]] std::optional<qint64> confirmedEntryOwner(const QString &question);
    DiaryEntry entryFromFields(qint64 owner) const;
    void insertEntry();
    void modifyEntry();
    void deleteEntry();
    void clearEntryFields();
    [[nodiscard]] bool fillDiaryGrid();
    void tellWrittenElsewhere(RowConflict conflict, const QString &outcome, const QString &title);
    void returnToInsertMode(ToggleButton *modeToggle);
    void enterEntryMode(ToggleButton *otherMode, const QString &caption);
    void leaveEntryMode();
    [[nodiscard]] bool pickDiaryRowWithId(qint64 entryId);
    void createDayOffHint();
    // A due date on a Saturday, a Sunday or a holiday is kept as typed; the panel says so.
    void ShowDayOffHint();
    void createRepeatAndDone();
    // The rule the entry is written with: the picked one while its choice and due date
    // stay, so that a nominal day survives a due date moved to a working day.
    QString repeatRuleFromFields(const QDate &due) const;
    void showPickedRepeat();
    void updateDoneButton();
    [[nodiscard]] bool fieldsHoldPicked() const;
    std::optional<DiaryEntry> followingEntry(const DiaryEntry &closed) const;
    void tellClosed(const DiaryEntry &next, qint64 nextId);
    void tellClosingConflict(const ClosingResult &closing);

    ChosenUser &m_chosen;
    // The entry as it was read when the operator picked it: a modify or delete writes only
    // while the stored entry still holds it.
    std::optional<DiaryEntry> m_picked;
    WorkingDays m_workingDays = WorkingDays::fromSettings();
    QLabel *m_dayOffHint = nullptr;
    QLabel *m_repeatLabel = nullptr;
    QComboBox *m_repeat = nullptr;
    QPushButton *m_done = nullptr;
    DiaryGridModel *m_diaryModel = nullptr;
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
};
