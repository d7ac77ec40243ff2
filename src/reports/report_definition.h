// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>

// A banded report described as data: page settings, five sections and their controls.
// Every length is in twips (1/1440 inch), relative to the section that holds it.

// A face name as the report layouts give it, with attributes; mapped to an installed
// face only when text is measured or drawn.
struct ReportFont
{
    QString face = QStringLiteral("Arial");
    qreal pointSize = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const ReportFont &, const ReportFont &) = default;
};

// The installed face that stands in for a face named by the layouts: Arial and Arial
// Narrow have metric twins in Liberation Sans and Liberation Sans Narrow; the
// vertical-writing face "@Arial Unicode MS" and Arial Unicode MS itself are drawn
// upright in DejaVu Sans, which covers as many characters. Other names pass unchanged.
QString mapFontFamily(const QString &face);

// The QFont for a report font, with the mapped family and hinting off, so that text
// keeps the same proportions at every resolution.
QFont toQFont(const ReportFont &font);

enum class ReportControlKind { Label, TextBox, Line };

// How a text box turns its field's value into text.
enum class ReportValueFormat {
    Text, // NULL prints empty, dates in the short date form, anything else as text
    Date, // as Text, and ISO text ("yyyy-MM-dd") too prints as a short date
};

struct ReportControl
{
    QString name;
    ReportControlKind kind = ReportControlKind::Label;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;  // a line has none: it runs along its top
    QString caption; // label text
    QString field;   // the field a text box prints, matched without regard to case
    ReportValueFormat format = ReportValueFormat::Text;
    // "%D", "%P" and "%p" in the caption are replaced when the report is laid out.
    bool expandsPlaceholders = false;
    bool canGrow = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    std::optional<ReportFont> font; // the report's default font when unset

    int right() const { return left + width; }

    // Sets a caption that prints as given: text from the data (a user's name) must not
    // have its "%P" turned into a page number.
    void setCaption(const QString &text)
    {
        caption = text;
        expandsPlaceholders = false;
    }
};

enum class ReportSectionKind { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };

struct ReportSection
{
    QString name;
    ReportSectionKind kind = ReportSectionKind::Detail;
    int height = 0;
    QList<ReportControl> controls;

    ReportControl *control(const QString &controlName);
    const ReportControl *control(const QString &controlName) const;
};

struct ReportPageSettings
{
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    int topMargin = 1440;
    int bottomMargin = 1440;
    int leftMargin = 1440;
    int rightMargin = 1440;
    // The width the report was designed for. Controls beyond it still print: the
    // layouts set a width narrower than their own columns, and cutting those off
    // would lose data.
    int reportWidth = 0;

    // The sheet without margins, as a paint device is set up for drawing a page.
    QPageLayout sheetLayout() const;
};

struct ReportDefinition
{
    static constexpr int sectionCount = 5;

    QString name;
    ReportFont defaultFont;
    ReportPageSettings page;
    // In print order: report header, page header, detail, page footer, report footer.
    std::array<ReportSection, sectionCount> sections;

    ReportDefinition();

    ReportSection &section(ReportSectionKind kind);
    const ReportSection &section(ReportSectionKind kind) const;
    // By position in print order, 1 being the report header; nullptr out of range.
    ReportSection *sectionAt(int position);

    // The first control of that name in print order, or nullptr.
    ReportControl *findControl(const QString &controlName);
    const ReportControl *findControl(const QString &controlName) const;

    ReportFont fontOf(const ReportControl &control) const
    {
        return control.font.value_or(defaultFont);
    }
};

// The twips in an inch, the unit of every report length.
inline constexpr qreal twipsPerInch = 1440.0;

// The size of a page layout's whole sheet in twips, from its exact size in millimetres.
QSizeF sheetSizeInTwips(const QPageLayout &layout);
