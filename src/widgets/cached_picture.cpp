// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cached_picture.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgRenderer>

namespace {

QPixmap renderPicture(const QByteArray &svg, const QSize &size)
{
    QSvgRenderer renderer(svg);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QByteArray resourceBytes(const QString &svgResource)
{
    QFile file(svgResource);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Kept as the drawing's own bytes after a short header, read back without decoding:
// a PNG would take its inflating and, read by Qt, the loading of every image format
// plugin of the system.
constexpr QImage::Format keptFormat = QImage::Format_ARGB32_Premultiplied;
constexpr qsizetype keptHeader = 4 * sizeof(quint32);

QByteArray keptBytes(const QImage &image)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint32(image.width()) << quint32(image.height()) << quint32(image.bytesPerLine())
        << quint32(image.format());
    out.writeRawData(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
    return bytes;
}

// Empty unless the bytes hold a whole drawing of that size.
QImage keptImage(const QByteArray &bytes, const QSize &size)
{
    QDataStream in(bytes);
    quint32 width = 0, height = 0, bytesPerLine = 0, format = 0;
    in >> width >> height >> bytesPerLine >> format;
    if (in.status() != QDataStream::Ok || QSize(int(width), int(height)) != size ||
        format != quint32(keptFormat) || bytesPerLine != width * 4 ||
        bytes.size() != keptHeader + qsizetype(bytesPerLine) * height)
        return {};
    return QImage(reinterpret_cast<const uchar *>(bytes.constData()) + keptHeader, int(width),
                  int(height), int(bytesPerLine), keptFormat)
        .copy();
}

QString pathFor(const QByteArray &svg, const QSize &size)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (svg.isEmpty() || folder.isEmpty())
        return {};
    const QByteArray digest = QCryptographicHash::hash(svg, QCryptographicHash::Sha256).toHex();
    return QDir(folder).filePath(QStringLiteral("pictures/%1-%2x%3.argb")
                                     .arg(QLatin1String(digest.left(32)))
                                     .arg(size.width())
                                     .arg(size.height()));
}

} // namespace

QString cachedPicturePath(const QString &svgResource, const QSize &size)
{
    return pathFor(resourceBytes(svgResource), size);
}

QPixmap cachedPicture(const QString &svgResource, const QSize &size)
{
    const QByteArray svg = resourceBytes(svgResource);
    const QString path = pathFor(svg, size);
    QFile keptFile(path);
    if (!path.isEmpty() && keptFile.open(QIODevice::ReadOnly)) {
        const QImage kept = keptImage(keptFile.readAll(), size);
        if (!kept.isNull())
            return QPixmap::fromImage(kept);
    }
    const QPixmap pixmap = renderPicture(svg, size);
    // Not kept is no harm: the next start draws it again.
    QSaveFile file(path);
    if (!path.isEmpty() && QDir().mkpath(QFileInfo(path).absolutePath()) &&
        file.open(QIODevice::WriteOnly) &&
        file.write(keptBytes(pixmap.toImage().convertToFormat(keptFormat))) > 0)
        file.commit();
    return pixmap;
}
