// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QList>
#include <QPair>
#include <QString>

class QTextStream;

// The exit statuses of the program's commands.
enum CommandStatus { CommandDone = 0, CommandFailed = 1, CommandUsage = 2 };

// The command line of one of the program's commands (tavelo-import, tavelo-report):
// "-h/--help", "-d/--dati <file>" and the command's own options and arguments.
class CommandLine
{
public:
    // `name` starts every message; `usage` is the "Uso: ..." line, with its line end.
    CommandLine(const QString &name, const QString &usage, const QString &dataDescription);

    QCommandLineParser parser;
    const QCommandLineOption helpOption;
    const QCommandLineOption dataOption;

    // Parses the arguments; a wrong line is told on err, with the usage.
    bool parse(const QStringList &arguments, QTextStream &err);
    // The usage, the command's text and its options: --dati first, then `options`
    // (option as written, description), then --help.
    void printHelp(QTextStream &out, const QString &text,
                   const QList<QPair<QString, QString>> &options) const;
    // "name: problem", then the usage; gives CommandUsage.
    int usageError(QTextStream &err, const QString &problem) const;

private:
    QString m_name;
    QString m_usage;
};

// A line on stderr now and then while a long job runs: the first after a second, then
// one every `intervalMs`.
class ProgressLine
{
public:
    ProgressLine(QTextStream &err, const QString &name, qint64 intervalMs);

    void report(const QString &what);

private:
    QTextStream &m_err;
    QString m_name;
    qint64 m_interval;
    QElapsedTimer m_clock;
    qint64 m_next = 1000;
};
