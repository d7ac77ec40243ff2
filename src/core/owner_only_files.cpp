// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/owner_only_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool makeOwnerOnlyFolder(const QString &path)
{
    const QFileInfo folder(path);
    if (folder.isDir())
        return true;
    if (!QDir().mkpath(folder.absolutePath()))
        return false;
    // The mode is given at creation: a chmod afterwards would leave a moment open.
    return ::mkdir(QFile::encodeName(folder.absoluteFilePath()).constData(), 0700) == 0 ||
           QFileInfo(path).isDir();
}

bool createOwnerOnlyFile(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
