// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_print_surface.h"

#include "widgets/print_surface.h"

#include <memory>

namespace {

// The surface handed to the program belongs to the program; the record stays here.
class RecordingSurface : public PrintSurface
{
public:
    explicit RecordingSurface(RecordingPrintSurface *record) : r(record) {}
    bool begin() override { return !r->failBegin; }
    void setFont(const QString &face, int size) override
    {
        r->face = face;
        r->pointSize = size;
    }
    void setBold(bool on) override { r->bold = on; }
    void setScale(double w, double h) override
    {
        r->scaleWidth = w;
        r->scaleHeight = h;
    }
    double currentX() const override { return r->x; }
    double currentY() const override { return r->y; }
    void setCurrentX(double x) override { r->x = x; }
    void setCurrentY(double y) override { r->y = y; }
    double textWidth(const QString &text) const override { return text.size(); }
    void print(const QString &text) override
    {
        r->texts.append({r->pages, r->x, r->y, text, r->bold});
        r->x = 0;
        r->y += r->lineHeight;
    }
    void drawLine(double x1, double y1, double x2, double y2, const QColor &) override
    {
        r->lines.append({r->pages, x1, y1, x2, y2});
    }
    void newPage() override { ++r->pages; }
    bool end() override { return r->ended = !r->failEnd; }
    void abort() override { r->aborted = true; }
    QString errorString() const override { return QStringLiteral("stampante di prova guasta"); }

private:
    RecordingPrintSurface *r;
};

std::unique_ptr<RecordingPrintSurface> current;

} // namespace

RecordingPrintSurface *RecordingPrintSurface::install()
{
    current = std::make_unique<RecordingPrintSurface>();
    PrintSurface::setFactory([r = current.get()] { return std::make_unique<RecordingSurface>(r); });
    return current.get();
}

void RecordingPrintSurface::uninstall()
{
    PrintSurface::setFactory({});
    current.reset();
}

QList<RecordingPrintSurface::Text> RecordingPrintSurface::textsOnPage(int page) const
{
    QList<Text> onPage;
    for (const Text &t : texts)
        if (t.page == page)
            onPage.append(t);
    return onPage;
}
