// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// What holds back a child process before it runs its part of a test. Tests run as
// root in CI, and root ignores file modes, so a test of a file the user cannot write
// runs its steps in a child that is no longer root.
enum class ChildLimit {
    None,
    // Not root: as root, the child becomes the user and group "nobody".
    Unprivileged,
    // Every positioned write to a file fails as on a full disk (ENOSPC).
    DiskFull,
    // Every positioned read of a file fails as on a failing disk (EIO).
    DiskError,
};

struct ChildRun
{
    // False when the limit could not be set up here; output then says why.
    bool limited = false;
    QString output;
};

// Runs work in a forked copy of the test process, held back as asked, and hands back
// the text that work returned. The parent is never limited.
ChildRun runLimited(ChildLimit limit, const std::function<QString()> &work);

// Makes folder and everything under it open to the unprivileged child: folders may be
// entered and listed, files read and written, unless a test takes that away again.
void openToEverybody(const QString &folder);
