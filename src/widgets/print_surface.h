// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

#include <functional>
#include <memory>

// A page that text is printed on line by line, as the list printout needs it: a
// current position, text measured and printed at that position (each print ends its
// line), lines, pages. Coordinates are in the scale that setScale() gives the
// printable area.
class PrintSurface
{
public:
    virtual ~PrintSurface() = default;

    // Starts the document in landscape; false (see errorString()) when no printer
    // can be used.
    virtual bool begin() = 0;
    virtual void setFont(const QString &face, int pointSize) = 0;
    virtual void setBold(bool bold) = 0;
    virtual void setScale(double width, double height) = 0;
    virtual double currentX() const = 0;
    virtual double currentY() const = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    virtual double textWidth(const QString &text) const = 0;
    // Prints at the current position; the position moves to the left edge, one line down.
    virtual void print(const QString &text) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2, const QColor &colour) = 0;
    virtual void newPage() = 0;
    // Ends the document and hands it to the printer; false when that failed.
    virtual bool end() = 0;
    // Cancels the document: nothing of it is printed.
    virtual void abort() = 0;
    virtual QString errorString() const = 0;

    // The surface of the default printer, or what a test installed instead.
    static std::unique_ptr<PrintSurface> createDefault();
    // Replaces createDefault(); an empty function restores the printer.
    static void setFactory(std::function<std::unique_ptr<PrintSurface>()> factory);
};
