// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The author's web page, opened from the main window.
inline constexpr const char *authorWebAddress = "https://quorvalia.example/";
// The name of the desktop launcher placed at every start.
inline QString desktopLinkName()
{
    return QStringLiteral("Quorvalia");
}

// Hands a file path or a web address to the desktop, which opens it with the
// program associated with it. Failures are the desktop's own business.
void OpenWithShell(QWidget *owner, const QString &target);

// Writes (or refreshes) the launcher "<linkName>.desktop" in folder, pointing at
// linkPath. Returns true when the launcher was written; never reports anything.
bool CreateDesktopShortcut(const QString &folder, const QString &linkName, const QString &linkPath);
