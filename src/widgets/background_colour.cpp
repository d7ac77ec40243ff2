// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/background_colour.h"

#include <QPalette>
#include <QWidget>

QColor backgroundColour(const QWidget *control)
{
    return control->palette().color(QPalette::Active, QPalette::Base);
}

void setBackgroundColour(QWidget *control, const QColor &colour)
{
    QPalette colours = control->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, colour);
        colours.setColor(group, QPalette::AlternateBase, colour.darker(104));
    }
    control->setPalette(colours);
}
