// SPDX-License-Identifier: GPL-3.0-or-later
// What the registry's text boxes let in: names, addresses and codes in capitals,
// numbers without letters, and the boxes' length limits.
#include "registry/frm_anagrafe.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString numericCharacters = QStringLiteral("0123456789,-");

} // namespace

void frmAnagrafe::setStoredText(QLineEdit *box, const QString &text)
{
    const int limit = box->property("typedLimit").toInt();
    if (limit > 0 && text.size() > limit) {
        box->setMaxLength(int(text.size()));
        box->setText(text);
    } else {
        box->setText(text);
        if (limit > 0)
            box->setMaxLength(limit);
    }
}

// Runs after every change of the text of an upper-case box, however it came: the
// whole text in capitals, accented letters included, with the caret where it was.
void frmAnagrafe::UpperCaseField(QLineEdit *box)
{
    const QString text = box->text();
    const QString upper = text.toUpper();
    if (upper == text)
        return;
    const int caret = box->cursorPosition();
    setStoredText(box, upper);
    box->setCursorPosition(caret);
}

// Runs for each character typed into a numeric box: a full stop becomes a comma,
// Backspace goes through, anything else outside "0123456789,-" is dropped.
QChar frmAnagrafe::FilterNumericKey(QLineEdit *, QChar typed)
{
    if (typed == QLatin1Char('.'))
        typed = QLatin1Char(',');
    if (typed == QChar(8))
        return typed;
    if (!numericCharacters.contains(typed))
        return QChar();
    return typed;
}

bool frmAnagrafe::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // Keys that type nothing (arrows, Delete, Home, Tab) move or edit as usual.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    if (key->key() == Qt::Key_Backspace)
        return FilterNumericKey(box, QChar(8)).isNull();
    // A key combination with Ctrl types a control character: paste, cut and the like
    // are dropped.
    const bool control = key->modifiers().testFlag(Qt::ControlModifier) &&
                         !key->modifiers().testFlag(Qt::AltModifier);
    const QString text = key->text();
    if (text.isEmpty())
        return control && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z;
    if (control || text.size() != 1 || text.at(0).category() == QChar::Other_Control)
        return true;
    const QChar let = FilterNumericKey(box, text.at(0));
    if (let.isNull())
        return true;
    if (let == text.at(0))
        return false;
    QKeyEvent replaced(QEvent::KeyPress, Qt::Key_Comma, key->modifiers(), QString(let));
    QCoreApplication::sendEvent(box, &replaced);
    return true;
}
