// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_print_surface.h"

namespace {

// The surface handed to the program belongs to the program; the record stays here.
class ForwardingSurface : public PrintSurface
{
public:
    explicit ForwardingSurface(RecordingPrintSurface *record) : m_record(record) {}
    bool begin() override { return m_record->begin(); }
    void setFont(const QString &face, int size) override { m_record->setFont(face, size); }
    void setBold(bool on) override { m_record->setBold(on); }
    void setScale(double w, double h) override { m_record->setScale(w, h); }
    double currentX() const override { return m_record->currentX(); }
    double currentY() const override { return m_record->currentY(); }
    void setCurrentX(double x) override { m_record->setCurrentX(x); }
    void setCurrentY(double y) override { m_record->setCurrentY(y); }
    double textWidth(const QString &text) const override { return m_record->textWidth(text); }
    void print(const QString &text) override { m_record->print(text); }
    void drawLine(double x1, double y1, double x2, double y2, const QColor &c) override
    {
        m_record->drawLine(x1, y1, x2, y2, c);
    }
    void newPage() override { m_record->newPage(); }
    bool end() override { return m_record->end(); }
    void abort() override { m_record->abort(); }
    QString errorString() const override { return m_record->errorString(); }

private:
    RecordingPrintSurface *m_record;
};

std::unique_ptr<RecordingPrintSurface> &current()
{
    static std::unique_ptr<RecordingPrintSurface> record;
    return record;
}

} // namespace

RecordingPrintSurface *RecordingPrintSurface::install()
{
    current() = std::make_unique<RecordingPrintSurface>();
    RecordingPrintSurface *record = current().get();
    PrintSurface::setFactory([record] { return std::make_unique<ForwardingSurface>(record); });
    return record;
}

void RecordingPrintSurface::uninstall()
{
    PrintSurface::setFactory({});
    current().reset();
}

QList<RecordingPrintSurface::Text> RecordingPrintSurface::textsOnPage(int page) const
{
    QList<Text> onPage;
    for (const Text &t : texts)
        if (t.page == page)
            onPage.append(t);
    return onPage;
}

bool RecordingPrintSurface::begin()
{
    return !failBegin;
}

void RecordingPrintSurface::print(const QString &text)
{
    texts.append({pages, m_x, m_y, text, m_bold});
    m_x = 0;
    m_y += lineHeight;
}

bool RecordingPrintSurface::end()
{
    ended = !failEnd;
    return ended;
}
