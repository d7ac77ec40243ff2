// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"
#include "app/window_pair.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    ArchiveChoice archive;
    QString message;
    bool helpAsked = false;
    if (!chooseArchive(QApplication::arguments(), &archive, &message, &helpAsked)) {
        std::fprintf(stderr, "tavelo: %s", qPrintable(message));
        return 2;
    }
    if (helpAsked) {
        std::fprintf(stdout, "%s", qPrintable(message));
        return 0;
    }
    std::unique_ptr<WindowPair> windows = Main(archive.dataFile, archive.server);
    if (!windows)
        return 1;
    return app.exec();
}
