// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/start_panel.h"

#include "registry/registry_controls.h"
#include "widgets/toggle_button.h"

StartPanel::StartPanel(QWidget *window) : QGroupBox(window)
{
    setUpPanel(this, "Frame3", QStringLiteral("Seleziona"), windowFont(8.25, true), 120, 840, 11895,
               5775);
    Check7 = makeToggle(this, "Check7", QStringLiteral("Gestione"), 840, 840, 1215, 255);
    Check4 = makeToggle(this, "Check4", QStringLiteral("Stampa"), 840, 1320, 1215, 255);
    connect(Check7, &ToggleButton::toggled, this, [this](bool on) {
        if (on)
            emit manageChosen();
    });
    connect(Check4, &ToggleButton::toggled, this, [this](bool on) {
        if (on)
            emit printChosen();
    });
}

void StartPanel::releaseManage()
{
    Check7->setValue(0);
}

void StartPanel::releasePrint()
{
    Check4->setValue(0);
}

void StartPanel::focusManage()
{
    Check7->setFocus();
}
