// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/version.h"

QString versionNumber()
{
    return QStringLiteral("%1.%2.%3")
        .arg(TAVELO_VERSION_MAJOR)
        .arg(TAVELO_VERSION_MINOR)
        .arg(TAVELO_VERSION_PATCH);
}

QString versionCaption()
{
    return QStringLiteral("%1 v%2").arg(applicationTitle(), versionNumber());
}
