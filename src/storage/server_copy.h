// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// Every row of the archive on the server open on `server`, with its ID, into a new data
// file at path that the program opens as its own: the server's backup before the program
// changes its tables. The columns that the server lacks stay empty. The server is only
// read; a failure leaves a file that the caller removes.
[[nodiscard]] QSqlError copyServerArchiveTo(const QSqlDatabase &server, const QString &path);
