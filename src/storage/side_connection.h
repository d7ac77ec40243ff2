// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <atomic>

// Where the archive that the program has open is, as another thread can reach it: the
// data file, or the name of the program's own server connection to copy. Read on the
// program's thread; empty when nothing is open.
struct ArchivePlace
{
    QString filePath;
    QString serverConnection;
    bool isEmpty() const { return filePath.isEmpty() && serverConnection.isEmpty(); }
    static ArchivePlace ofOpenArchive();
};

// A connection of its own to the open archive, for a read that grows with the archive
// and must not hold back the windows: the data file read-only, or one more session on
// the server. It is made, used and closed on the thread that constructs it. On the file,
// a read in progress gives up (with an error) once `stop` is set.
class SideConnection
{
public:
    SideConnection(const ArchivePlace &place, const std::atomic<bool> *stop);
    ~SideConnection();
    SideConnection(const SideConnection &) = delete;
    SideConnection &operator=(const SideConnection &) = delete;

    bool isOpen() const;
    QSqlDatabase database() const;

private:
    QString m_name;
};
