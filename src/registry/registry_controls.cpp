// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/registry_controls.h"

#include "widgets/labels.h"
#include "widgets/panel_placement.h"
#include "widgets/toggle_button.h"
#include "widgets/twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

QFont windowFont(qreal points, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void placeControl(QWidget *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    control->setFont(windowFont());
    placeTwips(control, left, top, width, height);
}

void setUpPanel(QGroupBox *panel, const char *name, const QString &caption,
                const QFont &captionFont, int left, int top, int width, int height)
{
    panel->setTitle(caption);
    placePanel(panel, name, left, top, width, height);
    panel->setFont(captionFont);
}

QLabel *fieldLabel(QWidget *parent, const char *name, const QString &caption, int left, int top,
                   int width, int height)
{
    QLabel *label = makeLabel(parent, name, caption, left, top, width, height);
    label->setFont(windowFont());
    return label;
}

ToggleButton *makeToggle(QWidget *parent, const char *name, const QString &caption, int left,
                         int top, int width, int height)
{
    return placed(new ToggleButton(caption, parent), name, left, top, width, height);
}

QLineEdit *makeBox(QWidget *parent, const char *name, QLabel *caption, int maxLength, int left,
                   int top, int width, int height)
{
    auto *box = placed(new QLineEdit(parent), name, left, top, width, height);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    // The limit as the window was drawn, so that a longer stored value can be
    // shown whole and the limit comes back at the next reset.
    box->setProperty("typedLimit", box->maxLength());
    if (caption) {
        caption->setBuddy(box);
        box->setAccessibleName(caption->text());
    }
    return box;
}

QFrame *makeLine(QWidget *parent, const char *name, int left, int top, int right)
{
    auto *line = placed(new QFrame(parent), name, left, top - 15, right - left, 30);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void paintWhite(QWidget *widget)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, Qt::white);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}
