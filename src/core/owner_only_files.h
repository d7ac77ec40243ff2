// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The archive, its backups and the calendar beside it hold the office's clients: what
// the program creates for them is for its user alone (a folder 700, a file 600). What
// already exists keeps the mode its owner gave it, so that an office can share a folder
// on purpose.

// Makes the folder, its parents as usual and the folder itself for the user alone; an
// existing folder is left as it is. False when it cannot be made.
bool makeOwnerOnlyFolder(const QString &path);

// Creates the file empty, for the user alone. False when it exists already or cannot be
// created.
bool createOwnerOnlyFile(const QString &path);
