// SPDX-License-Identifier: GPL-3.0-or-later
// The entry panel: opening it, its modes and its actions.
#include "main_window/frm_registra.h"

#include "core/dates.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/toggle_button.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QColor gridWhite(255, 255, 255);

} // namespace

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
    Cmd1->setText(QStringLiteral("Inserisci"));
}
