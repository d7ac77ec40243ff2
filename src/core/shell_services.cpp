// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell_services.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

void OpenWithShell(QWidget *owner, const QString &target)
{
    Q_UNUSED(owner);
    const QUrl url =
        target.contains(QLatin1String("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

namespace {

// Exec takes its argument quoted when it holds blanks or the characters that the
// desktop entry format reserves.
QString quotedExec(const QString &path)
{
    QString escaped = path;
    for (const char *special : {"\\", "\"", "`", "$"})
        escaped.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    escaped.replace(QLatin1String("%"), QLatin1String("%%"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

bool CreateDesktopShortcut(const QString &folder, const QString &linkName, const QString &linkPath)
{
    // The desktop folder belongs to the desktop environment: when it is missing there
    // is no desktop to place the launcher on.
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || linkPath.isEmpty())
        return false;
    const QString fileName = QDir(folder).filePath(linkName + QLatin1String(".desktop"));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QFileInfo program(linkPath);
    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Version=1.0\n"
                                   "Name=%1\n"
                                   "Comment=Scadenze\n"
                                   "Exec=%2\n"
                                   "Path=%3\n"
                                   "Terminal=false\n"
                                   "Categories=Office;\n")
                        .arg(linkName, quotedExec(linkPath), program.absolutePath());
    const QString icon = program.absoluteDir().filePath(QStringLiteral("tavelo.svg"));
    // A build from source keeps its picture beside the program; an installed program has
    // it in the icon theme.
    entry += QStringLiteral("Icon=%1\n").arg(QFileInfo::exists(icon) ? icon : QStringLiteral("tavelo"));
    file.write(entry.toUtf8());
    if (!file.commit())
        return false;
    QFile::setPermissions(fileName, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther);
    return true;
}
