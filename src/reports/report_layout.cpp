// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_layout.h"

#include "core/dates.h"
#include "reports/report_rows.h"
#include "reports/report_text_measurer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Lengths come from font metrics; a band that fits to within this much fits.
constexpr qreal tolerance = 0.5;

// How far a line may be squeezed across to fit a box that cannot grow; wider text is
// broken and shows its first line.
constexpr qreal minimumTextScale = 0.8;

const QString pageNumberMark = QStringLiteral("%P");
const QString pageCountMark = QStringLiteral("%p");
const QString dateMark = QStringLiteral("%D");

// A band laid out on its own, items relative to its top-left corner.
struct Band
{
    ReportSectionKind section = ReportSectionKind::Detail;
    qreal height = 0;
    int row = -1;
    QList<ReportItem> items;
};

int linesThatFit(qreal height, qreal lineHeight)
{
    if (lineHeight <= 0)
        return 0;
    return std::max(1, int(std::floor((height + tolerance) / lineHeight)));
}

bool overlapsHorizontally(const ReportControl &a, const ReportControl &b)
{
    return a.left < b.right() && b.left < a.right();
}

// Cuts a band at the room left on its page: the head holds what ends above the cut,
// texts split between their lines; the rest keeps the remainder, moved up to start at
// its own top. The head is empty when not even one line fits.
std::pair<Band, Band> splitBand(const Band &band, qreal room)
{
    qreal cut = room;
    // A text crossing the cut moves the cut up to its first line that does not fit;
    // that may make another text cross it, so repeat until it holds still.
    for (bool moved = true; moved;) {
        moved = false;
        for (const ReportItem &item : band.items) {
            if (item.kind != ReportItemKind::Text || item.lines.isEmpty())
                continue;
            const qreal top = item.rect.top();
            const qreal textBottom = top + item.lines.size() * item.lineHeight;
            if (top >= cut || textBottom <= cut + tolerance)
                continue;
            const int fitting = int(std::floor((cut - top + tolerance) / item.lineHeight));
            const qreal lineTop = top + fitting * item.lineHeight;
            if (lineTop < cut - tolerance) {
                cut = lineTop;
                moved = true;
            }
        }
    }

    Band head;
    Band rest;
    head.section = rest.section = band.section;
    head.row = rest.row = band.row;
    head.height = cut;
    rest.height = band.height - cut;
    if (cut <= tolerance)
        return {head, band};

    for (const ReportItem &item : band.items) {
        const qreal top = item.rect.top();
        if (top >= cut - tolerance) {
            ReportItem moved = item;
            moved.rect.moveTop(std::max<qreal>(0, top - cut));
            rest.items.append(moved);
            continue;
        }
        if (item.kind == ReportItemKind::Line || item.rect.bottom() <= cut + tolerance) {
            head.items.append(item);
            continue;
        }
        const int fitting =
            item.lineHeight > 0 ? int(std::floor((cut - top + tolerance) / item.lineHeight)) : 0;
        ReportItem upper = item;
        upper.lines = item.lines.mid(0, fitting);
        upper.rect.setHeight(cut - top);
        head.items.append(upper);
        if (fitting < item.lines.size()) {
            ReportItem lower = item;
            lower.lines = item.lines.mid(fitting);
            const qreal lowerTop = std::max<qreal>(0, top + fitting * item.lineHeight - cut);
            lower.rect.setTop(lowerTop);
            lower.rect.setBottom(std::max(lowerTop, item.rect.bottom() - cut));
            rest.items.append(lower);
        }
    }
    return {head, rest};
}

} // namespace

class ReportLayout::Private
{
public:
    Private(const ReportDefinition &definition, const ReportLayoutOptions &options)
        : definition(definition), measurer(options.resolution),
          longDate(toLongDate(options.printDate))
    {
        const QSizeF sheet = sheetSizeInTwips(definition.page.sheetLayout());
        pageWidth = sheet.width();
        pageHeight = sheet.height();
        int contentRight = definition.page.reportWidth;
        for (const ReportSection &section : definition.sections) {
            for (const ReportControl &control : section.controls) {
                contentRight = std::max(contentRight, control.right());
                if (control.expandsPlaceholders)
                    sectionHasPlaceholders[int(section.kind)] = true;
            }
        }
        // A layout wider than the sheet is moved left rather than cut off at the edge.
        left = definition.page.leftMargin;
        if (left + contentRight > pageWidth)
            left = std::max<qreal>(0, pageWidth - contentRight);
        for (const ReportSection &section : definition.sections)
            plans[int(section.kind)] = planSection(section);
    }

    // What stays the same every time a section is laid out.
    struct BrokenCaption
    {
        QStringList lines;
        int fitsAtDpi = 0;
    };
    struct SectionPlan
    {
        std::vector<ReportFont> fonts;
        std::vector<qreal> lineHeights;
        std::vector<qsizetype> topDown; // controls from the highest, in order of design
        qreal lowestBottom = 0;
        std::vector<std::optional<BrokenCaption>> captions; // fixed ones, once broken
    };
    SectionPlan planSection(const ReportSection &section)
    {
        SectionPlan plan;
        for (qsizetype i = 0; i < section.controls.size(); ++i) {
            const ReportControl &control = section.controls.at(i);
            plan.fonts.push_back(definition.fontOf(control));
            plan.lineHeights.push_back(control.kind == ReportControlKind::Line
                                           ? 0
                                           : measurer.lineHeight(plan.fonts.back()));
            plan.topDown.push_back(i);
            plan.lowestBottom = std::max<qreal>(plan.lowestBottom, control.top + control.height);
        }
        std::stable_sort(plan.topDown.begin(), plan.topDown.end(), [&](qsizetype a, qsizetype b) {
            return section.controls.at(a).top < section.controls.at(b).top;
        });
        plan.captions.resize(section.controls.size());
        return plan;
    }

    Band layoutBand(ReportSectionKind kind, const ReportRows *row, int pageNumber);
    bool squeezeOnto(ReportItem &item, const QString &text, int fitting, qreal width);
    QString captionText(const ReportControl &control, int pageNumber, QString *pending) const;

    void startPage();
    void finishPage();
    void placeAt(Band band, qreal top, bool continued = false);
    void placeFlowing(ReportSectionKind kind, const ReportRows *row, int rowIndex);

    ReportDefinition definition;
    ReportTextMeasurer measurer;
    QString longDate;
    qreal pageWidth = 0;
    qreal pageHeight = 0;
    qreal left = 0;
    bool sectionHasPlaceholders[ReportDefinition::sectionCount] = {};
    SectionPlan plans[ReportDefinition::sectionCount];
    // Working room of layoutBand(), kept from band to band.
    struct Placement
    {
        qreal growth = 0;
        qreal shift = 0;
    };
    std::vector<Placement> placement;
    std::vector<qsizetype> movers;

    // The page in progress.
    const PageSink *sink = nullptr;
    ReportPage page;
    int pageNumber = 0;
    qreal y = 0;
    qreal footerTop = 0;
    Band footer;
    bool pageHasBody = false;
    qreal bodyRoom = 0; // between page header and page footer, on a page after the first
};

QString ReportLayout::Private::captionText(const ReportControl &control, int number,
                                           QString *pending) const
{
    if (!control.expandsPlaceholders)
        return control.caption;
    QString text = control.caption;
    text.replace(dateMark, longDate);
    text.replace(pageNumberMark, QString::number(number));
    if (text.contains(pageCountMark)) {
        *pending = text;
        // Measured with this page's number standing in for the count, which it
        // cannot exceed; the lines are broken again once the count is known.
        text.replace(pageCountMark, QString::number(number));
    }
    return text;
}

bool ReportLayout::Private::squeezeOnto(ReportItem &item, const QString &text, int fitting,
                                        qreal width)
{
    if (fitting != 1 || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return false;
    const qreal natural = measurer.width(item.font, text);
    if (natural <= 0 || natural * minimumTextScale > width)
        return false;
    // Kept whole, so that a date or a code never prints in part; the painter
    // squeezes it into the box.
    item.lines = QStringList{text};
    item.fitsAtDpi = 0;
    return true;
}

Band ReportLayout::Private::layoutBand(ReportSectionKind kind, const ReportRows *row, int number)
{
    const ReportSection &section = definition.section(kind);
    const SectionPlan &plan = plans[int(kind)];
    Band band;
    band.section = kind;
    band.items.reserve(section.controls.size());

    placement.assign(section.controls.size(), Placement());

    for (qsizetype i = 0; i < section.controls.size(); ++i) {
        const ReportControl &control = section.controls.at(i);
        ReportItem item;
        item.section = kind;
        item.controlName = control.name;
        item.rect = QRectF(left + control.left, control.top, control.width, control.height);
        if (control.kind == ReportControlKind::Line) {
            item.kind = ReportItemKind::Line;
            item.rect.setHeight(0);
            band.items.append(item);
            continue;
        }
        item.font = plan.fonts[i];
        item.alignment = control.alignment;
        item.lineHeight = plan.lineHeights[i];
        const bool fixedCaption =
            control.kind == ReportControlKind::Label && !control.expandsPlaceholders;
        const QString text =
            control.kind == ReportControlKind::Label
                ? captionText(control, number, &item.pendingText)
                : (row ? formatReportValue(row->value(control.field), control.format) : QString());
        if (fixedCaption && plan.captions[i]) {
            // A caption without placeholders breaks the same way every time.
            item.lines = plan.captions[i]->lines;
            item.fitsAtDpi = plan.captions[i]->fitsAtDpi;
        } else {
            bool measuredToFit = false;
            item.lines = measurer.wrap(item.font, text, control.width, &measuredToFit);
            item.fitsAtDpi = measuredToFit ? measurer.dotsPerInch() : 0;
            if (fixedCaption)
                plans[int(kind)].captions[i] = BrokenCaption{item.lines, item.fitsAtDpi};
        }
        const int fitting = linesThatFit(control.height, item.lineHeight);
        if (item.lines.size() > fitting) {
            if (control.canGrow) {
                // One line more a line taller: the box keeps the room it had under
                // its text, so that the next line of controls does not touch it.
                placement[i].growth = (item.lines.size() - fitting) * item.lineHeight;
                item.rect.setHeight(control.height + placement[i].growth);
            } else if (!squeezeOnto(item, text, fitting, control.width)) {
                // A box that cannot grow shows the whole lines that fit it.
                item.lines = item.lines.mid(0, fitting);
            }
        }
        band.items.append(item);
    }

    // A control moves down by as much as the grown or moved controls above it that
    // share some of its width; lines run across them all and follow every one.
    movers.clear();
    for (const qsizetype i : plan.topDown) {
        const ReportControl &control = section.controls.at(i);
        for (const qsizetype g : movers) {
            const ReportControl &above = section.controls.at(g);
            if (above.top < control.top && overlapsHorizontally(above, control))
                placement[i].shift =
                    std::max(placement[i].shift, placement[g].shift + placement[g].growth);
        }
        if (placement[i].shift + placement[i].growth > 0)
            movers.push_back(i);
    }

    // The band keeps the space it had under its lowest control.
    const qreal bottomGap = std::max<qreal>(0, section.height - plan.lowestBottom);
    band.height = section.height;
    for (qsizetype i = 0; i < band.items.size(); ++i) {
        ReportItem &item = band.items[i];
        item.rect.translate(0, placement[i].shift);
        if (placement[i].shift + placement[i].growth > 0)
            band.height = std::max(band.height, item.rect.bottom() + bottomGap);
    }
    return band;
}

void ReportLayout::Private::placeAt(Band band, qreal top, bool continued)
{
    for (ReportItem &item : band.items) {
        item.rect.translate(0, top);
        page.items.append(std::move(item));
    }
    page.bands.append(ReportBand{band.section, top, band.height, band.row, continued});
}

void ReportLayout::Private::startPage()
{
    ++pageNumber;
    page = ReportPage();
    page.number = pageNumber;
    y = definition.page.topMargin;
    footer = layoutBand(ReportSectionKind::PageFooter, nullptr, pageNumber);
    footerTop = pageHeight - definition.page.bottomMargin - footer.height;
    // Headers and footers are placed whole: a page is made of them.
    if (pageNumber == 1) {
        Band header = layoutBand(ReportSectionKind::ReportHeader, nullptr, pageNumber);
        const qreal height = header.height;
        placeAt(std::move(header), y);
        y += height;
    }
    Band header = layoutBand(ReportSectionKind::PageHeader, nullptr, pageNumber);
    const qreal height = header.height;
    placeAt(std::move(header), y);
    y += height;
    bodyRoom = footerTop - definition.page.topMargin - height;
    pageHasBody = false;
}

void ReportLayout::Private::finishPage()
{
    placeAt(std::move(footer), footerTop);
    (*sink)(std::move(page));
    page = ReportPage();
}

void ReportLayout::Private::placeFlowing(ReportSectionKind kind, const ReportRows *row,
                                         int rowIndex)
{
    Band band = layoutBand(kind, row, pageNumber);
    band.row = rowIndex;
    bool continued = false;
    for (;;) {
        const qreal room = footerTop - y;
        if (band.height <= room + tolerance) {
            const qreal height = band.height;
            placeAt(std::move(band), y, continued);
            y += height;
            pageHasBody = true;
            return;
        }
        // A band that fits on a page of its own goes there whole; one taller than
        // that starts right here and goes on overleaf, rather than leave a page
        // nearly empty.
        const bool fitsOnAPage = band.height <= bodyRoom + tolerance;
        auto newPage = [&] {
            finishPage();
            startPage();
            if (!continued && sectionHasPlaceholders[int(kind)]) {
                band = layoutBand(kind, row, pageNumber);
                band.row = rowIndex;
            }
        };
        if (pageHasBody && fitsOnAPage) {
            newPage();
            continue;
        }
        auto [head, rest] = splitBand(band, room);
        if (head.height <= tolerance) {
            if (pageHasBody) {
                newPage();
                continue;
            }
            // Not one line fits between header and footer: print it overlapping the
            // footer rather than never get past it.
            const qreal height = band.height;
            placeAt(std::move(band), y, continued);
            y += height;
            pageHasBody = true;
            return;
        }
        placeAt(std::move(head), y, continued);
        pageHasBody = true;
        finishPage();
        startPage();
        band = std::move(rest);
        continued = true;
    }
}

ReportLayout::ReportLayout(const ReportDefinition &definition, const ReportLayoutOptions &options)
    : d(std::make_unique<Private>(definition, options))
{}

ReportLayout::~ReportLayout() = default;

int ReportLayout::run(ReportRows &rows, const PageSink &sink)
{
    d->sink = &sink;
    d->pageNumber = 0;
    d->startPage();
    int rowIndex = 0;
    while (rows.next())
        d->placeFlowing(ReportSectionKind::Detail, &rows, rowIndex++);
    d->placeFlowing(ReportSectionKind::ReportFooter, nullptr, -1);
    d->finishPage();
    d->sink = nullptr;
    return d->pageNumber;
}

void ReportLayout::resolvePageCount(ReportPage &page, int pageCount) const
{
    for (ReportItem &item : page.items) {
        if (item.pendingText.isEmpty())
            continue;
        const QString text =
            QString(item.pendingText).replace(pageCountMark, QString::number(pageCount));
        bool measuredToFit = false;
        item.lines = d->measurer.wrap(item.font, text, item.rect.width(), &measuredToFit);
        item.lines = item.lines.mid(0, linesThatFit(item.rect.height(), item.lineHeight));
        item.fitsAtDpi = measuredToFit ? d->measurer.dotsPerInch() : 0;
        item.pendingText.clear();
    }
}

ReportDocument buildReportDocument(const ReportDefinition &definition, ReportRows &rows,
                                   const ReportLayoutOptions &options,
                                   const std::function<void(int page)> &pageDone)
{
    ReportDocument document;
    document.name = definition.name;
    document.title = definition.name;
    document.pageLayout = definition.page.sheetLayout();
    ReportLayout layout(definition, options);
    const int pageCount = layout.run(rows, [&document, &pageDone](ReportPage &&page) {
        document.pages.append(std::move(page));
        if (pageDone)
            pageDone(document.pageCount());
    });
    for (ReportPage &page : document.pages)
        layout.resolvePageCount(page, pageCount);
    return document;
}
