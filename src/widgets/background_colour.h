// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

class QWidget;

// The colour behind a control's text or cells, the same whether the control is
// active, inactive or disabled; alternate rows a shade darker.
QColor backgroundColour(const QWidget *control);
void setBackgroundColour(QWidget *control, const QColor &colour);
