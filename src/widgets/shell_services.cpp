// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/shell_services.h"

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

// A value of the desktop entry format is read in two layers: first the string layer
// undoes the escapes \\ \n \t \r \s, then Exec's own layer undoes the quoting of its
// arguments and the field codes (%% for a percent sign). Escaping runs the
// other way round: Exec's layer first, the string layer over it.
QString escapedString(const QString &value)
{
    QString escaped;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            escaped += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            escaped += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            escaped += QLatin1String("\\r");
        else
            escaped += c;
    }
    return escaped;
}

// Exec takes the program quoted, so that blanks and reserved characters stay part of
// its path: inside the quotes a backslash, a quote, a backtick and a dollar sign take
// a backslash before them.
QString quotedExec(const QString &path)
{
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"') || c == QLatin1Char('`') ||
            c == QLatin1Char('$'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1String("%"), QLatin1String("%%"));
    return escapedString(QLatin1Char('"') + quoted + QLatin1Char('"'));
}

} // namespace

bool CreateDesktopShortcut(const QString &folder, const QString &linkName, const QString &linkPath)
{
    // The desktop folder belongs to the desktop environment: when it is missing there
    // is no desktop to place the launcher on.
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || linkPath.isEmpty())
        return false;
    const QString fileName = QDir(folder).filePath(linkName + QLatin1String(".desktop"));
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
                        .arg(escapedString(linkName), quotedExec(linkPath),
                             escapedString(program.absolutePath()));
    const QString icon = program.absoluteDir().filePath(QStringLiteral("tavelo.svg"));
    // A build from source keeps its picture beside the program; an installed program has
    // it in the icon theme.
    entry += QStringLiteral("Icon=%1\n")
                 .arg(QFileInfo::exists(icon) ? escapedString(icon) : QStringLiteral("tavelo"));
    const QByteArray content = entry.toUtf8();
    // A launcher that already says this is left alone: writing it again at every start
    // would cost a flush to disk while the operator waits for the window.
    QFile current(fileName);
    if (!current.open(QIODevice::ReadOnly) || current.readAll() != content) {
        current.close();
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        file.write(content);
        if (!file.commit())
            return false;
    }
    QFile::setPermissions(fileName, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther);
    return true;
}
