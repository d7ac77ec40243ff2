// SPDX-License-Identifier: GPL-3.0-or-later
// The entry panel: opening it, its modes, its actions and the rules of its fields.
#include "main_window/frm_registra.h"

#include "core/dates.h"
#include "widgets/prompt.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/note_box.h"
#include "widgets/toggle_button.h"

#include <QEvent>
#include <QGroupBox>
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

} // namespace

void frmRegistra::connectEntryPanel()
{
    connect(Check2, &ToggleButton::toggled, this, &frmRegistra::ToggleDueDate);
    connect(Check3, &ToggleButton::toggled, this, &frmRegistra::ToggleModifyMode);
    connect(Check4, &ToggleButton::toggled, this, &frmRegistra::ToggleDeleteMode);
    connect(Check5, &ToggleButton::toggled, this, &frmRegistra::PrintUserCard);
    connect(Cmd1, &QPushButton::clicked, this, &frmRegistra::RunEntryAction);
    connect(Text2, &NoteBox::textChanged, this, &frmRegistra::UpperCaseNote);
    Text3->installEventFilter(this);
}

// Every character typed into the document number passes FilterDocNumberKey.
bool frmRegistra::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Text3 || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
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

// The operator switches "Gestione" on: the entry panel opens in Insert mode.
void frmRegistra::OpenEntryPanel()
{
    if (Check1->value() != 1)
        return;
    Frame2->show();
    Frame1->hide();
    Label10->hide();
    DataBox2->setEnabled(false);
    DataBox2->setText(QString());
    DataBox2->setBackgroundColor(palette().color(QPalette::Window));
    DataBox1->setFocus();
    DataBox1->setText(todayScreenDate());
    DataGrid3->setBackgroundColor(gridWhite);
    LoadDiaryGrid();
    DataGrid3->setEnabled(false);
    Cmd1->setText(insertMode);
}

// The operator ticks or unticks the due date.
void frmRegistra::ToggleDueDate()
{
    if (Check2->value() == 0) {
        DataGrid3->setBackgroundColor(gridWhite);
        DataBox2->setBackgroundColor(palette().color(QPalette::Window));
        DataBox2->setEnabled(false);
        DataBox2->setText(QString());
    } else {
        DataBox2->setEnabled(true);
        DataBox2->setBackgroundColor(dueDateOn);
        DataBox2->setFocus();
    }
}

// The operator switches "Modifica".
void frmRegistra::ToggleModifyMode()
{
    if (Check3->value() == 0)
        leaveEntryMode();
    else
        enterEntryMode(Check4, modifyMode);
}

// The operator switches "Elimina".
void frmRegistra::ToggleDeleteMode()
{
    if (Check4->value() == 0)
        leaveEntryMode();
    else
        enterEntryMode(Check3, deleteMode);
}

// A mode toggle switched off: back to Insert mode with empty fields.
void frmRegistra::leaveEntryMode()
{
    Label10->hide();
    clearEntryFields();
    Check2->setValue(0);
    DataGrid3->setBackgroundColor(gridWhite);
    DataGrid3->setEnabled(false);
    Cmd1->setText(insertMode);
}

// A mode toggle switched on: the other one goes off first (its off-branch empties the
// fields), then the grid can be picked from.
void frmRegistra::enterEntryMode(ToggleButton *otherMode, const QString &caption)
{
    Label10->show();
    otherMode->setValue(0);
    Check5->setValue(0);
    DataGrid3->setEnabled(true);
    DataGrid3->setBackgroundColor(gridPickable);
    Cmd1->setText(caption);
    Label10->show();
}

// The operator switches the entry panel's "Stampa" on: the selected user's card.
void frmRegistra::PrintUserCard()
{
    if (Check5->value() != 1)
        return;
    Check3->setValue(0);
    Check4->setValue(0);
    ShowUserCardReport();
}

// The operator clicks the action button (or presses Enter or Space on it).
void frmRegistra::RunEntryAction()
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
bool frmRegistra::entryChecksPass()
{
    if (DataBox1->text().trimmed().isEmpty()) {
        refuse(this, DataBox1, QStringLiteral("Inserire LA DATA"), titleData);
        return false;
    }
    const QDate entryDate = DataBox1->date();
    if (!entryDate.isValid()) {
        refuse(this, DataBox1, notADateMessage(QStringLiteral("Data"), DataBox1), titleData);
        return false;
    }
    const bool hasDueDate = Check2->value() == 1;
    if (hasDueDate && DataBox2->text().isEmpty()) {
        refuse(this, DataBox2, QStringLiteral("Inserire la SCADENZA"), titleScadenza);
        return false;
    }
    const QDate dueDate = DataBox2->date();
    if (hasDueDate && !dueDate.isValid()) {
        refuse(this, DataBox2, notADateMessage(QStringLiteral("Avviso/ Scadenza"), DataBox2),
               titleScadenza);
        return false;
    }
    if (hasDueDate && dueDate < entryDate)
        refuse(
            this, DataBox2,
            QStringLiteral("Attenzione la  data di scadenza è inferiore alla data di inserimento "),
            titleScadenza);
    if (Text2->text().isEmpty()) {
        refuse(this, Text2, QStringLiteral("Inserire la NOTA"), titleNota);
        return false;
    }
    return true;
}

void frmRegistra::clearEntryFields()
{
    DataBox1->setText(todayScreenDate());
    DataBox2->setText(QString());
    DataBox2->setEnabled(false);
    Text1->clear();
    Text3->clear();
    Text2->clear();
}

// After a modify or a delete: the fields emptied and the panel back in Insert mode.
void frmRegistra::returnToInsertMode(ToggleButton *modeToggle)
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
std::optional<qint64> frmRegistra::confirmedEntryOwner(const QString &question)
{
    if (!entryChecksPass())
        return std::nullopt;
    bool validUser = false;
    const qint64 owner = SelectedUserId().toLongLong(&validUser);
    if (!validUser) {
        warnNoUserChosen();
        return std::nullopt;
    }
    if (showPrompt(this, question, QStringLiteral("Tavelo - INSERIMENTO"), PromptButtons::YesNo) !=
        PromptAnswer::Yes)
        return std::nullopt;
    return owner;
}

// The entry as the panel's fields hold it, for this user, stamped with today's date.
DiaryEntry frmRegistra::entryFromFields(qint64 owner) const
{
    DiaryEntry entry;
    entry.data = DataBox1->date();
    if (Check2->value() == 1)
        entry.scadenza = DataBox2->date();
    entry.oggetto = Text2->text();
    entry.ndoc = Text3->text();
    entry.utente = owner;
    entry.agg = QDate::currentDate();
    return entry;
}

void frmRegistra::insertEntry()
{
    const std::optional<qint64> owner =
        confirmedEntryOwner(QStringLiteral("Vuoi Inserire questi dati ?"));
    if (!owner)
        return;
    const Result<qint64> written = insertDiaryEntry(entryFromFields(*owner));
    if (!written.ok()) {
        showDatabaseError(this, written.error);
        return;
    }
    showPrompt(this, QStringLiteral("L' inserimento è avvenuto con successo !"), QString(),
               PromptButtons::Ok, PromptIcon::Information);
    clearEntryFields();
    Check2->setValue(0);
    LoadDiaryGrid();
}

void frmRegistra::modifyEntry()
{
    const std::optional<qint64> owner =
        confirmedEntryOwner(QStringLiteral("Vuoi Modificare questi dati ?"));
    if (!owner)
        return;
    // No entry picked, or one that is gone: nothing to write, and nothing is said.
    bool validId = false;
    const qint64 entryId = Text1->text().toLongLong(&validId);
    if (!validId)
        return;
    DiaryEntry entry = entryFromFields(*owner);
    entry.id = entryId;
    const WriteResult written = updateDiaryEntry(entry);
    if (!written.ok()) {
        showDatabaseError(this, written.error);
        return;
    }
    if (written.rowsAffected == 0)
        return;
    showPrompt(this, QStringLiteral("L' Aggiornamento è avvenuto con successo !"), QString(),
               PromptButtons::Ok, PromptIcon::Information);
    returnToInsertMode(Check3);
}

void frmRegistra::deleteEntry()
{
    bool validId = false;
    const qint64 entryId = Text1->text().toLongLong(&validId);
    if (!validId) {
        showPrompt(this,
                   QStringLiteral("Nessuna registrazione scelta: selezionare nella griglia la "
                                  "riga da eliminare."),
                   titleDelete, PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    if (showPrompt(this, QStringLiteral("Vuoi Eliminare questi dati ?"),
                   QStringLiteral("Tavelo - ELIMINA"), PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    const WriteResult deleted = deleteDiaryEntry(entryId);
    if (!deleted.ok()) {
        showDatabaseError(this, deleted.error);
        return;
    }
    if (deleted.rowsAffected == 0) {
        showPrompt(this,
                   QStringLiteral("La registrazione scelta non esiste più: non è stato eliminato "
                                  "nulla."),
                   titleDelete, PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    showPrompt(this, QStringLiteral("L' eliminazione è avvenuta con successo !"), titleDelete,
               PromptButtons::Ok, PromptIcon::Information);
    returnToInsertMode(Check4);
}

// The note changes (typed or pasted): it stays upper case, the caret where it was.
void frmRegistra::UpperCaseNote()
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
void frmRegistra::FilterDocNumberKey(int &keyAscii)
{
    if (keyAscii == keyFullStop)
        keyAscii = keyComma;
    if (keyAscii == keyBackspace)
        return;
    if (!QStringLiteral("0123456789,").contains(QChar(keyAscii)))
        keyAscii = 0;
}
