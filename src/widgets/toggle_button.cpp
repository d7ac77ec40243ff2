// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/toggle_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>

ToggleButton::ToggleButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setCheckable(true);
    setAutoDefault(false);
}

TickBox::TickBox(const QString &caption, QWidget *parent) : ToggleButton(caption, parent) {}

void TickBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    if (!isChecked())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(4, 4, -4, -4);
    QPainterPath mark;
    mark.moveTo(box.left(), box.center().y());
    mark.lineTo(box.left() + box.width() * 0.4, box.bottom());
    mark.lineTo(box.right(), box.top());
    painter.setPen(QPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText),
        2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(mark);
}
