// SPDX-License-Identifier: GPL-3.0-or-later
// The entry panel's repeating deadlines ("Ripeti") and their closing ("Fatta").
#include "calendar/repeat_rule.h"
#include "core/dates.h"
#include "main_window/entry_panel.h"
#include "storage/db_connection.h"
#include "widgets/date_box.h"
#include "widgets/labels.h"
#include "widgets/note_box.h"
#include "widgets/panel_placement.h"
#include "widgets/prompt.h"
#include "widgets/toggle_button.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString titleDone = QStringLiteral("Tavelo - FATTA");

} // namespace

// "Ripeti" in the free space right of the document number; "Fatta" under "Stampa".
void EntryPanel::createRepeatAndDone()
{
    m_repeatLabel = makeLabel(this, "LabelRipeti", QStringLiteral("Ripeti"), 6720, 600, 1500, 240);
    m_repeat = named(new QComboBox(this), "Ripeti");
    placeTwips(m_repeat, 6720, 840, 2100, 330);
    m_repeat->addItems(repeatCaptions());
    m_repeat->setAccessibleName(QStringLiteral("Ripeti"));
    m_repeat->setEnabled(false);
    m_repeatLabel->setBuddy(m_repeat);

    m_done = named(new QPushButton(QStringLiteral("Fatta"), this), "Fatta");
    placeTwips(m_done, 10080, 3480, 1335, 330);
    m_done->setAccessibleName(QStringLiteral("Fatta"));
    m_done->setToolTip(QStringLiteral("Chiude la scadenza scelta senza eliminarla"));
    m_done->setEnabled(false);
    connect(m_done, &QPushButton::clicked, this, &EntryPanel::CloseEntry);
}

QString EntryPanel::repeatRuleFromFields(const QDate &due) const
{
    const auto choice = Repeat(m_repeat->currentIndex());
    if (m_picked && m_picked->scadenza == due && repeatChoice(m_picked->ripeti) == choice)
        return m_picked->ripeti;
    return repeatRule(choice, due);
}

void EntryPanel::showPickedRepeat()
{
    m_repeat->setCurrentIndex(int(m_picked ? repeatChoice(m_picked->ripeti) : Repeat::Never));
    m_repeat->setEnabled(Check2->value() == 1);
    updateDoneButton();
}

void EntryPanel::updateDoneButton()
{
    m_done->setEnabled(m_picked.has_value() && Check3->value() == 1);
}

// Whether the fields still show the picked entry: closing writes the entry as it was
// picked, and must not drop what the operator typed since.
bool EntryPanel::fieldsHoldPicked() const
{
    const DiaryEntry shown = entryFromFields(m_picked->utente);
    return shown.data == m_picked->data && shown.scadenza == m_picked->scadenza &&
           // The note box shows every note in capitals.
           shown.oggetto.compare(m_picked->oggetto, Qt::CaseInsensitive) == 0 &&
           shown.ndoc == m_picked->ndoc && shown.ripeti == m_picked->ripeti;
}

// The entry that follows a repeating deadline: the same note, document number and rule,
// written today, due on the rule's next day moved to a working day.
std::optional<DiaryEntry> EntryPanel::followingEntry(const DiaryEntry &closed) const
{
    const QDate due = nextDueDate(closed.ripeti, closed.scadenza, m_workingDays);
    if (!due.isValid())
        return std::nullopt;
    DiaryEntry next = closed;
    next.id = 0;
    next.data = QDate::currentDate();
    next.scadenza = due;
    next.agg = QDate::currentDate();
    next.chiusa = QDate();
    return next;
}

void EntryPanel::CloseEntry()
{
    if (!m_picked)
        return;
    if (m_picked->chiusa.isValid()) {
        showPrompt(window(),
                   QStringLiteral("Questa scadenza è già stata chiusa il %1.")
                       .arg(toScreenDate(m_picked->chiusa)),
                   titleDone, PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    if (!fieldsHoldPicked()) {
        showPrompt(window(),
                   QStringLiteral("I campi non corrispondono più alla registrazione scelta: "
                                  "salvare prima le modifiche con «Modifica», oppure "
                                  "riscegliere la riga."),
                   titleDone, PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    const std::optional<DiaryEntry> next = followingEntry(*m_picked);
    QString question = QStringLiteral("Vuoi segnare come fatta questa scadenza ?");
    if (next)
        question += QStringLiteral("\nLa prossima, con scadenza il %1, sarà registrata.")
                        .arg(toScreenDate(next->scadenza));
    if (showPrompt(window(), question, titleDone, PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    const ClosingResult closing = closePickedDiaryEntry(*m_picked, QDate::currentDate(), next);
    if (!closing.ok()) {
        showDatabaseError(window(), closing.error);
        return;
    }
    if (closing.conflict != RowConflict::None) {
        tellClosingConflict(closing);
        return;
    }
    tellClosed(next.value_or(DiaryEntry()), closing.nextId);
    returnToInsertMode(Check3);
}

void EntryPanel::tellClosed(const DiaryEntry &next, qint64 nextId)
{
    const QString text =
        nextId != 0 ? QStringLiteral("La scadenza è stata chiusa. La prossima, con scadenza il "
                                     "%1, è stata registrata.")
                          .arg(toScreenDate(next.scadenza))
                    : QStringLiteral("La scadenza è stata chiusa.");
    showPrompt(window(), text, titleDone, PromptButtons::Ok, PromptIcon::Information);
}

void EntryPanel::tellClosingConflict(const ClosingResult &closing)
{
    if (closing.conflict != RowConflict::Closed) {
        tellWrittenElsewhere(closing.conflict, QStringLiteral("nulla è stato chiuso"), titleDone);
        return;
    }
    showPrompt(window(),
               QStringLiteral("Un'altra postazione ha già chiuso questa scadenza il %1: non è "
                              "stato fatto nulla.")
                   .arg(toScreenDate(closing.closedBefore)),
               titleDone, PromptButtons::Ok, PromptIcon::Information);
    if (!fillDiaryGrid())
        releaseDiaryGrid();
}
