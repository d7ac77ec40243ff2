// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/command_line.h"

#include <QTextStream>

CommandLine::CommandLine(const QString &name, const QString &usage, const QString &dataDescription)
    : helpOption({QStringLiteral("h"), QStringLiteral("help")},
                 QStringLiteral("Mostra questo aiuto.")),
      dataOption({QStringLiteral("d"), QStringLiteral("dati")}, dataDescription,
                 QStringLiteral("file")),
      m_name(name), m_usage(usage)
{
    parser.addOption(helpOption);
    parser.addOption(dataOption);
}

bool CommandLine::parse(const QStringList &arguments, QTextStream &err)
{
    if (parser.parse(arguments))
        return true;
    usageError(err, parser.errorText());
    return false;
}

void CommandLine::printHelp(QTextStream &out, const QString &text,
                            const QList<QPair<QString, QString>> &options) const
{
    // An option too long for its column puts its description on the next line.
    const auto line = [&](const QString &option, const QString &description) {
        out << "  " << option.leftJustified(19)
            << (option.size() >= 19 ? QStringLiteral("\n                     ") : QString())
            << description << "\n";
    };
    out << m_usage << "\n" << text << "\nOpzioni:\n";
    line(QStringLiteral("-d, --dati <file>"), dataOption.description());
    for (const auto &option : options)
        line(option.first, option.second);
    line(QStringLiteral("-h, --help"), helpOption.description());
}

int CommandLine::usageError(QTextStream &err, const QString &problem) const
{
    err << m_name << ": " << problem << "\n" << m_usage;
    return CommandUsage;
}

ProgressLine::ProgressLine(QTextStream &err, const QString &name, qint64 intervalMs)
    : m_err(err), m_name(name), m_interval(intervalMs)
{
    m_clock.start();
}

void ProgressLine::report(const QString &what)
{
    if (m_clock.elapsed() < m_next)
        return;
    m_next = m_clock.elapsed() + m_interval;
    m_err << m_name << ": " << what << Qt::endl;
}
