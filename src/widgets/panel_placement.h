// SPDX-License-Identifier: GPL-3.0-or-later
// Naming and placing the controls and panels of both windows.
#pragma once

#include "widgets/twips.h"

#include <QGroupBox>
#include <QLatin1String>

class QWidget;

template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// Names and places a panel; a panel covers whatever lies beneath it.
inline void placePanel(QGroupBox *panel, const char *name, int left, int top, int width, int height)
{
    panel->setObjectName(QLatin1String(name));
    placeTwips(panel, left, top, width, height);
    panel->setAutoFillBackground(true);
}
