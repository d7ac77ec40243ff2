// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/diary_menu_panel.h"

#include "widgets/panel_placement.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"

DiaryMenuPanel::DiaryMenuPanel(QWidget *parent)
    : QGroupBox(QStringLiteral("Tavelo Lumbretto"), parent)
{
    placePanel(this, "Frame1", 480, 960, 6615, 2895);
    Check1 = named(new ToggleButton(QStringLiteral("Gestione"), this), "Check1");
    placeTwips(Check1, 480, 600, 1815, 450);
    Image4 = named(new PictureButton(QStringLiteral(":/pictures/indietro.svg"), this), "Image4");
    placeTwips(Image4, 5400, 1800, 720, 720);
    Image4->setAccessibleName(QStringLiteral("Indietro"));
    Image4->setToolTip(QStringLiteral("Indietro"));

    connect(Check1, &ToggleButton::toggled, this, [this] {
        if (Check1->value() == 1)
            emit entryPanelRequested();
    });
    connect(Image4, &PictureButton::clicked, this, &DiaryMenuPanel::backRequested);
}

QList<QWidget *> DiaryMenuPanel::keyboardOrder() const
{
    return {Check1, Image4};
}

void DiaryMenuPanel::setGestione(int value)
{
    Check1->setValue(value);
}

void DiaryMenuPanel::focusGestione()
{
    Check1->setFocus();
}
