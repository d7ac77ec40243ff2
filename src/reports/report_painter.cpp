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

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

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
    PdfPageWriter(const QString &filePath, QString *error) : m_file(filePath), m_error(error) {}

    bool open(const QPageLayout &layout, const QString &title)
    {
        if (!m_file.open(QIODevice::WriteOnly)) {
            setError(m_error,
                     QStringLiteral("Impossibile scrivere il file %1: %2")
                         .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
            return false;
        }
        m_writer = std::make_unique<QPdfWriter>(&m_file);
        m_writer->setResolution(1200);
        m_writer->setPageLayout(layout);
        m_writer->setTitle(title);
        m_writer->setCreator(QStringLiteral("Tavelo"));
        if (!m_painter.begin(m_writer.get()))
            return fail(QStringLiteral("Impossibile preparare il documento PDF."));
        m_pagePainter = std::make_unique<ReportPagePainter>(m_painter);
        return true;
    }

    bool addPage(const ReportPage &page)
    {
        if (m_pages > 0 && !m_writer->newPage())
            return fail(QStringLiteral("Impossibile aggiungere una pagina al PDF."));
        m_pagePainter->paint(page);
        ++m_pages;
        return true;
    }

    bool fail(const QString &reason)
    {
        if (m_painter.isActive())
            m_painter.end();
        m_file.cancelWriting();
        setError(m_error, reason);
        return false;
    }

    bool finish()
    {
        m_painter.end();
        if (!m_file.commit()) {
            setError(m_error,
                     QStringLiteral("Impossibile scrivere il file %1: %2")
                         .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
            return false;
        }
        return true;
    }

private:
    QSaveFile m_file;
    QString *m_error;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    std::unique_ptr<ReportPagePainter> m_pagePainter;
    int m_pages = 0;
};

} // namespace

bool writeReportPdf(const ReportDocument &document, const QString &filePath, QString *error,
                    const ReportProgress &progress)
{
    PdfPageWriter pdf(filePath, error);
    if (!pdf.open(document.pageLayout, document.title))
        return false;
    const int pageCount = document.pageCount();
    for (int i = 0; i < pageCount; ++i) {
        if (!pdf.addPage(document.pages.at(i)))
            return false;
        if (progress && !progress(i + 1, pageCount))
            return pdf.fail(QStringLiteral("Esportazione annullata."));
    }
    return pdf.finish();
}

bool writeReportPdfStreamed(const ReportDefinition &definition, const OpenReportRows &openRows,
                            const QString &filePath, QString *error, const ReportProgress &progress)
{
    // "%p" needs the number of pages on every page: the pages wait in a spool file until
    // the last is laid out.
    std::unique_ptr<ReportRows> rows = openRows(error);
    if (!rows)
        return false;
    ReportPageSpool spool;
    if (!spool.open(error))
        return false;
    ReportLayout layout(definition);
    bool spooled = true;
    const int pageCount = layout.run(*rows, [&](ReportPage &&page) {
        spooled = spooled && spool.write(page);
        if (progress)
            progress(page.number, 0);
    });
    if (!rows->errorString().isEmpty()) {
        setError(error, rows->errorString());
        return false;
    }
    if (!spooled) {
        setError(error, spool.errorString());
        return false;
    }
    rows.reset();
    if (!spool.rewind(error))
        return false;

    PdfPageWriter pdf(filePath, error);
    if (!pdf.open(definition.page.sheetLayout(), definition.name))
        return false;
    for (int number = 1; number <= pageCount; ++number) {
        ReportPage page;
        if (!spool.read(page))
            return pdf.fail(spool.errorString());
        layout.resolvePageCount(page, pageCount);
        if (!pdf.addPage(page))
            return false;
        if (progress && !progress(number, pageCount))
            return pdf.fail(QStringLiteral("Esportazione annullata."));
    }
    return pdf.finish();
}
