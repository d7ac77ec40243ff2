// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether a file can serve as a backup: it opens, the engine's quick check finds nothing
// wrong, and it holds the program's tables with their columns. A copy interrupted while
// being written (a journal still beside it, missing pages) fails. The file is only read:
// nothing is created beside it and it stays byte for byte as it was.
bool isSoundBackup(const QString &path);
