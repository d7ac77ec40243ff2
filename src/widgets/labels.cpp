// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/labels.h"

#include "widgets/twips.h"

#include <QLabel>

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, int left, int top,
                  int width, int height)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    placeTwips(label, left, top, width, height);
    return label;
}
