// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the user guide, written in Markdown, into Istruzioni.pdf at build time.
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: make_guide <guida.md> <Istruzioni.pdf>\n");
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
    guide.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Tavelo — Istruzioni"));

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setTitle(QStringLiteral("Tavelo — Istruzioni"));
    pdf.setCreator(QStringLiteral("Tavelo"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    guide.print(&pdf);
    return 0;
}
