// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cached_picture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
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

QString pathFor(const QByteArray &svg, const QSize &size)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (svg.isEmpty() || folder.isEmpty())
        return {};
    const QByteArray digest = QCryptographicHash::hash(svg, QCryptographicHash::Sha256).toHex();
    return QDir(folder).filePath(QStringLiteral("pictures/%1-%2x%3.png")
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
    // Read as a PNG and nothing else: left to guess, Qt would load every image format
    // plugin to ask each one first.
    QFile keptFile(path);
    if (!path.isEmpty() && keptFile.open(QIODevice::ReadOnly)) {
        QImageReader reader(&keptFile, "png");
        reader.setAutoDetectImageFormat(false);
        const QImage kept = reader.read();
        if (kept.size() == size)
            return QPixmap::fromImage(kept);
    }
    QPixmap pixmap = renderPicture(svg, size);
    // Not kept is no harm: the next start draws it again.
    QSaveFile file(path);
    if (!path.isEmpty() && QDir().mkpath(QFileInfo(path).absolutePath()) &&
        file.open(QIODevice::WriteOnly) && pixmap.save(&file, "PNG"))
        file.commit();
    return pixmap;
}
