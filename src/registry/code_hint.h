// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QLineEdit;

// Keeps `hint`, a label beside `box`, saying as the operator types what is wrong with the
// fiscal code or VAT number in the box, and the box's tool tip giving a right fiscal code's
// birth date and sex. The box's accessible description carries the same words, so that a
// screen reader says them with the box. Nothing is refused: the office may have to record
// a foreign, provisional or mistaken code as it was given.
void showCodeHints(QLineEdit *box, QLabel *hint);
