// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_spool.h"

#include <QDir>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

// An id not seen before is followed by what it stands for.
constexpr qint32 newEntry = -1;

} // namespace

Check ReportPageSpool::open()
{
    m_file.setFileTemplate(QDir(QDir::tempPath()).filePath(QStringLiteral("tavelo-XXXXXX.pagine")));
    if (!m_file.open())
        return Check::failure(errorString());
    return passed();
}

QString ReportPageSpool::errorString() const
{
    return QStringLiteral("Impossibile usare il file temporaneo %1: %2")
        .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString());
}

template <typename T> void ReportPageSpool::put(const T &value)
{
    static_assert(std::is_trivially_copyable_v<T>);
    m_buffer.append(reinterpret_cast<const char *>(&value), sizeof value);
}

void ReportPageSpool::putText(const QString &text)
{
    put(qint64(text.size()));
    m_buffer.append(reinterpret_cast<const char *>(text.constData()),
                    text.size() * qsizetype(sizeof(QChar)));
}

void ReportPageSpool::putName(const QString &name)
{
    auto known = m_nameIds.constFind(name);
    if (known != m_nameIds.constEnd()) {
        put(known.value());
        return;
    }
    m_nameIds.insert(name, qint32(m_nameIds.size()));
    put(newEntry);
    putText(name);
}

void ReportPageSpool::putFont(const ReportFont &font)
{
    auto known = std::find(m_fontsWritten.cbegin(), m_fontsWritten.cend(), font);
    if (known != m_fontsWritten.cend()) {
        put(qint32(known - m_fontsWritten.cbegin()));
        return;
    }
    m_fontsWritten.push_back(font);
    put(newEntry);
    putText(font.face);
    put(font.pointSize);
    put(quint8(font.bold | font.italic << 1 | font.underline << 2));
}

Check ReportPageSpool::write(const ReportPage &page)
{
    m_buffer.clear();
    put(qint32(page.number));
    put(qint64(page.bands.size()));
    for (const ReportBand &band : page.bands) {
        put(band.section);
        put(band.top);
        put(band.height);
        put(band.row);
        put(band.continued);
    }
    put(qint64(page.items.size()));
    for (const ReportItem &item : page.items) {
        put(item.kind);
        put(item.section);
        putName(item.controlName);
        put(item.rect);
        if (item.kind == ReportItemKind::Line)
            continue;
        putFont(item.font);
        put(item.alignment.toInt());
        put(qint64(item.lines.size()));
        for (const QString &line : item.lines)
            putText(line);
        put(item.lineHeight);
        put(item.fitsAtDpi);
        putText(item.pendingText);
    }
    const qint64 size = m_buffer.size();
    if (m_file.write(reinterpret_cast<const char *>(&size), sizeof size) != sizeof size ||
        m_file.write(m_buffer) != size)
        return Check::failure(errorString());
    return passed();
}

Check ReportPageSpool::rewind()
{
    if (m_file.flush() && m_file.seek(0))
        return passed();
    return Check::failure(errorString());
}

Outcome<ReportPage> ReportPageSpool::read()
{
    Outcome<ReportPage> page;
    if (!readPage(page.value))
        return Outcome<ReportPage>::failure(errorString());
    return page;
}

template <typename T> bool ReportPageSpool::get(T &value)
{
    static_assert(std::is_trivially_copyable_v<T>);
    if (m_at + qsizetype(sizeof value) > m_size)
        return false;
    std::memcpy(&value, m_data + m_at, sizeof value);
    m_at += sizeof value;
    return true;
}

bool ReportPageSpool::getText(QString &text)
{
    qint64 size = 0;
    if (!get(size) || size < 0 || m_at + size * qint64(sizeof(QChar)) > m_size)
        return false;
    text = QString(reinterpret_cast<const QChar *>(m_data + m_at), size);
    m_at += size * sizeof(QChar);
    return true;
}

bool ReportPageSpool::getName(QString &name)
{
    qint32 id = 0;
    if (!get(id))
        return false;
    if (id != newEntry) {
        if (id < 0 || id >= m_names.size())
            return false;
        name = m_names.at(id);
        return true;
    }
    if (!getText(name))
        return false;
    m_names.append(name);
    return true;
}

bool ReportPageSpool::getFont(ReportFont &font)
{
    qint32 id = 0;
    if (!get(id))
        return false;
    if (id != newEntry) {
        if (id < 0 || size_t(id) >= m_fontsRead.size())
            return false;
        font = m_fontsRead[id];
        return true;
    }
    quint8 style = 0;
    if (!getText(font.face) || !get(font.pointSize) || !get(style))
        return false;
    font.bold = style & 1;
    font.italic = style & 2;
    font.underline = style & 4;
    m_fontsRead.push_back(font);
    return true;
}

bool ReportPageSpool::readPage(ReportPage &page)
{
    qint64 size = 0;
    if (m_file.read(reinterpret_cast<char *>(&size), sizeof size) != sizeof size || size < 0)
        return false;
    m_buffer.resize(size);
    if (m_file.read(m_buffer.data(), size) != size)
        return false;
    m_data = m_buffer.constData();
    m_size = size;
    m_at = 0;

    page = ReportPage();
    qint32 number = 0;
    qint64 count = 0;
    if (!get(number) || !get(count) || count < 0)
        return false;
    page.number = number;
    page.bands.resize(count);
    for (ReportBand &band : page.bands) {
        if (!get(band.section) || !get(band.top) || !get(band.height) || !get(band.row) ||
            !get(band.continued))
            return false;
    }
    if (!get(count) || count < 0)
        return false;
    page.items.resize(count);
    for (ReportItem &item : page.items) {
        if (!get(item.kind) || !get(item.section) || !getName(item.controlName) || !get(item.rect))
            return false;
        if (item.kind == ReportItemKind::Line)
            continue;
        int alignment = 0;
        qint64 lines = 0;
        if (!getFont(item.font) || !get(alignment) || !get(lines) || lines < 0)
            return false;
        item.alignment = Qt::Alignment::fromInt(alignment);
        item.lines.resize(lines);
        for (QString &line : item.lines) {
            if (!getText(line))
                return false;
        }
        if (!get(item.lineHeight) || !get(item.fitsAtDpi) || !getText(item.pendingText))
            return false;
    }
    return m_at == m_size;
}
