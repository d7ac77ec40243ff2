// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_painter.h"

#include "reports/report_layout.h"
#include "reports/report_rows.h"

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

void paintReportPage(QPainter &painter, const ReportPage &page)
{
    const QPaintDevice *device = painter.device();
    const qreal sx = device->logicalDpiX() / twipsPerInch;
    const qreal sy = device->logicalDpiY() / twipsPerInch;
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

    for (const ReportItem &item : page.items) {
        if (item.kind == ReportItemKind::Line) {
            painter.setPen(rule);
            const QRectF r = toDevice(item.rect);
            painter.drawLine(QPointF(r.left(), r.top()), QPointF(r.right(), r.top()));
            continue;
        }
        if (item.lines.isEmpty())
            continue;
        painter.setPen(Qt::black);
        painter.setFont(toQFont(item.font));
        const QFontMetricsF metrics(painter.font(), painter.device());
        const int flags = int(item.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop |
                          Qt::TextSingleLine | Qt::TextDontClip;
        for (qsizetype i = 0; i < item.lines.size(); ++i) {
            if (item.lines.at(i).isEmpty())
                continue;
            const QRectF line(item.rect.left(), item.rect.top() + i * item.lineHeight,
                              item.rect.width(), item.lineHeight);
            const QRectF target = toDevice(line);
            // Lines were broken at the layout's resolution; on a coarser device the
            // glyphs may come out a little wider, and a squeezed value is wider anyway.
            const qreal natural = metrics.horizontalAdvance(item.lines.at(i));
            if (natural <= target.width()) {
                painter.drawText(target, flags, item.lines.at(i));
                continue;
            }
            const qreal scale = target.width() / natural;
            painter.save();
            painter.translate(target.topLeft());
            painter.scale(scale, 1);
            painter.drawText(QRectF(0, 0, natural, target.height()), flags, item.lines.at(i));
            painter.restore();
        }
    }
    painter.restore();
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
        return true;
    }

    bool addPage(const ReportPage &page)
    {
        if (m_pages > 0 && !m_writer->newPage())
            return fail(QStringLiteral("Impossibile aggiungere una pagina al PDF."));
        paintReportPage(m_painter, page);
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
    // First pass: only the number of pages, which "%p" needs on every page.
    std::unique_ptr<ReportRows> counted = openRows(error);
    if (!counted)
        return false;
    ReportLayout counting(definition);
    const int pageCount = counting.run(*counted, [&progress](ReportPage &&page) {
        if (progress)
            progress(page.number, 0);
    });
    if (!counted->errorString().isEmpty()) {
        setError(error, counted->errorString());
        return false;
    }
    counted.reset();

    std::unique_ptr<ReportRows> rows = openRows(error);
    if (!rows)
        return false;
    PdfPageWriter pdf(filePath, error);
    if (!pdf.open(definition.page.sheetLayout(), definition.name))
        return false;
    ReportLayout layout(definition);
    bool ok = true;
    QString reason;
    layout.run(*rows, [&](ReportPage &&page) {
        if (!ok)
            return;
        layout.resolvePageCount(page, pageCount);
        if (!pdf.addPage(page)) {
            ok = false;
            return;
        }
        if (progress && !progress(page.number, pageCount)) {
            ok = false;
            reason = QStringLiteral("Esportazione annullata.");
        }
    });
    if (!ok)
        return reason.isEmpty() ? false : pdf.fail(reason);
    if (!rows->errorString().isEmpty())
        return pdf.fail(rows->errorString());
    return pdf.finish();
}
