// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlError>
#include <QString>

// Why the data file at path could not be opened, read or written, told to the operator
// in Italian with what to do about it: not an archive, damaged, locked by another
// program, a file or folder that cannot be written, a full disk, a disk that fails.
QString describeOpenFailure(const QString &path, const QSqlError &error);

// The message for a file that is a database but lacks what the program keeps in it.
QString notAnArchiveMessage(const QString &path, const QString &reason);
