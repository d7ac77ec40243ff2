// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A file renamed into place must be on the disk before its new name is: otherwise a
// power cut can leave the name pointing at an empty or partial file.

// Flushes the file's bytes to the disk. False when it cannot be opened or flushed.
bool syncFileToDisk(const QString &path);
// Flushes the folder's entries (a rename in it) to the disk.
bool syncFolderToDisk(const QString &path);
