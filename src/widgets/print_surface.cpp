// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/print_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// Prints on the system's default printer with a painter whose coordinates are the
// surface's scale units.
class PrinterSurface : public PrintSurface
{
public:
    bool begin() override
    {
        if (QPrinterInfo::defaultPrinter().isNull()) {
            m_error = QStringLiteral("Nessuna stampante predefinita disponibile.");
            return false;
        }
        m_printer =
            std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        m_printer->setPageOrientation(QPageLayout::Landscape);
        m_printer->setDocName(QStringLiteral("Tavelo"));
        if (!m_painter.begin(m_printer.get())) {
            m_error = QStringLiteral("La stampante «%1» non è disponibile.")
                          .arg(m_printer->printerName());
            return false;
        }
        m_area = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
        return true;
    }
    void setFont(const QString &face, int pointSize) override
    {
        m_font = QFont(face, pointSize);
        applyFont();
    }
    void setBold(bool bold) override
    {
        m_font.setBold(bold);
        applyFont();
    }
    void setScale(double width, double height) override
    {
        m_scaleX = m_area.width() / width;
        m_scaleY = m_area.height() / height;
    }
    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setCurrentX(double x) override { m_x = x; }
    void setCurrentY(double y) override { m_y = y; }
    double textWidth(const QString &text) const override
    {
        return QFontMetricsF(m_font, m_printer.get()).horizontalAdvance(text) / m_scaleX;
    }
    void print(const QString &text) override
    {
        const QFontMetricsF metrics(m_font, m_printer.get());
        m_painter.drawText(QPointF(m_x * m_scaleX, m_y * m_scaleY + metrics.ascent()), text);
        m_x = 0;
        m_y += metrics.height() / m_scaleY;
    }
    void drawLine(double x1, double y1, double x2, double y2, const QColor &colour) override
    {
        m_painter.setPen(QPen(colour, 0));
        m_painter.drawLine(QPointF(x1 * m_scaleX, y1 * m_scaleY),
                           QPointF(x2 * m_scaleX, y2 * m_scaleY));
    }
    void newPage() override
    {
        if (!m_printer->newPage())
            m_failed = true;
        m_x = 0;
        m_y = 0;
    }
    bool end() override
    {
        if (!m_painter.end() || m_failed) {
            m_error = QStringLiteral("La stampa non è riuscita.");
            return false;
        }
        return true;
    }
    void abort() override
    {
        if (m_printer)
            m_printer->abort();
        if (m_painter.isActive())
            m_painter.end();
    }
    QString errorString() const override { return m_error; }

private:
    void applyFont()
    {
        if (m_painter.isActive())
            m_painter.setFont(m_font);
    }

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QFont m_font;
    QRectF m_area;
    double m_scaleX = 1;
    double m_scaleY = 1;
    double m_x = 0;
    double m_y = 0;
    bool m_failed = false;
    QString m_error;
};

std::function<std::unique_ptr<PrintSurface>()> &factory()
{
    static std::function<std::unique_ptr<PrintSurface>()> installed;
    return installed;
}

} // namespace

std::unique_ptr<PrintSurface> PrintSurface::createDefault()
{
    if (factory())
        return factory()();
    return std::make_unique<PrinterSurface>();
}

void PrintSurface::setFactory(std::function<std::unique_ptr<PrintSurface>()> make)
{
    factory() = std::move(make);
}
