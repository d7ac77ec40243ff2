// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"

#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

// A laid-out report: pages of placed items, plain data in twips from the sheet's
// top-left corner, ready for any paint device.

enum class ReportItemKind { Text, Line };

struct ReportItem
{
    ReportItemKind kind = ReportItemKind::Text;
    ReportSectionKind section = ReportSectionKind::Detail;
    QString controlName;
    // A text's box; a line runs along the top edge over the width (height 0).
    QRectF rect;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    // The text already broken into the lines that print, one below the other at
    // lineHeight apart from the top of rect. A line wider than the box (a value a little
    // too long for a box that cannot grow) is squeezed across to fit when drawn.
    QStringList lines;
    qreal lineHeight = 0;
    // When not 0: every line was measured whole at this many dots per inch and fits the
    // box, so a device of that resolution need not measure it again.
    int fitsAtDpi = 0;
    // Set while the text still waits for the page count ("%p"): the caption with the
    // other placeholders filled in.
    QString pendingText;

    QString text() const { return lines.join(QLatin1Char('\n')); }
};

// Where a band landed on its page; a band too tall for a page goes on over the next,
// each part listed on its page.
struct ReportBand
{
    ReportSectionKind section = ReportSectionKind::Detail;
    qreal top = 0;
    qreal height = 0;
    int row = -1;           // 0-based row of a detail band, -1 for the others
    bool continued = false; // the rest of a band that began on an earlier page
};

struct ReportPage
{
    int number = 0; // from 1
    QList<ReportBand> bands;
    QList<ReportItem> items;

    int bandCount(ReportSectionKind section) const;
    // The n-th item (in drawing order) placed for a control of that name, or nullptr.
    const ReportItem *find(const QString &controlName, int occurrence = 0) const;
};

struct ReportDocument
{
    QString name;  // the report's name
    QString title; // shown as the preview's caption and the PDF's title
    QPageLayout pageLayout;
    QList<ReportPage> pages;

    int pageCount() const { return int(pages.size()); }
    // Every text placed for a control, page by page, in order: one entry a band (an
    // empty one for an empty value), two for a band split between pages.
    QStringList texts(const QString &controlName) const;
};
