// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_painter.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

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

bool writeReportPdf(const ReportDocument &document, const QString &filePath, QString *error,
                    const ReportProgress &progress)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("Impossibile scrivere il file %1: %2")
                            .arg(QDir::toNativeSeparators(filePath), file.errorString()));
        return false;
    }

    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setPageLayout(document.pageLayout);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Tavelo"));

    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        setError(error, QStringLiteral("Impossibile preparare il documento PDF."));
        return false;
    }
    const int pageCount = document.pageCount();
    for (int i = 0; i < pageCount; ++i) {
        if (i > 0 && !writer.newPage()) {
            painter.end();
            file.cancelWriting();
            setError(error, QStringLiteral("Impossibile aggiungere una pagina al PDF."));
            return false;
        }
        paintReportPage(painter, document.pages.at(i));
        if (progress && !progress(i + 1, pageCount)) {
            painter.end();
            file.cancelWriting();
            setError(error, QStringLiteral("Esportazione annullata."));
            return false;
        }
    }
    painter.end();
    if (!file.commit()) {
        setError(error, QStringLiteral("Impossibile scrivere il file %1: %2")
                            .arg(QDir::toNativeSeparators(filePath), file.errorString()));
        return false;
    }
    return true;
}
