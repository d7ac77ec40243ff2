// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the user guide, written in Markdown, into Istruzioni.pdf at build time, with the
// pictures of the windows that make_pictures rendered beside it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>

namespace {

// Loads each picture from the folder; one wider than the text shrinks to the text's width, keeping
// its proportions.
bool fitPictures(QTextDocument &guide, const QDir &pictureFolder, qreal textWidth)
{
    bool allFound = true;
    for (QTextBlock block = guide.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage image(pictureFolder.filePath(QFileInfo(format.name()).fileName()));
            if (image.isNull()) {
                std::fprintf(stderr, "make_guide: manca l'immagine %s\n",
                             qPrintable(format.name()));
                allFound = false;
                continue;
            }
            // Added as a resource, so that the printed copy of the document has it too.
            guide.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
            const qreal width = qMin<qreal>(image.width(), textWidth);
            format.setWidth(width);
            format.setHeight(image.height() * width / image.width());
            QTextCursor cursor(&guide);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return allFound;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr,
                     "uso: make_guide <guida.md> <cartella delle immagini> <Istruzioni.pdf>\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "make_guide: %s non si legge\n", argv[1]);
        return 1;
    }
    QTextDocument guide;
    guide.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 11));
    guide.setDefaultStyleSheet(QStringLiteral("table { border-collapse: collapse; }"
                                              "th, td { padding: 3px 8px; }"));
    guide.setMarkdown(QString::fromUtf8(source.readAll()));
    // The guide names its pictures "pictures/<name>.png".
    if (!fitPictures(guide, QDir(QString::fromLocal8Bit(argv[2])), 560))
        return 1;
    guide.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Tavelo — Istruzioni"));

    QPdfWriter pdf(QString::fromLocal8Bit(argv[3]));
    pdf.setTitle(QStringLiteral("Tavelo — Istruzioni"));
    pdf.setCreator(QStringLiteral("Tavelo"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    guide.print(&pdf);
    return 0;
}
