// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QStringList>

#include <vector>

// Breaks text into lines the way it will print, with the fonts' metrics at a given
// resolution. Lengths in and out are in twips.
class ReportTextMeasurer
{
public:
    explicit ReportTextMeasurer(qreal dotsPerInch);

    // The distance from one line to the next.
    qreal lineHeight(const ReportFont &font);

    // The width of one line of text.
    qreal width(const ReportFont &font, const QString &text);

    // The lines of the text in a box of that width: breaks at line feeds, then between
    // words, and inside a word only when it is wider than the box on its own. Blanks at
    // a soft break are dropped, so that centred lines stay centred. Empty text has no
    // lines; an empty paragraph is an empty line, except after the last text.
    // *measuredToFit, when given, tells whether every line was measured whole and found
    // to fit, as a painter at this resolution would measure it.
    QStringList wrap(const ReportFont &font, const QString &text, qreal width,
                     bool *measuredToFit = nullptr);

    // The resolution at which text is measured, in dots per inch.
    int dotsPerInch() const { return m_dotsPerInch; }

private:
    struct FontEntry
    {
        ReportFont key;
        QFont font;
        QFontMetricsF metrics;
        qsizetype safeLength;         // characters that can be measured in one go
        QHash<QString, qreal> widths; // of short texts, in pixels
    };
    FontEntry &entry(const ReportFont &font);
    // The width of a text in pixels.
    qreal advance(FontEntry &fe, const QString &text);
    // Appends the lines of one paragraph; true when every line surely fits.
    bool wrapParagraph(FontEntry &fe, const QString &paragraph, qreal widthPx, QStringList &lines);

    QImage m_device; // only lends its resolution to the fonts
    int m_dotsPerInch;
    std::vector<FontEntry> m_fonts;
    size_t m_last = 0; // the entry asked for last
};
