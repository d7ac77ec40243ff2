// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/office_style.h"

#include <QGroupBox>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

#include <functional>
#include <optional>

namespace {

// Stands for an icon that is only made when something asks to see it.
class DeferredIcon : public QIconEngine
{
public:
    explicit DeferredIcon(std::function<QIcon()> make) : m_make(std::move(make)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    // Asked when the button is made: the style's own icon is never empty.
    bool isNull() override { return m_icon && m_icon->isNull(); }
    QIconEngine *clone() const override { return new DeferredIcon(*this); }

private:
    QIcon &icon()
    {
        if (!m_icon)
            m_icon = m_make();
        return *m_icon;
    }

    std::function<QIcon()> m_make;
    std::optional<QIcon> m_icon;
};

} // namespace

OfficeStyle::OfficeStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QIcon OfficeStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                                const QWidget *widget) const
{
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    // The option and the widget may be gone by the first drawing: the icon is the style's.
    return QIcon(new DeferredIcon([this, icon] { return baseStyle()->standardIcon(icon); }));
}

// Drawn as Fusion draws it: the frame starts below the title, or a little below the top
// when there is no title to make room for.
void OfficeStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    if (element != PE_FrameGroupBox || groupBoxFrame().isNull()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    constexpr int belowTitle = 3;
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    const int top =
        box && !box->isCheckable() && box->title().isEmpty()
            ? belowTitle
            : qMax(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) +
                  belowTitle;
    qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6),
                      groupBoxFrame());
}

const QPixmap &OfficeStyle::groupBoxFrame() const
{
    if (m_groupBoxFrame.isNull()) {
        QImageReader reader(
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"),
            "png");
        reader.setAutoDetectImageFormat(false);
        m_groupBoxFrame = QPixmap::fromImage(reader.read());
    }
    return m_groupBoxFrame;
}
