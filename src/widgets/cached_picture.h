// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// An SVG picture drawn at one size, kept in the user's cache folder after its first
// drawing: a picture with words needs a font of its own, which would hold back every
// start. The file's name holds the picture's content and size, so that a changed picture
// or place is drawn afresh; a cache file that cannot be read is drawn afresh too.
QPixmap cachedPicture(const QString &svgResource, const QSize &size);

// Where that picture is kept; empty when the resource cannot be read.
QString cachedPicturePath(const QString &svgResource, const QSize &size);
