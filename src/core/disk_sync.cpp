// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disk_sync.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool syncPath(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

bool syncFileToDisk(const QString &path)
{
    return syncPath(path, O_RDONLY);
}

bool syncFolderToDisk(const QString &path)
{
    return syncPath(path, O_RDONLY | O_DIRECTORY);
}
