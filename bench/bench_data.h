// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
// `entries`. Every entry has a due date, so each one is a deadline of the overview.
// One transaction; returns false on the first failed insert.
bool generateOfficeData(int subjects, int userEvery, int entries, int heavyUserEntries,
                        QString *problem);
