// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QWidget>

// The windows are laid out in twips, as they were designed: 1440 to the inch,
// 15 to a pixel at 96 dpi.
constexpr int twipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return (twips + (twips >= 0 ? twipsPerPixel / 2 : -twipsPerPixel / 2)) / twipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// Sets up a window of the program: its client area in twips, fixed as it was drawn,
// in Liberation Sans, which has the metrics of the Arial that the windows were drawn for.
inline void setUpProgramWindow(QWidget *window, int widthTwips, int heightTwips)
{
    window->setFixedSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
    window->setFont(QFont(QStringLiteral("Liberation Sans"), 9));
}

// Places a control inside its container at a position given in twips.
inline void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
}
