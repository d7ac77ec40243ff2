// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// Fills the open data file with users and diary entries of plausible shape: one user
// holds `heavyUserEntries` entries, the others share `otherEntries`. Returns false on
// the first failed insert.
bool generateDiaryData(int users, int heavyUserEntries, int otherEntries, QString *problem);

// Fills the open data file with a registry of `subjects` subjects of plausible shape,
// `users` of them marked as users, in no order of name. Returns false on the first
// failed insert.
bool generateRegistryData(int subjects, int users, QString *problem);

// A large office: `subjects` subjects, every `userEvery`-th of them a user; the first
// user holds `heavyUserEntries` entries and the other users share the rest of
// `entries`. Every entry has a due date, so each one is a deadline of the overview, but
// every `undatedEvery`-th entry when it is not 0; those due before `closedBefore` were
// closed on their due date, as an office that marks what it has done keeps them. One
// transaction; returns false on the first failed insert.
bool generateOfficeData(int subjects, int userEvery, int entries, int heavyUserEntries,
                        QString *problem, int undatedEvery = 0,
                        const QDate &closedBefore = QDate());

// The data file of an office as people have it: `entries` entries, a tenth as many
// subjects, every tenth subject a user, four entries in five with a due date. Made once
// and kept in the build folder (bench-data/), since a million entries take a while;
// closed when it comes back. Empty, with the problem, when it cannot be made.
QString cachedOfficeArchive(int entries, QString *problem);
