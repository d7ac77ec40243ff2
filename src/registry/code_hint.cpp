// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/code_hint.h"

#include "core/fiscal_code.h"

#include <QLabel>
#include <QLineEdit>

void showCodeHints(QLineEdit *box, QLabel *hint)
{
    auto update = [box, hint](const QString &text) {
        const CodeHint found = fiscalCodeHint(text);
        const QString wrong = found.wrong ? found.text : QString();
        hint->setText(wrong);
        hint->setAccessibleDescription(wrong);
        box->setToolTip(found.wrong ? QString() : found.text);
        box->setAccessibleDescription(found.text);
    };
    QObject::connect(box, &QLineEdit::textChanged, hint, update);
    update(box->text());
}
