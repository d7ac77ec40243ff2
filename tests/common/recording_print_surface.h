// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/print_surface.h"

#include <QList>

// A print surface that records what is printed where. Every character is one unit
// wide and a line is lineHeight units high, so positions can be worked out by hand.
class RecordingPrintSurface : public PrintSurface
{
public:
    struct Text
    {
        int page;
        double x;
        double y;
        QString text;
        bool bold;
    };
    struct Line
    {
        int page;
        double x1, y1, x2, y2;
    };

    // Installs a factory that hands out this surface's twin and returns the record.
    static RecordingPrintSurface *install();
    static void uninstall();

    double lineHeight = 1.5;
    bool failBegin = false;
    bool failEnd = false;

    QString face;
    int pointSize = 0;
    double scaleWidth = 0;
    double scaleHeight = 0;
    int pages = 1;
    bool ended = false;
    bool aborted = false;
    QList<Text> texts;
    QList<Line> lines;

    QList<Text> textsOnPage(int page) const;

    bool begin() override;
    void setFont(const QString &f, int size) override
    {
        face = f;
        pointSize = size;
    }
    void setBold(bool on) override { m_bold = on; }
    void setScale(double width, double height) override
    {
        scaleWidth = width;
        scaleHeight = height;
    }
    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setCurrentX(double x) override { m_x = x; }
    void setCurrentY(double y) override { m_y = y; }
    double textWidth(const QString &text) const override { return text.size(); }
    void print(const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2, const QColor &) override
    {
        lines.append({pages, x1, y1, x2, y2});
    }
    void newPage() override { ++pages; }
    bool end() override;
    void abort() override { aborted = true; }
    QString errorString() const override { return QStringLiteral("stampante di prova guasta"); }

private:
    bool m_bold = false;
    double m_x = 0;
    double m_y = 0;
};
