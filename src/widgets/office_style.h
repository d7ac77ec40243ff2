// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QProxyStyle>

// Fusion, as it looks, without what it costs at start: Qt reads the PNGs of its own
// resources by file name alone, and a PNG read so makes Qt load every image format
// plugin of the system to ask each one first (five libraries, a few milliseconds). The
// icon of a toolbar's extension button, made in every toolbar's constructor and drawn
// only when the window is too narrow for its buttons, is made when first drawn; the
// frame of a group box, drawn in the first frame, is read from the same picture as a PNG
// and nothing else.
class OfficeStyle : public QProxyStyle
{
public:
    OfficeStyle();
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option,
                       const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;

private:
    const QPixmap &groupBoxFrame() const;
    mutable QPixmap m_groupBoxFrame; // Fusion's own picture of a group box's frame
};
