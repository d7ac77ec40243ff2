// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What a step that can fail gives back, in every layer: its value, or why it failed,
// in Italian words that the operator can be shown as they are. Only the statements that
// run SQL give a Result instead, with the database's own error, which their callers put
// into the operator's words.
template <typename T> struct [[nodiscard]] Outcome
{
    T value{};
    QString problem;

    bool ok() const { return problem.isEmpty(); }
    // A failure always has words, so that it can never pass for success.
    static Outcome failure(const QString &why)
    {
        return {T{}, why.isEmpty() ? QStringLiteral("errore sconosciuto.") : why};
    }
};

// A step that gives nothing back but whether it worked.
using Check = Outcome<bool>;
inline Check passed()
{
    return {true, {}};
}
