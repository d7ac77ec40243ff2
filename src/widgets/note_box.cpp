// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/note_box.h"

#include <QTextCursor>

NoteBox::NoteBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

// Setting the text it already has changes nothing, so no change is reported and the
// caret stays where it is.
void NoteBox::setText(const QString &text)
{
    if (text != toPlainText())
        setPlainText(text);
}

int NoteBox::cursorPosition() const
{
    return textCursor().position();
}

void NoteBox::setCursorPosition(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(cursor);
}
