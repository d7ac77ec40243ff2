// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/picture_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QSvgRenderer>

PictureButton::PictureButton(const QString &svgResource, QWidget *parent)
    : QAbstractButton(parent), m_renderer(new QSvgRenderer(svgResource, this))
{
    m_renderer->setAspectRatioMode(Qt::KeepAspectRatio);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setSingleBorder(bool on)
{
    m_singleBorder = on;
    update();
}

QSize PictureButton::sizeHint() const
{
    return QSize(48, 48);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF target = QRectF(rect()).adjusted(3, 3, -3, -3);
    if (isDown())
        target.translate(1, 1);
    m_renderer->render(&painter, target);
    if (m_singleBorder) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
