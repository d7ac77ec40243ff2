// SPDX-License-Identifier: GPL-3.0-or-later
// The registry window's moves between its panels: into and out of the editing
// panel, the modes that show the grid, a picked row and the field reset.
#include "registry/frm_anagrafe.h"

#include "registry/code_check_panel.h"
#include "registry/editing_panel.h"
#include "registry/start_panel.h"
#include "registry/subject_grid_panel.h"

// Empties every box and releases the toggles of the fields and of the modes;
// the grid's data are left as they are.
void frmAnagrafe::ClearRegistryFields()
{
    Frame1->clearFields();
    Frame4->clearCode();
    Frame3->releasePrint();
}

// The operator switches "Gestione" on: the editing panel, with its fields
// covered.
void frmAnagrafe::EnterManagePanel()
{
    Frame1->setFieldsCovered(true);
    Frame1->show();
    Frame3->hide();
    Frame1->releaseLeave();
    Frame3->releasePrint();
    Frame1->focusInsert();
}

// The operator presses "Esci" on the editing panel. The mode is kept.
void frmAnagrafe::LeaveManagePanel()
{
    ClearRegistryFields();
    Frame3->show();
    Frame1->hide();
    Frame3->releaseManage();
    Frame3->focusManage();
}

// The operator presses "Modifica": the grid, to pick the subject to modify.
void frmAnagrafe::EnterModifyMode()
{
    enterPickMode(QStringLiteral("Modifica"));
}

// The operator presses "Elimina": the grid, to pick the subject to delete.
void frmAnagrafe::EnterDeleteMode()
{
    enterPickMode(QStringLiteral("Elimina"));
}

void frmAnagrafe::enterPickMode(const QString &mode)
{
    // The reset also releases the toggle just pressed, and the other mode's.
    ClearRegistryFields();
    Frame1->setFieldsCovered(false);
    Frame2->releaseLeave();
    Frame1->releaseInsert();
    Frame3->releaseManage();
    Frame1->lockPassword();
    Frame1->setMode(mode);
    Frame2->show();
    Frame3->hide();
    // A grid that cannot be read has been told; the panel stays, empty.
    Frame2->LoadSubjectGrid();
    Frame2->focusGrid();
}

// The operator presses "Esci" on the grid panel. The toggle stays on, out of
// sight, until a mode is entered again.
void frmAnagrafe::LeaveGridPanel()
{
    Frame2->hide();
    Frame3->show();
    ClearRegistryFields();
    Frame3->focusManage();
}

// The operator clicks a row of the grid (or presses Enter on it): the subject
// comes into the fields of the editing panel, in the current mode.
void frmAnagrafe::FillSubjectFromGridRow()
{
    Frame1->showSubject(Frame2->pickedRow());
    Frame1->keepPickedSubject(Frame2->pickedSubject());
    Frame2->hide();
    Frame1->releasePickModes();
    Frame1->focusName();
}

// After a write, or one given up: the start panel, with no mode.
void frmAnagrafe::backToStartPanel(bool releaseManage)
{
    ClearRegistryFields();
    Frame3->show();
    Frame1->setMode(QString());
    Frame3->focusManage();
    if (releaseManage)
        Frame3->releaseManage();
}
