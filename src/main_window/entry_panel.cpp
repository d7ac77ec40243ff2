// SPDX-License-Identifier: GPL-3.0-or-later
// The entry panel: opening it, its modes, its actions and the rules of its fields.
#include "main_window/entry_panel.h"

#include "core/dates.h"
#include "main_window/chosen_user.h"
#include "main_window/diary_grid_model.h"
#include "main_window/report_launching.h"
#include "reports/report_progress.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/labels.h"
#include "widgets/note_box.h"
#include "widgets/panel_placement.h"
#include "widgets/picture_button.h"
#include "widgets/prompt.h"
#include "widgets/toggle_button.h"

#include <QAccessible>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

const QColor gridWhite(255, 255, 255);
const QColor gridPickable(255, 255, 192);
const QColor dueDateOn(255, 255, 128);

const QString insertMode = QStringLiteral("Inserisci");
const QString modifyMode = QStringLiteral("Modifica");
const QString deleteMode = QStringLiteral("Elimina");

const QString titleData = QStringLiteral("ERRORE - DATA ");
const QString titleScadenza = QStringLiteral("ERRORE - SCADENZA ");
const QString titleNota = QStringLiteral("ERRORE - NOTA ");
const QString titleDelete = QStringLiteral(" Tavelo -Eliminazione");

constexpr int keyBackspace = 8;
constexpr int keyComma = 44;
constexpr int keyFullStop = 46;

void refuse(QWidget *owner, QWidget *field, const QString &text, const QString &title)
{
    showPrompt(owner, text, title, PromptButtons::Ok, PromptIcon::Critical);
    field->setFocus();
}

// The form the operator must use ("gg/mm/aaaa", as the date box describes it), with an
// example.
QString notADateMessage(const QString &field, const DateBox *box)
{
    return QStringLiteral("%1: «%2» non è una data valida. Scrivere la data nella forma %3 "
                          "(per esempio %4).")
        .arg(field, box->text().trimmed(), box->accessibleDescription(),
             toScreenDate(QDate(QDate::currentDate().year(), 1, 15)));
}

// The character code that a key press types, as the document number's filter sees
// it: control keys arrive as control characters (Ctrl+V as 22), keys that type
// nothing (arrows, Delete, Home) as 0.
int typedCode(const QKeyEvent *key)
{
    if (key->key() == Qt::Key_Backspace)
        return keyBackspace;
    if ((key->modifiers() & Qt::ControlModifier) && key->key() >= Qt::Key_A &&
        key->key() <= Qt::Key_Z)
        return key->key() - Qt::Key_A + 1;
    const QString text = key->text();
    return text.size() == 1 ? text.at(0).unicode() : 0;
}

struct GridColumn
{
    bool shown;
    int widthTwips; // 0: keep the grid's width
};

// Column settings of the diary grid, by position: ID, data, scadenza, Oggetto, ndoc,
// Utente, AGG, and a further column should the table have one.
const GridColumn diaryGridColumns[] = {
    {false, 0},  {true, 1000}, {true, 1000}, {true, 4500},
    {true, 900}, {false, 0},   {true, 1000}, {false, 0},
};

} // namespace

EntryPanel::EntryPanel(ChosenUser &chosen, QWidget *parent)
    : QGroupBox(QStringLiteral("***** Gestione"), parent), m_chosen(chosen)
{
    placePanel(this, "Frame2", 0, 600, 12015, 6015);

    Label4 = makeLabel(this, "Label4", QStringLiteral("Data"), 600, 600, 1140, 240);
    DataBox1 = named(new DateBox(this), "DataBox1");
    // It ends short of the due-date tick, which stands between the two date boxes.
    placeTwips(DataBox1, 600, 840, 1155, 330);
    Label4->setBuddy(DataBox1);

    Check2 = named(new TickBox(QStringLiteral("XPCheck1"), this), "Check2");
    placeTwips(Check2, 1800, 960, 255, 255);
    Check2->setAccessibleName(QStringLiteral("Con scadenza"));
    Check2->setToolTip(QStringLiteral("Con scadenza"));

    Label6 = makeLabel(this, "Label6", QStringLiteral("Avviso/ Scadenza"), 2040, 600, 1740, 240);
    DataBox2 = named(new DateBox(this), "DataBox2");
    placeTwips(DataBox2, 2280, 840, 1380, 330);
    Label6->setBuddy(DataBox2);

    Label7 = makeLabel(this, "Label7", QStringLiteral("ID Oper"), 3840, 600, 900, 240);
    Text1 = named(new QLineEdit(this), "Text1");
    placeTwips(Text1, 3840, 840, 855, 330);
    Text1->setReadOnly(true);
    Label7->setBuddy(Text1);

    Label9 = makeLabel(this, "Label9", QStringLiteral("N_Doc"), 4800, 600, 900, 240);
    Text3 = named(new QLineEdit(this), "Text3");
    placeTwips(Text3, 4800, 840, 1800, 330);
    Label9->setBuddy(Text3);

    createDayOffHint();
    createRepeatAndDone();

    Text2 = named(new NoteBox(this), "Text2");
    placeTwips(Text2, 600, 1320, 9015, 945);
    Text2->setAccessibleName(QStringLiteral("Oggetto"));
    Text2->setPlaceholderText(QStringLiteral("Oggetto"));

    Cmd1 = named(new QPushButton(QStringLiteral("Inserisci"), this), "Cmd1");
    placeTwips(Cmd1, 9960, 1320, 1455, 420);
    // Enter on the focused button runs the action, as Space does.
    Cmd1->setAutoDefault(true);
    Label10 =
        makeLabel(this, "Label10", QStringLiteral("Seleziona  la riga "), 9960, 1800, 1900, 300);

    DataGrid3 = named(new DataGrid(this), "DataGrid3");
    placeTwips(DataGrid3, 600, 2400, 9240, 3360);
    // The column widths were set for a small face: the dates must fit them whole.
    DataGrid3->setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    DataGrid3->setAccessibleName(QStringLiteral("Registrazioni dell'utente"));
    m_diaryModel = new DiaryGridModel(this);

    Check3 = named(new ToggleButton(QStringLiteral("Modifica"), this), "Check3");
    placeTwips(Check3, 10080, 2400, 1335, 330);
    Check4 = named(new ToggleButton(QStringLiteral("Elimina"), this), "Check4");
    placeTwips(Check4, 10080, 2760, 1335, 330);
    Check5 = named(new ToggleButton(QStringLiteral("Stampa"), this), "Check5");
    placeTwips(Check5, 10080, 3120, 1335, 330);

    Image3 = named(new PictureButton(QStringLiteral(":/pictures/indietro.svg"), this), "Image3");
    placeTwips(Image3, 10380, 4800, 720, 720);
    Image3->setAccessibleName(QStringLiteral("Indietro"));
    Image3->setToolTip(QStringLiteral("Indietro"));
    connectControls();
}

void EntryPanel::connectControls()
{
    connect(Image3, &PictureButton::clicked, this, &EntryPanel::leaveRequested);
    connect(DataGrid3, &DataGrid::rowPicked, this, &EntryPanel::FillEntryFromGridRow);
    connect(Check2, &ToggleButton::toggled, this, &EntryPanel::ToggleDueDate);
    connect(Check3, &ToggleButton::toggled, this, &EntryPanel::ToggleModifyMode);
    connect(Check4, &ToggleButton::toggled, this, &EntryPanel::ToggleDeleteMode);
    connect(Check5, &ToggleButton::toggled, this, &EntryPanel::PrintUserCard);
    connect(Cmd1, &QPushButton::clicked, this, &EntryPanel::RunEntryAction);
    connect(Text2, &NoteBox::textChanged, this, &EntryPanel::UpperCaseNote);
    Text3->installEventFilter(this);
}

QList<QWidget *> EntryPanel::keyboardOrder() const
{
    // The new controls after the ones the operator knows, so that Tab from N_Doc still
    // reaches the note.
    return {DataBox1,  Check2, DataBox2, Text1,  Text3,  Text2,    Cmd1,
            DataGrid3, Check3, Check4,   Check5, m_done, m_repeat, Image3};
}

QString EntryPanel::label4Text() const
{
    return Label4->text();
}

void EntryPanel::setLabel4Text(const QString &text)
{
    Label4->setText(text);
}

void EntryPanel::releaseDiaryGrid()
{
    DataGrid3->setModel(nullptr);
    m_diaryModel->clear();
}

// The part of leaving the panel that is the panel's own.
void EntryPanel::resetEditor()
{
    clearEntryFields();
    Label10->hide();
    Check2->setValue(0);
    Check3->setValue(0);
}

// Every character typed into the document number passes FilterDocNumberKey.
bool EntryPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Text3 || event->type() != QEvent::KeyPress)
        return QGroupBox::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Delete)
        return false;
    const int typed = typedCode(key);
    if (typed == 0 && key->text().isEmpty())
        return false; // moves the caret or deletes forward: not a typed character
    int keyAscii = typed;
    FilterDocNumberKey(keyAscii);
    if (keyAscii == typed)
        return false;
    if (keyAscii != 0)
        Text3->insert(QString(QChar(keyAscii)));
    return true;
}

void EntryPanel::OpenEntryPanel()
{
    Label10->hide();
    DataBox2->setEnabled(false);
    DataBox2->setText(QString());
    DataBox2->setBackgroundColor(window()->palette().color(QPalette::Window));
    DataBox1->setFocus();
    DataBox1->setText(todayScreenDate());
    DataGrid3->setBackgroundColor(gridWhite);
    LoadDiaryGrid();
    DataGrid3->setEnabled(false);
    Cmd1->setText(insertMode);
}

// The operator ticks or unticks the due date.
void EntryPanel::ToggleDueDate()
{
    if (Check2->value() == 0) {
        DataGrid3->setBackgroundColor(gridWhite);
        DataBox2->setBackgroundColor(window()->palette().color(QPalette::Window));
        DataBox2->setEnabled(false);
        DataBox2->setText(QString());
        m_repeat->setCurrentIndex(0);
        m_repeat->setEnabled(false);
    } else {
        DataBox2->setEnabled(true);
        m_repeat->setEnabled(true);
        DataBox2->setBackgroundColor(dueDateOn);
        DataBox2->setFocus();
    }
}

// The operator switches "Modifica".
void EntryPanel::ToggleModifyMode()
{
    if (Check3->value() == 0)
        leaveEntryMode();
    else
        enterEntryMode(Check4, modifyMode);
}

// The operator switches "Elimina".
void EntryPanel::ToggleDeleteMode()
{
    if (Check4->value() == 0)
        leaveEntryMode();
    else
        enterEntryMode(Check3, deleteMode);
}

// A mode toggle switched off: back to Insert mode with empty fields.
void EntryPanel::leaveEntryMode()
{
    Label10->hide();
    clearEntryFields();
    Check2->setValue(0);
    DataGrid3->setBackgroundColor(gridWhite);
    DataGrid3->setEnabled(false);
    Cmd1->setText(insertMode);
    updateDoneButton();
}

// A mode toggle switched on: the other one goes off first (its off-branch empties the
// fields), then the grid can be picked from.
void EntryPanel::enterEntryMode(ToggleButton *otherMode, const QString &caption)
{
    Label10->show();
    otherMode->setValue(0);
    Check5->setValue(0);
    DataGrid3->setEnabled(true);
    DataGrid3->setBackgroundColor(gridPickable);
    Cmd1->setText(caption);
    Label10->show();
    updateDoneButton();
}

// The operator switches the entry panel's "Stampa" on: the selected user's card.
void EntryPanel::PrintUserCard()
{
    if (Check5->value() != 1)
        return;
    Check3->setValue(0);
    Check4->setValue(0);
    ShowUserCardReport();
}

// The operator clicks the action button (or presses Enter or Space on it).
void EntryPanel::RunEntryAction()
{
    const QString mode = Cmd1->text();
    if (mode == insertMode)
        insertEntry();
    else if (mode == modifyMode)
        modifyEntry();
    else if (mode == deleteMode)
        deleteEntry();
}

// The checks that insert and modify share. Dates are read as dates: a text that is no
// date is refused before anything is written. A due date before the entry date is
// only a warning.
bool EntryPanel::entryChecksPass()
{
    if (DataBox1->text().trimmed().isEmpty()) {
        refuse(window(), DataBox1, QStringLiteral("Inserire LA DATA"), titleData);
        return false;
    }
    const QDate entryDate = DataBox1->date();
    if (!entryDate.isValid()) {
        refuse(window(), DataBox1, notADateMessage(QStringLiteral("Data"), DataBox1), titleData);
        return false;
    }
    const bool hasDueDate = Check2->value() == 1;
    if (hasDueDate && DataBox2->text().isEmpty()) {
        refuse(window(), DataBox2, QStringLiteral("Inserire la SCADENZA"), titleScadenza);
        return false;
    }
    const QDate dueDate = DataBox2->date();
    if (hasDueDate && !dueDate.isValid()) {
        refuse(window(), DataBox2, notADateMessage(QStringLiteral("Avviso/ Scadenza"), DataBox2),
               titleScadenza);
        return false;
    }
    if (hasDueDate && dueDate < entryDate)
        refuse(
            window(), DataBox2,
            QStringLiteral("Attenzione la  data di scadenza è inferiore alla data di inserimento "),
            titleScadenza);
    if (Text2->text().isEmpty()) {
        refuse(window(), Text2, QStringLiteral("Inserire la NOTA"), titleNota);
        return false;
    }
    return true;
}

void EntryPanel::clearEntryFields()
{
    m_picked.reset();
    DataBox1->setText(todayScreenDate());
    DataBox2->setText(QString());
    DataBox2->setEnabled(false);
    m_repeat->setCurrentIndex(0);
    m_repeat->setEnabled(false);
    Text1->clear();
    Text3->clear();
    Text2->clear();
    updateDoneButton();
}

// After a modify or a delete: the fields emptied and the panel back in Insert mode.
void EntryPanel::returnToInsertMode(ToggleButton *modeToggle)
{
    clearEntryFields();
    Label10->hide();
    Check2->setValue(0);
    Check3->setValue(0);
    DataGrid3->setEnabled(false);
    DataGrid3->setBackgroundColor(gridWhite);
    Cmd1->setText(insertMode);
    modeToggle->setValue(0);
    LoadDiaryGrid();
}

// The steps before an insert or a modify writes: the field checks, the selected user
// and the operator's yes to the question. The user comes back when the write may go on.
std::optional<qint64> EntryPanel::confirmedEntryOwner(const QString &question)
{
    if (!entryChecksPass())
        return std::nullopt;
    bool validUser = false;
    const qint64 owner = m_chosen.SelectedUserId().toLongLong(&validUser);
    if (!validUser) {
        warnNoUserChosen(window());
        return std::nullopt;
    }
    if (showPrompt(window(), question, QStringLiteral("Tavelo - INSERIMENTO"),
                   PromptButtons::YesNo) != PromptAnswer::Yes)
        return std::nullopt;
    return owner;
}

// The entry as the panel's fields hold it, for this user, stamped with today's date.
DiaryEntry EntryPanel::entryFromFields(qint64 owner) const
{
    DiaryEntry entry;
    entry.data = DataBox1->date();
    if (Check2->value() == 1)
        entry.scadenza = DataBox2->date();
    entry.oggetto = Text2->text();
    entry.ndoc = Text3->text();
    entry.utente = owner;
    entry.agg = QDate::currentDate();
    entry.ripeti = repeatRuleFromFields(entry.scadenza);
    return entry;
}

void EntryPanel::insertEntry()
{
    const std::optional<qint64> owner =
        confirmedEntryOwner(QStringLiteral("Vuoi Inserire questi dati ?"));
    if (!owner)
        return;
    const Result<qint64> written = insertDiaryEntry(entryFromFields(*owner));
    if (!written.ok()) {
        showDatabaseError(window(), written.error);
        return;
    }
    showPrompt(window(), QStringLiteral("L' inserimento è avvenuto con successo !"), QString(),
               PromptButtons::Ok, PromptIcon::Information);
    clearEntryFields();
    Check2->setValue(0);
    LoadDiaryGrid();
}

void EntryPanel::modifyEntry()
{
    const std::optional<qint64> owner =
        confirmedEntryOwner(QStringLiteral("Vuoi Modificare questi dati ?"));
    if (!owner)
        return;
    // No entry picked, or one that is gone: nothing to write, and nothing is said.
    bool validId = false;
    const qint64 entryId = Text1->text().toLongLong(&validId);
    if (!validId || !m_picked || m_picked->id != entryId)
        return;
    DiaryEntry entry = entryFromFields(*owner);
    entry.id = entryId;
    const WriteResult written = updatePickedDiaryEntry(entry, *m_picked);
    if (!written.ok()) {
        showDatabaseError(window(), written.error);
        return;
    }
    if (written.conflict != RowConflict::None) {
        tellWrittenElsewhere(written.conflict, QStringLiteral("nulla è stato salvato"), QString());
        return;
    }
    showPrompt(window(), QStringLiteral("L' Aggiornamento è avvenuto con successo !"), QString(),
               PromptButtons::Ok, PromptIcon::Information);
    returnToInsertMode(Check3);
}

void EntryPanel::deleteEntry()
{
    bool validId = false;
    const qint64 entryId = Text1->text().toLongLong(&validId);
    if (!validId || !m_picked || m_picked->id != entryId) {
        showPrompt(window(),
                   QStringLiteral("Nessuna registrazione scelta: selezionare nella griglia la "
                                  "riga da eliminare."),
                   titleDelete, PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    if (showPrompt(window(), QStringLiteral("Vuoi Eliminare questi dati ?"),
                   QStringLiteral("Tavelo - ELIMINA"), PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    const WriteResult deleted = deletePickedDiaryEntry(*m_picked);
    if (!deleted.ok()) {
        showDatabaseError(window(), deleted.error);
        return;
    }
    if (deleted.conflict == RowConflict::Changed) {
        tellWrittenElsewhere(deleted.conflict, QStringLiteral("non è stato eliminato nulla"),
                             titleDelete);
        return;
    }
    if (deleted.conflict == RowConflict::Deleted) {
        showPrompt(window(),
                   QStringLiteral("La registrazione scelta non esiste più: non è stato eliminato "
                                  "nulla."),
                   titleDelete, PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    showPrompt(window(), QStringLiteral("L' eliminazione è avvenuta con successo !"), titleDelete,
               PromptButtons::Ok, PromptIcon::Information);
    returnToInsertMode(Check4);
}

// Another desk wrote the picked entry first: nothing was written, the fields keep what the
// operator typed, and the grid shows the diary as it is now, to pick the entry again from.
void EntryPanel::tellWrittenElsewhere(RowConflict conflict, const QString &outcome,
                                      const QString &title)
{
    const QString text =
        conflict == RowConflict::Deleted
            ? QStringLiteral("Un'altra postazione ha eliminato questa registrazione dopo che "
                             "l'avete scelta: %1.")
            : QStringLiteral("Un'altra postazione ha modificato questa registrazione dopo che "
                             "l'avete scelta: %1. Riscegliete la riga per vedere i valori "
                             "attuali.");
    showPrompt(window(), text.arg(outcome), title, PromptButtons::Ok, PromptIcon::Critical);
    if (!fillDiaryGrid())
        releaseDiaryGrid();
}

// The note changes (typed or pasted): it stays upper case, the caret where it was.
void EntryPanel::UpperCaseNote()
{
    const QString typed = Text2->text();
    const QString upper = QLocale().toUpper(typed);
    if (upper == typed)
        return;
    const int caret = Text2->cursorPosition();
    Text2->setText(upper);
    Text2->setCursorPosition(caret);
}

// A character typed into the document number: digits and commas only, a full stop
// arrives as a comma, Backspace edits.
void EntryPanel::FilterDocNumberKey(int &keyAscii)
{
    if (keyAscii == keyFullStop)
        keyAscii = keyComma;
    if (keyAscii == keyBackspace)
        return;
    if (!QStringLiteral("0123456789,").contains(QChar(keyAscii)))
        keyAscii = 0;
}

void EntryPanel::LoadDiaryGrid()
{
    if (fillDiaryGrid())
        return;
    releaseDiaryGrid();
    showPrompt(window(), QStringLiteral(" Attenzione non ci sono dati  disponibili  ! "),
               QStringLiteral(" Tavelo - ERRORE "), PromptButtons::Ok, PromptIcon::Information);
}

// Reads the chosen user's diary into the grid; false when there is nothing to show.
bool EntryPanel::fillDiaryGrid()
{
    // A grid that shows the diary already takes the new rows in place: detaching and
    // attaching it again would cost more than reading the rows.
    const bool attached = DataGrid3->model() == m_diaryModel;
    bool validId = false;
    const qint64 userId = m_chosen.SelectedUserId().toLongLong(&validId);
    // A diary that cannot be read shows as an empty one, as it always has.
    if (!validId || m_diaryModel->load(userId).isValid())
        m_diaryModel->clear();
    if (m_diaryModel->rowCount() == 0)
        return false;
    if (!attached)
        DataGrid3->setModel(m_diaryModel);
    const int columns = m_diaryModel->columnCount();
    for (int position = 0; position < int(std::size(diaryGridColumns)); ++position) {
        if (position >= columns)
            break;
        DataGrid3->setColumnShown(position, diaryGridColumns[position].shown);
        if (diaryGridColumns[position].widthTwips > 0)
            DataGrid3->setColumnWidthTwips(position, diaryGridColumns[position].widthTwips);
    }
    // Columns after the known ones are not the operator's business.
    for (int position = int(std::size(diaryGridColumns)); position < columns; ++position)
        DataGrid3->setColumnShown(position, false);
    return true;
}

void EntryPanel::FillEntryFromGridRow()
{
    const QString mode = Cmd1->text();
    if (mode != QLatin1String("Modifica") && mode != QLatin1String("Elimina"))
        return;
    if (!DataGrid3->model() || !DataGrid3->currentIndex().isValid())
        return;
    m_picked = m_diaryModel->entryAt(DataGrid3->currentIndex().row());
    Text1->setText(DataGrid3->currentRowText(0));
    DataBox1->setText(DataGrid3->currentRowText(1));
    const QString dueDate = DataGrid3->currentRowText(2);
    if (!dueDate.isEmpty())
        Check2->setValue(1);
    DataBox2->setText(dueDate);
    Text2->setText(DataGrid3->currentRowText(3));
    Text3->setText(DataGrid3->currentRowText(4));
    showPickedRepeat();
}

void EntryPanel::ShowUserCardReport()
{
    const QString name = m_chosen.SelectedUserName();
    const QString id = m_chosen.SelectedUserId();
    const ReportBuild card = buildWithProgress(window(), [&](const ReportBuildProgress &progress) {
        return buildUserCardReport(id.toLongLong(), name, progress);
    });
    showReportOrProblem(window(), card);
    Check5->setValue(0);
    show();
    m_chosen.setSelectedUserName(name);
    m_chosen.setSelectedUserId(id);
    emit reportClosed();
}

void EntryPanel::modifyEntryWithId(qint64 entryId)
{
    Check3->setValue(1);
    if (!pickDiaryRowWithId(entryId)) {
        // The list is a snapshot: the entry may have been deleted since it was read.
        showPrompt(window(), QStringLiteral("La registrazione scelta non esiste più."), QString(),
                   PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    FillEntryFromGridRow();
    Text2->setFocus();
}

// Makes the grid row of this entry the current one, reading further rows if needed.
bool EntryPanel::pickDiaryRowWithId(qint64 entryId)
{
    QAbstractItemModel *model = DataGrid3->model();
    if (!model)
        return false;
    for (int row = 0;; ++row) {
        if (row >= model->rowCount()) {
            if (!model->canFetchMore({}))
                return false;
            model->fetchMore({});
            if (row >= model->rowCount())
                return false;
        }
        if (model->index(row, 0).data().toLongLong() == entryId) {
            const QModelIndex cell = model->index(row, 3);
            DataGrid3->setCurrentIndex(cell);
            DataGrid3->scrollTo(cell);
            return true;
        }
    }
}

// In the free space right of the document number and of "Ripeti".
void EntryPanel::createDayOffHint()
{
    m_dayOffHint = named(new QLabel(this), "GiornoNonLavorativo");
    // Right of "Ripeti", over the two lines of the labels and the boxes.
    placeTwips(m_dayOffHint, 8940, 600, 2960, 600);
    m_dayOffHint->setWordWrap(true);
    m_dayOffHint->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    QPalette colours = m_dayOffHint->palette();
    colours.setColor(QPalette::WindowText, QColor(160, 0, 0));
    m_dayOffHint->setPalette(colours);
    m_dayOffHint->setAccessibleName(QStringLiteral("Avviso Scadenza"));
    connect(DataBox2, &QLineEdit::textChanged, this, &EntryPanel::ShowDayOffHint);
}

void EntryPanel::ShowDayOffHint()
{
    const QString hint =
        DataBox2->isEnabled() ? m_workingDays.dayOffHint(DataBox2->date()) : QString();
    if (hint == m_dayOffHint->text())
        return;
    m_dayOffHint->setText(hint);
    m_dayOffHint->setAccessibleDescription(hint);
    DataBox2->setAccessibleDescription(hint);
    if (!hint.isEmpty()) {
        QAccessibleEvent told(m_dayOffHint, QAccessible::Alert);
        QAccessible::updateAccessibility(&told);
    }
}
