// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// What the program printed, and where. The surface that install() hands to the program
// writes here: every character is one unit wide and a line is lineHeight units high, so
// positions can be worked out by hand.
class RecordingPrintSurface
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

    // Installs a factory of surfaces that write into a fresh record, and returns it.
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

    bool bold = false;
    double x = 0;
    double y = 0;
};
