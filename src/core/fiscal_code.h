// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// A hint for a fiscal code or VAT number as the operator types it. It never refuses a
// code: foreign and provisional codes have other shapes, and a code may have been given
// with a mistake that the office must still record as it stands.
struct CodeHint
{
    QString text; // empty: nothing to say
    bool wrong = false;
};

// A person's code (16 characters) gets its check character checked and, when right, the
// birth date and sex it encodes; 11 digits (a firm's code or a VAT number) get the check
// digit checked. Any other text gets no hint. today decides the century of the birth year.
CodeHint fiscalCodeHint(const QString &text, const QDate &today = QDate::currentDate());
