// SPDX-License-Identifier: GPL-3.0-or-later
// The registry window's panels: activation, toolbar, the way into and out of the
// editing panel, the modes that show the grid, the user flag and the field reset.
#include "registry/frm_anagrafe.h"

#include "widgets/data_grid.h"
#include "widgets/toggle_button.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// Runs each time the window becomes the program's active window: back to the start
// panel with every field empty and no mode.
void frmAnagrafe::RegistryWindowActivate()
{
    const ChosenUserLabels chosen = m_chosenUserSource ? m_chosenUserSource() : ChosenUserLabels{};
    Label4->setText(chosen.label4);
    Label1->setText(chosen.label1);
    Label5->setText(chosen.label5);
    Frame3->show();
    Check7->setValue(0);
    Frame1->hide();
    Frame1->setEnabled(true);
    Frame4->hide();
    Frame2->hide();
    Cmd2->setText(QString());
    Text13->setEnabled(false);
    ClearRegistryFields();
    Check7->setFocus();
}

// The operator clicks a toolbar button of the registry window.
void frmAnagrafe::RegistryToolbarClick(QAction *button)
{
    const QString key = button->data().toString();
    if (key == QLatin1String("Chiudi")) {
        emit closedWithChosenUser({Label1->text(), Label4->text(), Label5->text()});
        hide();
    } else if (key == QLatin1String("Riduci")) {
        showMinimized();
    }
}

void frmAnagrafe::setChosenUserSource(std::function<ChosenUserLabels()> source)
{
    m_chosenUserSource = std::move(source);
}

// Empties every box and releases the toggles of the fields and of the modes; the
// grid's data are left as they are.
void frmAnagrafe::ClearRegistryFields()
{
    for (QLineEdit *box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
                           Text11, Text12, Text13, Text14, Text55})
        setStoredText(box, QString());
    Check1->setValue(0);
    Check2->setValue(0);
    Check3->setValue(0);
    Check4->setValue(0);
}

// The operator switches "Gestione" on: the editing panel, with its fields covered.
void frmAnagrafe::EnterManagePanel()
{
    if (Check7->value() != 1)
        return;
    Frame6->show();
    Frame1->show();
    Frame3->hide();
    Check8->setValue(0);
    Check4->setValue(0);
    Check6->setFocus();
}

// The operator presses "Esci" on the editing panel. The mode is kept.
void frmAnagrafe::LeaveManagePanel()
{
    if (Check8->value() != 1)
        return;
    ClearRegistryFields();
    Frame3->show();
    Frame1->hide();
    Check7->setValue(0);
    Check7->setFocus();
}

// The operator presses "Modifica": the grid, to pick the subject to modify.
void frmAnagrafe::EnterModifyMode()
{
    if (Check2->value() != 1)
        return;
    enterPickMode(Check3, QStringLiteral("Modifica"));
}

// The operator presses "Elimina": the grid, to pick the subject to delete.
void frmAnagrafe::EnterDeleteMode()
{
    if (Check3->value() != 1)
        return;
    enterPickMode(Check2, QStringLiteral("Elimina"));
}

void frmAnagrafe::enterPickMode(ToggleButton *otherMode, const QString &mode)
{
    // The reset also releases the toggle just pressed.
    ClearRegistryFields();
    Frame6->hide();
    otherMode->setValue(0);
    Check4->setValue(0);
    Check5->setValue(0);
    Check6->setValue(0);
    Check7->setValue(0);
    Text13->setEnabled(false);
    Cmd2->setText(mode);
    Frame2->show();
    Frame3->hide();
    LoadSubjectGrid();
    Datagrid1->setFocus();
}

// The operator presses "Esci" on the grid panel. The toggle stays on, out of sight,
// until a mode is entered again.
void frmAnagrafe::LeaveGridPanel()
{
    if (Check5->value() != 1)
        return;
    Frame2->hide();
    Frame3->show();
    ClearRegistryFields();
    Check7->setFocus();
}

// A password belongs to users only: unmarking the subject drops the one typed so far.
void frmAnagrafe::ToggleUserFlag()
{
    if (Check1->value() == 1) {
        Text13->setEnabled(true);
    } else {
        Text13->clear();
        Text13->setEnabled(false);
    }
}
