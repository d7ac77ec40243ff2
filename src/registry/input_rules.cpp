// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/input_rules.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString numericCharacters = QStringLiteral("0123456789,-");

} // namespace

void setStoredText(QLineEdit *box, const QString &text)
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

void keepInCapitals(QLineEdit *box)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [box] { UpperCaseField(box); });
}

// Accented letters included, with the caret where it was.
void UpperCaseField(QLineEdit *box)
{
    const QString text = box->text();
    const QString upper = text.toUpper();
    if (upper == text)
        return;
    const int caret = box->cursorPosition();
    setStoredText(box, upper);
    box->setCursorPosition(caret);
}

// A full stop becomes a comma, Backspace goes through, anything else outside
// "0123456789,-" is dropped.
QChar FilterNumericKey(QChar typed)
{
    if (typed == QLatin1Char('.'))
        typed = QLatin1Char(',');
    if (typed == QChar(8))
        return typed;
    if (!numericCharacters.contains(typed))
        return QChar();
    return typed;
}

void NumericKeys::watch(QLineEdit *box)
{
    box->installEventFilter(this);
}

bool NumericKeys::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // Keys that type nothing (arrows, Delete, Home, Tab) move or edit as usual.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    if (key->key() == Qt::Key_Backspace)
        return FilterNumericKey(QChar(8)).isNull();
    // A key combination with Ctrl types a control character: paste, cut and the
    // like are dropped.
    const bool control = key->modifiers().testFlag(Qt::ControlModifier) &&
                         !key->modifiers().testFlag(Qt::AltModifier);
    const QString text = key->text();
    if (text.isEmpty())
        return control && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z;
    if (control || text.size() != 1 || text.at(0).category() == QChar::Other_Control)
        return true;
    const QChar let = FilterNumericKey(text.at(0));
    if (let.isNull())
        return true;
    if (let == text.at(0))
        return false;
    QKeyEvent replaced(QEvent::KeyPress, Qt::Key_Comma, key->modifiers(), QString(let));
    QCoreApplication::sendEvent(box, &replaced);
    return true;
}
