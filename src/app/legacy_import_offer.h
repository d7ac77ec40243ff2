// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The earlier version's archive that a first start could bring across: a Database.mdb
// beside the program or in the data file's folder, when there is no data file yet.
QString legacyArchiveToOffer(const QString &dataFilePath);

// At the first start: when there is no data file but an earlier version's archive,
// asks the operator whether to bring it across and does so with progress shown. Returns
// false only when the operator said yes and the import failed (and was reported): the
// program then ends, so that the next start offers it again.
bool offerLegacyImport(QWidget *window, const QString &dataFilePath);
