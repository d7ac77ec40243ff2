// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"
#include "app/window_pair.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    const Outcome<ArchiveChoice> archive = chooseArchive(QApplication::arguments());
    if (!archive.ok()) {
        std::fprintf(stderr, "tavelo: %s", qPrintable(archive.problem));
        return 2;
    }
    if (!archive.value.help.isEmpty()) {
        std::fprintf(stdout, "%s", qPrintable(archive.value.help));
        return 0;
    }
    std::unique_ptr<WindowPair> windows = Main(archive.value.dataFile, archive.value.server);
    if (!windows)
        return 1;
    return app.exec();
}
