// SPDX-License-Identifier: GPL-3.0-or-later
// The action button of the editing panel: insert, modify or delete the subject
// shown in the fields, as the button's caption says.
#include "registry/editing_panel.h"

#include "registry/input_rules.h"

#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/prompt.h"
#include "widgets/toggle_button.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QString missingFieldTitle = QStringLiteral("ERRORE - CAMPO   VUOTO");
const QString insertTitle = QStringLiteral("Brandola - INSERIMENTO");
const QString modifyTitle = QStringLiteral("Brandola - MODIFICA");
const QString deleteTitle = QStringLiteral("Brandola - ELIMINA SOGGETTO");

[[nodiscard]] bool confirmed(QWidget *owner, const QString &question, const QString &title)
{
    return showPrompt(owner, question, title, PromptButtons::YesNo) == PromptAnswer::Yes;
}

void tell(QWidget *owner, const QString &text, const QString &title = {})
{
    showPrompt(owner, text, title, PromptButtons::Ok, PromptIcon::Information);
}

[[nodiscard]] bool refuseEmpty(QWidget *owner, QLineEdit *box, const QString &text)
{
    if (!box->text().trimmed().isEmpty())
        return false;
    tell(owner, text, missingFieldTitle);
    box->setFocus();
    return true;
}

// The subject's ID as the picked grid row left it in Text1; 0 when no row was
// picked.
qint64 pickedId(const QLineEdit *box)
{
    bool valid = false;
    const qint64 id = box->text().trimmed().toLongLong(&valid);
    return valid && id > 0 ? id : 0;
}

} // namespace

// The operator presses the action button.
void EditingPanel::RunSubjectAction()
{
    const QString mode = Cmd2->text();
    if (mode == QLatin1String("Inserisci")) {
        insertSubjectFromFields();
    } else if (mode == QLatin1String("Modifica")) {
        modifySubjectFromFields();
    } else if (mode == QLatin1String("Elimina")) {
        if (DeleteSubject())
            emit subjectDone(false);
    }
}

// The first missing field is named and gets the focus.
bool EditingPanel::checkSubjectFields()
{
    if (refuseEmpty(window(), Text2, QStringLiteral("Inserire il campo Soggetto!")))
        return false;
    if (refuseEmpty(window(), Text7, QStringLiteral("Inserire il campo Codice Fiscale")))
        return false;
    if (Check1->value() == 1 &&
        refuseEmpty(window(), Text13, QStringLiteral("Inserire la Password")))
        return false;
    return true;
}

Subject EditingPanel::subjectFromFields() const
{
    Subject s;
    s.id = pickedId(Text1);
    s.soggetto = Text2->text();
    s.indirizzo = Text3->text();
    s.comune = Text4->text();
    s.pr = Text5->text();
    s.cap = Text6->text();
    s.codice = Text7->text();
    s.partita = Text8->text();
    s.utente = Check1->value() == 1 ? QStringLiteral("S") : QStringLiteral("N");
    s.email = Text9->text();
    s.telefono = Text10->text();
    s.cell = Text11->text();
    s.fax = Text12->text();
    s.pwd = Text13->text();
    s.annotazione = Text14->text();
    return s;
}

// Another subject holds the code: the same refusal as the code check's, and the
// fields stay as typed so that the code can be corrected.
void EditingPanel::refuseDuplicateCode()
{
    showPrompt(window(),
               QStringLiteral("Esiste già un medesimo Soggetto con lo stesso Codice Fiscale"),
               QStringLiteral(" Quendar - ERRORE "), PromptButtons::Ok, PromptIcon::None);
    Text7->setFocus();
}

// Whether an insert or a modify went through. A code held by another subject,
// or a failed write, is told; the fields stay as typed and nothing half-written
// remains.
bool EditingPanel::subjectWritten(const SubjectWriteResult &written)
{
    if (written.duplicateCode) {
        refuseDuplicateCode();
        return false;
    }
    if (!written.ok()) {
        showDatabaseError(window(), written.error);
        return false;
    }
    return true;
}

void EditingPanel::insertSubjectFromFields()
{
    if (!checkSubjectFields())
        return;
    if (!confirmed(window(), QStringLiteral("Vuoi Inserire questi dati ?"), insertTitle))
        return;
    if (!subjectWritten(insertSubjectWithFreeCode(subjectFromFields())))
        return;
    tell(window(), QStringLiteral("L' inserimento è avvenuto con successo !"), insertTitle);
    emit subjectDone(true);
}

void EditingPanel::modifySubjectFromFields()
{
    if (!checkSubjectFields())
        return;
    if (Check1->value() == 0 && !Text13->text().trimmed().isEmpty()) {
        tell(window(),
             QStringLiteral("Attenzione, è presente una password ma non è stata selezionata la "
                            "voce UTENTE "),
             missingFieldTitle);
        Text13->setFocus();
        return;
    }
    if (!confirmed(window(), QStringLiteral("Vuoi Modificare questi dati ?"), modifyTitle))
        return;
    const Subject subject = subjectFromFields();
    if (subject.id == 0 || !m_picked || m_picked->id != subject.id) {
        tell(window(),
             QStringLiteral("Nessun Soggetto è stato scelto nell'elenco: non è stato "
                            "modificato nulla."),
             modifyTitle);
        return;
    }
    const SubjectWriteResult written = updatePickedSubjectWithFreeCode(subject, *m_picked);
    if (!subjectWritten(written))
        return;
    if (written.conflict != RowConflict::None) {
        tellWrittenElsewhere(written.conflict, false);
        return;
    }
    tell(window(), QStringLiteral("L' Aggiornamento è avvenuto con successo !"));
    emit subjectDone(false);
}

// Deletes the picked subject after the operator confirms. The diary entries of
// a deleted user stay in the file.
bool EditingPanel::DeleteSubject()
{
    if (!confirmed(window(),
                   QStringLiteral("Sei sicuro di voler eliminare il Soggetto selezionato"),
                   deleteTitle))
        return true;
    const qint64 id = pickedId(Text1);
    if (id == 0 || !m_picked || m_picked->id != id) {
        tell(window(),
             QStringLiteral("Nessun Soggetto è stato scelto nell'elenco: non è stato eliminato "
                            "nulla."),
             deleteTitle);
        return true;
    }
    const WriteResult deleted = deletePickedSubject(*m_picked);
    if (!deleted.ok()) {
        showDatabaseError(window(), deleted.error);
        return true;
    }
    if (deleted.conflict == RowConflict::Changed) {
        tellWrittenElsewhere(deleted.conflict, true);
        return false;
    }
    if (deleted.conflict == RowConflict::Deleted) {
        tell(window(),
             QStringLiteral("Il Soggetto non è più in archivio: non è stato eliminato nulla."),
             deleteTitle);
        return true;
    }
    tell(window(),
         QStringLiteral("Eliminazione  di       ") + Text2->text() +
             QStringLiteral("   effettuata con successo ! "),
         QStringLiteral("Brandola- ELIMINA SOGGETTO"));
    clearFields();
    Check3->setValue(0);
    return true;
}

// Another desk wrote the subject after the operator picked it: nothing was written, and the
// fields keep what the operator typed until the subject is picked again.
void EditingPanel::tellWrittenElsewhere(RowConflict conflict, bool deleting)
{
    const QString outcome = deleting ? QStringLiteral("non è stato eliminato nulla")
                                     : QStringLiteral("nulla è stato salvato");
    const QString text =
        conflict == RowConflict::Deleted
            ? QStringLiteral("Un'altra postazione ha eliminato questo Soggetto dopo che l'avete "
                             "scelto: %1.")
                  .arg(outcome)
            : QStringLiteral("Un'altra postazione ha modificato questo Soggetto dopo che "
                             "l'avete scelto: %1. Per vedere i valori attuali riscegliete il "
                             "Soggetto con «%2».")
                  .arg(outcome, deleting ? QStringLiteral("Elimina") : QStringLiteral("Modifica"));
    showPrompt(window(), text, deleting ? deleteTitle : modifyTitle, PromptButtons::Ok,
               PromptIcon::Critical);
}
