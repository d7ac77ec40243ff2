// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

// A text box for a note of several lines: long notes wrap at the box's width and keep
// their line breaks. Tab moves on to the next control, as in a one-line box; the text
// and the caret are read and set as plain text and a character index.
class NoteBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit NoteBox(QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString &text);

    int cursorPosition() const;
    void setCursorPosition(int position);
};
