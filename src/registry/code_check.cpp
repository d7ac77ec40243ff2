// SPDX-License-Identifier: GPL-3.0-or-later
// The fiscal-code check that comes before the fields of a new subject: a code
// that a subject already holds is refused, a free code opens the fields with
// it.
#include "registry/frm_anagrafe.h"

#include "registry/code_check_panel.h"
#include "registry/editing_panel.h"
#include "registry/start_panel.h"
#include "registry/subject_grid_panel.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/prompt.h"

// The operator presses "Inserisci" on the editing panel: the check panel, over
// the editing panel, which takes no input meanwhile. Releasing it leaves no
// mode.
void frmAnagrafe::EnterInsertMode(bool on)
{
    if (!on) {
        Frame1->setMode(QString());
        return;
    }
    ClearRegistryFields();
    Frame1->setFieldsCovered(false);
    Frame4->show();
    Frame3->hide();
    Frame1->lockPassword();
    Frame1->setMode(QStringLiteral("Inserisci"));
    Frame1->setEnabled(false);
    Frame1->releasePickModes();
    Frame2->releaseLeave();
    Frame4->focusCode();
}

// The operator presses "Controlla".
void frmAnagrafe::RunCodeCheck()
{
    CheckFiscalCode();
}

// The code is compared with every stored code, case aside and character by
// character: a quote, "%" or "_" is just a character.
void frmAnagrafe::CheckFiscalCode()
{
    const QString code = Frame4->code();
    const Result<QVector<Subject>> holders = findSubjectsByFiscalCode(code);
    if (!holders.ok()) {
        showDatabaseError(this, holders.error);
        Frame4->focusCode();
        return;
    }
    if (!holders.value.isEmpty()) {
        showPrompt(this,
                   QStringLiteral("Esiste già un medesimo Soggetto con lo stesso Codice Fiscale"),
                   QStringLiteral(" Quendar - ERRORE "), PromptButtons::Ok, PromptIcon::None);
        Frame4->clearCode();
        Frame4->focusCode();
        return;
    }
    Frame4->hide();
    Frame1->setEnabled(true);
    // Releasing "Inserisci" clears the mode: it is set again below.
    Frame1->releaseInsert();
    Frame1->takeCheckedCode(code);
    Frame1->setMode(QStringLiteral("Inserisci"));
    Frame1->focusName();
}

// The operator clicks the panel's "X" (or presses Alt+X): back to the start
// panel, with no mode.
void frmAnagrafe::CloseCodeCheckPanel()
{
    Frame1->setEnabled(true);
    Frame3->show();
    Frame3->releaseManage();
    Frame4->hide();
    Frame4->clearCode();
    Frame1->releaseInsert();
    Frame1->setMode(QString());
    Frame3->focusManage();
}
