// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What a step of the archive that is not one of its statements gives back: its value,
// or why it failed, in words that the operator can be shown. A statement gives a
// Result, with the database's own error.
template <typename T> struct [[nodiscard]] Outcome
{
    T value{};
    QString problem;

    bool ok() const { return problem.isEmpty(); }
    static Outcome failure(const QString &why) { return {T{}, why}; }
};

// A step that gives nothing back but whether it worked.
using Check = Outcome<bool>;
inline Check passed()
{
    return {true, {}};
}
