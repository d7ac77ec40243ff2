// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_text_measurer.h"

#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

ReportTextMeasurer::ReportTextMeasurer(qreal dotsPerInch) : m_device(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    m_device.setDotsPerMeterX(dotsPerMeter);
    m_device.setDotsPerMeterY(dotsPerMeter);
    m_dotsPerInch = m_device.logicalDpiY();
}

ReportTextMeasurer::FontEntry &ReportTextMeasurer::entry(const ReportFont &font)
{
    // A report has a handful of fonts, asked for on every value.
    if (m_last < m_fonts.size() && m_fonts[m_last].key == font)
        return m_fonts[m_last];
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i].key == font) {
            m_last = i;
            return m_fonts[i];
        }
    }
    const QFont qfont(toQFont(font), &m_device);
    const QFontMetricsF metrics(qfont, &m_device);
    // Font metrics keep lengths in 26.6 fixed point: 2^25 pixels at most; stay well
    // under that with the widest glyph.
    const qsizetype safeLength =
        std::max<qsizetype>(1, qsizetype((1 << 24) / std::max<qreal>(1, metrics.maxWidth())));
    m_fonts.push_back(FontEntry{font, qfont, metrics, safeLength, {}});
    m_last = m_fonts.size() - 1;
    return m_fonts.back();
}

qreal ReportTextMeasurer::advance(FontEntry &fe, const QString &text)
{
    // Short values (dates, codes, names) come back row after row; long ones seldom.
    constexpr qsizetype shortText = 32;
    constexpr qsizetype remembered = 32768;
    if (text.size() > shortText)
        return fe.metrics.horizontalAdvance(text);
    auto known = fe.widths.constFind(text);
    if (known != fe.widths.constEnd())
        return known.value();
    if (fe.widths.size() >= remembered)
        fe.widths.clear();
    const qreal width = fe.metrics.horizontalAdvance(text);
    fe.widths.insert(text, width);
    return width;
}

qreal ReportTextMeasurer::lineHeight(const ReportFont &font)
{
    return entry(font).metrics.lineSpacing() * twipsPerInch / m_dotsPerInch;
}

qreal ReportTextMeasurer::width(const ReportFont &font, const QString &text)
{
    const FontEntry &fe = entry(font);
    // A text too long to measure in one go is measured a piece at a time.
    qreal total = 0;
    for (qsizetype from = 0; from < text.size(); from += fe.safeLength)
        total += fe.metrics.horizontalAdvance(text.mid(from, fe.safeLength));
    return total * twipsPerInch / m_dotsPerInch;
}

QStringList ReportTextMeasurer::wrap(const ReportFont &font, const QString &text, qreal width,
                                     bool *measuredToFit)
{
    QStringList lines;
    bool fits = true;
    if (!text.isEmpty()) {
        FontEntry &fe = entry(font);
        const qreal widthPx = width * m_dotsPerInch / twipsPerInch;
        auto isBreak = [](QChar c) {
            return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
                   c == QChar::ParagraphSeparator;
        };
        if (std::none_of(text.cbegin(), text.cend(), isBreak)) {
            fits = wrapParagraph(fe, text, widthPx, lines);
        } else {
            QString normalized = text;
            normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            normalized.replace(QChar::LineSeparator, QLatin1Char('\n'));
            normalized.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
            const QStringList paragraphs = normalized.split(QLatin1Char('\n'));
            for (const QString &paragraph : paragraphs)
                fits = wrapParagraph(fe, paragraph, widthPx, lines) && fits;
        }
        // A note typed with a last Enter would otherwise grow by an empty line.
        while (lines.size() > 1 && lines.constLast().isEmpty())
            lines.removeLast();
    }
    if (measuredToFit)
        *measuredToFit = fits;
    return lines;
}

bool ReportTextMeasurer::wrapParagraph(FontEntry &fe, const QString &paragraph, qreal widthPx,
                                       QStringList &lines)
{
    // Most values fit on one line: no need to lay them out. Font metrics add up widths
    // in a fixed-point type that a text of some hundred thousand characters overflows,
    // so a long paragraph is always laid out.
    if (paragraph.size() <= fe.safeLength && advance(fe, paragraph) <= widthPx) {
        lines.append(paragraph);
        return true;
    }
    QTextLayout layout(paragraph, fe.font, &m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    layout.beginLayout();
    // A broken line fits by construction, unless one word alone is wider than the box;
    // measured apart it may differ by a kerning pair at its ends, which the margin
    // covers.
    const qreal margin = fe.metrics.averageCharWidth();
    bool fits = true;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(widthPx);
        fits = fits && line.naturalTextWidth() + margin <= widthPx;
        QString part = paragraph.mid(line.textStart(), line.textLength());
        qsizetype end = part.size();
        while (end > 0 && part.at(end - 1).isSpace())
            --end;
        part.truncate(end);
        lines.append(part);
    }
    layout.endLayout();
    return fits;
}
