// SPDX-License-Identifier: GPL-3.0-or-later
#include "limited_child.h"

#include <QDirIterator>
#include <QFile>
#include <QSqlDatabase>

#include <cerrno>
#include <cstddef>
#include <cstdio>

#include <grp.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const int limitRefused = 77;

// Makes one system call fail with errorNumber for this process from now on.
bool failSystemCall(long number, int errorNumber)
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(number), 0, 1),
        BPF_STMT(BPF_RET | BPF_K,
                 SECCOMP_RET_ERRNO | (static_cast<__u32>(errorNumber) & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program = {static_cast<unsigned short>(sizeof(filter) / sizeof(filter[0])), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Returns why the limit could not be set, or nullptr.
const char *applyLimit(ChildLimit limit)
{
    switch (limit) {
    case ChildLimit::None:
        return nullptr;
    case ChildLimit::Unprivileged:
        // The user and group "nobody".
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            return "cannot drop root privileges here";
        return geteuid() == 0 ? "still root" : nullptr;
    case ChildLimit::DiskFull:
        return failSystemCall(SYS_pwrite64, ENOSPC) ? nullptr : "seccomp is not available";
    case ChildLimit::DiskError:
        return failSystemCall(SYS_pread64, EIO) ? nullptr : "seccomp is not available";
    }
    return "unknown limit";
}

} // namespace

ChildRun runLimited(ChildLimit limit, const std::function<QString()> &work)
{
    // The database driver is loaded before the fork, so that the child loads no library
    // while its reads fail.
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("limited-child-probe"));
    QSqlDatabase::removeDatabase(QStringLiteral("limited-child-probe"));

    int fds[2];
    if (pipe(fds) != 0)
        return {false, QStringLiteral("pipe failed")};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        return {false, QStringLiteral("fork failed")};
    if (pid == 0) {
        ::close(fds[0]);
        const char *refused = applyLimit(limit);
        const QByteArray output = refused ? QByteArray(refused) : work().toUtf8();
        const bool written =
            ::write(fds[1], output.constData(), size_t(output.size())) == output.size();
        _exit(refused ? limitRefused : !written);
    }
    ::close(fds[1]);
    QFile reader;
    reader.open(fds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray output = reader.readAll();
    int status = 0;
    waitpid(pid, &status, 0);
    return {!WIFEXITED(status) || WEXITSTATUS(status) != limitRefused, QString::fromUtf8(output)};
}

void openToEverybody(const QString &folder)
{
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    for (QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QFileInfo entry = it.nextFileInfo();
        ::chmod(QFile::encodeName(entry.filePath()).constData(), entry.isDir() ? 0777 : 0666);
    }
}
