// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program's name, the default title of its message boxes.
inline QString applicationTitle()
{
    return QStringLiteral("Tavelo");
}

// The program's version, "1.0.14", as the build gives it.
QString versionNumber();

// The version as printed under a list: "Tavelo v1.0.14".
QString versionCaption();
