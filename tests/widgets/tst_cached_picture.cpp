// SPDX-License-Identifier: GPL-3.0-or-later
// The window's picture kept between starts: read back as it was drawn, at its own size.
#include "test_support.h"

#include "widgets/cached_picture.h"

#include <QFile>
#include <QTemporaryDir>

class TestCachedPicture : public QObject
{
    Q_OBJECT

private slots:
    void keptPictureIsTheDrawnOne_data();
    void keptPictureIsTheDrawnOne();
};

void TestCachedPicture::keptPictureIsTheDrawnOne_data()
{
    QTest::addColumn<QByteArray>("keptBefore"); // what the cache file holds beforehand
    QTest::newRow("first start") << QByteArray();
    QTest::newRow("unreadable file") << QByteArray("not a picture");
}

void TestCachedPicture::keptPictureIsTheDrawnOne()
{
    QFETCH(QByteArray, keptBefore);
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    const QString svg = QStringLiteral(":/pictures/scadenze.svg");
    const QString path = cachedPicturePath(svg, {204, 160});
    QVERIFY(path.startsWith(cache.path()) && path != cachedPicturePath(svg, {100, 80}));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile before(path);
    QVERIFY(keptBefore.isEmpty() ||
            (before.open(QIODevice::WriteOnly) && before.write(keptBefore)));
    before.close();
    const QImage drawn = cachedPicture(svg, {204, 160}).toImage();
    QCOMPARE(drawn.size(), QSize(204, 160));
    QVERIFY(drawn.pixelColor(100, 30).alpha() > 0); // something was drawn
    QCOMPARE(QImage(path).size(), QSize(204, 160));
    QCOMPARE(cachedPicture(svg, {204, 160}).toImage().convertToFormat(drawn.format()), drawn);
    QCOMPARE(cachedPicture(svg, {100, 80}).size(), QSize(100, 80));
}

TAVELO_TEST_MAIN(TestCachedPicture)
#include "tst_cached_picture.moc"
