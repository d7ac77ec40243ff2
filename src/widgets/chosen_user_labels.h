// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The user chosen on the main window, as its header labels of these names show
// it: the registry window shows the same header and hands it back when it
// closes.
struct ChosenUserLabels
{
    QString label1;
    QString label4;
    QString label5;
};
