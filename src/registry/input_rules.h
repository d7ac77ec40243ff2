// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the registry's text boxes let in: names, addresses and codes in
// capitals, numbers without letters, and the boxes' length limits.
#include <QObject>

class QLineEdit;

// Shows a stored value in a box even when it is longer than the box lets the
// operator type.
void setStoredText(QLineEdit *box, const QString &text);

// Keeps the box's whole text in capitals, however it changes.
void keepInCapitals(QLineEdit *box);
// Runs after every change of the text of an upper-case box.
void UpperCaseField(QLineEdit *box);

// The character to let into a numeric box for the one typed, or a null
// character to drop it.
QChar FilterNumericKey(QChar typed);

// Lets into the boxes it watches only what FilterNumericKey lets in.
class NumericKeys : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    void watch(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
