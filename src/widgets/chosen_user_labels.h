// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts of the labels named Label1, Label4 and Label5, which the main window and the
// registry hand to each other as one opens the other.
struct ChosenUserLabels
{
    QString label1;
    QString label4;
    QString label5;
};
