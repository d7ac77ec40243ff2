// SPDX-License-Identifier: GPL-3.0-or-later
// The fiscal-code check that comes before the fields of a new subject: a code that a
// subject already holds is refused, a free code opens the fields with it.
#include "registry/frm_anagrafe.h"

#include "widgets/prompt.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/toggle_button.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

// The operator presses "Inserisci" on the editing panel: the check panel, over the
// editing panel, which takes no input meanwhile.
void frmAnagrafe::EnterInsertMode()
{
    if (Check6->value() != 1) {
        Cmd2->setText(QString());
        return;
    }
    ClearRegistryFields();
    Frame6->hide();
    Frame4->show();
    Frame3->hide();
    Text13->setEnabled(false);
    Cmd2->setText(QStringLiteral("Inserisci"));
    Frame1->setEnabled(false);
    Check2->setValue(0);
    Check3->setValue(0);
    Check4->setValue(0);
    Check5->setValue(0);
    Text55->setFocus();
}

// The operator presses "Controlla".
void frmAnagrafe::RunCodeCheck()
{
    CheckFiscalCode();
}

// The code is compared with every stored code, case aside and character by character:
// a quote, "%" or "_" is just a character.
void frmAnagrafe::CheckFiscalCode()
{
    const Result<QVector<Subject>> holders = findSubjectsByFiscalCode(Text55->text());
    if (!holders.ok()) {
        showDatabaseError(this, holders.error);
        Text55->setFocus();
        return;
    }
    if (!holders.value.isEmpty()) {
        showPrompt(this,
                   QStringLiteral("Esiste già un medesimo Soggetto con lo stesso Codice Fiscale"),
                   QStringLiteral(" Quendar - ERRORE "), PromptButtons::Ok, PromptIcon::None);
        Text55->clear();
        Text55->setFocus();
        return;
    }
    Frame4->hide();
    Frame1->setEnabled(true);
    Check6->setValue(0);
    setStoredText(Text7, Text55->text());
    Cmd2->setText(QStringLiteral("Inserisci"));
    Text2->setFocus();
}

// The operator clicks the panel's "X" (or presses Alt+X): back to the start panel,
// with no mode.
void frmAnagrafe::CloseCodeCheckPanel()
{
    Frame1->setEnabled(true);
    Frame3->show();
    Check7->setValue(0);
    Frame4->hide();
    Text55->clear();
    Check6->setValue(0);
    Cmd2->setText(QString());
    Check7->setFocus();
}
