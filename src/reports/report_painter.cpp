// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_painter.h"

#include "reports/report_layout.h"
#include "reports/report_rows.h"
#include "reports/report_spool.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <memory>

namespace {

// Rules print one pixel wide on a 96 dpi screen.
constexpr qreal ruleWidth = 15;

} // namespace

ReportPagePainter::ReportPagePainter(QPainter &painter) : m_painter(painter) {}

ReportPagePainter::~ReportPagePainter() = default;

const ReportPagePainter::Face &ReportPagePainter::face(const ReportFont &font)
{
    for (const Face &face : m_faces) {
        if (face.font == font)
            return face;
    }
    // The painter resolves the font against its device; measure with what it draws.
    m_painter.setFont(toQFont(font));
    m_faces.push_back(
        Face{font, m_painter.font(), QFontMetricsF(m_painter.font(), m_painter.device())});
    return m_faces.back();
}

void ReportPagePainter::paint(const ReportPage &page)
{
    QPainter &painter = m_painter;
    const QPaintDevice *device = painter.device();
    const qreal sx = device->logicalDpiX() / twipsPerInch;
    const qreal sy = device->logicalDpiY() / twipsPerInch;
    // Lines measured at this resolution need not be measured again.
    const int dpi = device->logicalDpiX() == device->logicalDpiY() ? device->logicalDpiY() : -1;
    auto toDevice = [sx, sy](const QRectF &r) {
        return QRectF(r.left() * sx, r.top() * sy, r.width() * sx, r.height() * sy);
    };

    painter.save();
    // Fonts are sized in points against the device's resolution, so the painter keeps
    // device coordinates and only the geometry is scaled.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);
    QPen rule(Qt::black);
    rule.setWidthF(std::max<qreal>(1, ruleWidth * sy));
    rule.setCapStyle(Qt::FlatCap);

    const Face *current = nullptr;
    bool rulePen = false;
    for (const ReportItem &item : page.items) {
        if (item.kind == ReportItemKind::Line) {
            if (!rulePen)
                painter.setPen(rule);
            rulePen = true;
            const QRectF r = toDevice(item.rect);
            painter.drawLine(QPointF(r.left(), r.top()), QPointF(r.right(), r.top()));
            continue;
        }
        if (item.lines.isEmpty())
            continue;
        if (rulePen || !current) {
            painter.setPen(Qt::black);
            rulePen = false;
        }
        if (!current || !(current->font == item.font)) {
            current = &face(item.font);
            painter.setFont(current->qfont);
        }
        const int flags = int(item.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop |
                          Qt::TextSingleLine | Qt::TextDontClip;
        const bool measured = item.fitsAtDpi == dpi;
        for (qsizetype i = 0; i < item.lines.size(); ++i) {
            const QString &text = item.lines.at(i);
            if (text.isEmpty())
                continue;
            const QRectF line(item.rect.left(), item.rect.top() + i * item.lineHeight,
                              item.rect.width(), item.lineHeight);
            const QRectF target = toDevice(line);
            // Lines were broken at the layout's resolution; on a coarser device the
            // glyphs may come out a little wider, and a squeezed value is wider anyway.
            const qreal natural = measured ? 0 : current->metrics.horizontalAdvance(text);
            if (natural <= target.width()) {
                painter.drawText(target, flags, text);
                continue;
            }
            const qreal scale = target.width() / natural;
            painter.save();
            painter.translate(target.topLeft());
            painter.scale(scale, 1);
            painter.drawText(QRectF(0, 0, natural, target.height()), flags, text);
            painter.restore();
        }
    }
    painter.restore();
}

void paintReportPage(QPainter &painter, const ReportPage &page)
{
    ReportPagePainter(painter).paint(page);
}

namespace {

// Writes a PDF one sheet at a time; the file appears only when finish() succeeds.
class PdfPageWriter
{
public:
    explicit PdfPageWriter(const QString &filePath) : m_file(filePath) {}

    Check open(const QPageLayout &layout, const QString &title)
    {
        if (!m_file.open(QIODevice::WriteOnly))
            return fileFailure();
        m_writer = std::make_unique<QPdfWriter>(&m_file);
        m_writer->setResolution(1200);
        m_writer->setPageLayout(layout);
        m_writer->setTitle(title);
        m_writer->setCreator(QStringLiteral("Tavelo"));
        if (!m_painter.begin(m_writer.get()))
            return fail(QStringLiteral("Impossibile preparare il documento PDF."));
        m_pagePainter = std::make_unique<ReportPagePainter>(m_painter);
        return passed();
    }

    Check addPage(const ReportPage &page)
    {
        if (m_pages > 0 && !m_writer->newPage())
            return fail(QStringLiteral("Impossibile aggiungere una pagina al PDF."));
        m_pagePainter->paint(page);
        ++m_pages;
        return passed();
    }

    Check fail(const QString &reason)
    {
        if (m_painter.isActive())
            m_painter.end();
        m_file.cancelWriting();
        return Check::failure(reason);
    }

    Check finish()
    {
        m_painter.end();
        if (!m_file.commit())
            return fileFailure();
        return passed();
    }

private:
    Check fileFailure() const
    {
        return Check::failure(
            QStringLiteral("Impossibile scrivere il file %1: %2")
                .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
    }

    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    std::unique_ptr<ReportPagePainter> m_pagePainter;
    int m_pages = 0;
};

} // namespace

Check writeReportPdf(const ReportDocument &document, const QString &filePath,
                     const ReportProgress &progress)
{
    PdfPageWriter pdf(filePath);
    if (const Check opened = pdf.open(document.pageLayout, document.title); !opened.ok())
        return opened;
    const int pageCount = document.pageCount();
    for (int i = 0; i < pageCount; ++i) {
        if (const Check added = pdf.addPage(document.pages.at(i)); !added.ok())
            return added;
        if (progress && !progress(i + 1, pageCount))
            return pdf.fail(QStringLiteral("Esportazione annullata."));
    }
    return pdf.finish();
}

namespace {

// Lays out every page into the spool, which learns their number.
Outcome<int> spoolPages(ReportLayout &layout, ReportRows &rows, ReportPageSpool &spool,
                        const ReportProgress &progress)
{
    Check spooled = passed();
    const int pageCount = layout.run(rows, [&](ReportPage &&page) {
        if (spooled.ok())
            spooled = spool.write(page);
        if (progress)
            progress(page.number, 0);
    });
    if (!rows.errorString().isEmpty())
        return Outcome<int>::failure(rows.errorString());
    if (!spooled.ok())
        return Outcome<int>::failure(spooled.problem);
    return {pageCount, {}};
}

} // namespace

Check writeReportPdfStreamed(const ReportDefinition &definition, const OpenReportRows &openRows,
                             const QString &filePath, const ReportProgress &progress)
{
    // "%p" needs the number of pages on every page: the pages wait in a spool file until
    // the last is laid out.
    Outcome<std::unique_ptr<ReportRows>> rows = openRows();
    if (!rows.ok())
        return Check::failure(rows.problem);
    ReportPageSpool spool;
    if (const Check opened = spool.open(); !opened.ok())
        return opened;
    ReportLayout layout(definition);
    const Outcome<int> spooled = spoolPages(layout, *rows.value, spool, progress);
    if (!spooled.ok())
        return Check::failure(spooled.problem);
    const int pageCount = spooled.value;
    rows.value.reset();
    if (const Check rewound = spool.rewind(); !rewound.ok())
        return rewound;

    PdfPageWriter pdf(filePath);
    if (const Check opened = pdf.open(definition.page.sheetLayout(), definition.name); !opened.ok())
        return opened;
    for (int number = 1; number <= pageCount; ++number) {
        Outcome<ReportPage> page = spool.read();
        if (!page.ok())
            return pdf.fail(page.problem);
        layout.resolvePageCount(page.value, pageCount);
        if (const Check added = pdf.addPage(page.value); !added.ok())
            return added;
        if (progress && !progress(number, pageCount))
            return pdf.fail(QStringLiteral("Esportazione annullata."));
    }
    return pdf.finish();
}
