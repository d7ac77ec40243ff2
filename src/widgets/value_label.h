// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLabel;

// Whether a screen reader hears a value label again each time its value changes.
enum class ValueChanges { Announced, Quiet };

// Makes a label that shows a value (the chosen user, the version stamp, the date and
// time of the status bar) read as what it is followed by what it shows, e.g.
// "Utente scelto: ROSSI MARIO", and "Utente scelto: nessuno" while it is empty. The
// reading follows the label's text whatever sets it. A quiet label (the clock) reads
// the same when the reader asks, but does not announce its changes.
void readAsValue(QLabel *label, const QString &caption,
                 ValueChanges changes = ValueChanges::Announced);

// What the screen reader says for a value label.
QString valueReading(const QLabel *label);
