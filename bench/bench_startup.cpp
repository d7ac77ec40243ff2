// SPDX-License-Identifier: GPL-3.0-or-later
// How long the operator waits from starting Tavelo to a filled user list, on an office's
// data file (100 000 and 1 000 000 entries, a tenth as many subjects, every tenth subject
// a user), against a bare Qt window that fills a combo box with the same query on the
// same file (bench_startup_bare). Each start is a process of its own; the two take turns.
//
//   bench_startup [--giri N] [--entries N]
#include "bench_data.h"

#include "app/startup.h"
#include "app/window_pair.h"
#include "main_window/frm_registra.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The child prints how long it took since the parent launched it, once its list is
// filled and the event loop has turned, then ends.
void reportWhenIdle(QApplication &app, qint64 launchedNs, const std::function<int()> &count)
{
    QTimer::singleShot(0, &app, [launchedNs, count] {
        const double ms = double(nowNs() - launchedNs) / 1e6;
        std::printf("%d %.3f\n", count(), ms);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}

int runTavelo(int argc, char *argv[], const QString &path, qint64 launchedNs)
{
    QApplication app(argc, argv);
    setUpApplication(app);
    std::unique_ptr<WindowPair> windows = Main(path);
    if (!windows)
        return 1;
    // Queued after the window's activation, which fills the list.
    QMetaObject::invokeMethod(
        &app,
        [&] {
            reportWhenIdle(app, launchedNs, [&] {
                return windows->mainWindow()
                    ->findChild<QComboBox *>(QStringLiteral("Cbo1"))
                    ->count();
            });
        },
        Qt::QueuedConnection);
    return app.exec();
}

struct Start
{
    int listed = -1;
    double ms = -1;
};

// mode "--tavelo" starts the program's own start-up in this executable; "--bare" starts
// the bare window, a program of its own that links only Qt's widgets and SQL.
Start launch(const QString &mode, const QString &path, const QString &home)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"),
               QDir(home).filePath(QStringLiteral(".local/share")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(home).filePath(QStringLiteral(".config")));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 launched = nowNs();
    if (mode == QLatin1String("--bare"))
        child.start(QDir(QCoreApplication::applicationDirPath())
                        .filePath(QStringLiteral("bench_startup_bare")),
                    {path, QString::number(launched)});
    else
        child.start(QCoreApplication::applicationFilePath(),
                    {mode, path, QString::number(launched)});
    child.waitForFinished(120000);
    const QStringList fields =
        QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
    if (child.exitCode() != 0 || fields.size() != 2)
        return {};
    return {fields.at(0).toInt(), fields.at(1).toDouble()};
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values.at(values.size() / 2);
}

// The starts of both on one file, in turns; false when a start failed.
bool measure(const QString &path, int rounds, QTextStream &out)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(QDir(home).filePath(QStringLiteral("Desktop")));
    // One start of each to warm the page cache and the font cache.
    const Start first = launch(QStringLiteral("--tavelo"), path, home);
    launch(QStringLiteral("--bare"), path, home);
    QList<double> tavelo;
    QList<double> bare;
    QList<double> ratios; // each start against the bare one right after it
    for (int round = 0; round < rounds; ++round) {
        const Start program = launch(QStringLiteral("--tavelo"), path, home);
        const Start baseline = launch(QStringLiteral("--bare"), path, home);
        if (program.listed < 1 || program.listed != baseline.listed ||
            program.listed != first.listed) {
            out << "a start failed or listed the wrong number of users (" << program.listed << ", "
                << baseline.listed << ")\n";
            return false;
        }
        tavelo << program.ms;
        bare << baseline.ms;
        ratios << program.ms / baseline.ms;
    }
    // The median of the pairs' ratios: a pair shares what else the machine was doing,
    // which moves both medians of a shared machine from one minute to the next.
    const double ratio = median(ratios);
    out << QStringLiteral("%1 (%2 users), median of %3 starts:\n")
               .arg(QFileInfo(path).fileName())
               .arg(first.listed)
               .arg(rounds)
        << QStringLiteral("  Tavelo:          %1 ms\n").arg(median(tavelo), 0, 'f', 1)
        << QStringLiteral("  bare Qt window:  %1 ms\n").arg(median(bare), 0, 'f', 1)
        << QStringLiteral("  ratio of pairs:  %1 (goal: within 1.30, %2)\n")
               .arg(ratio, 0, 'f', 2)
               .arg(ratio <= 1.3 ? QStringLiteral("met") : QStringLiteral("missed"));
    out.flush();
    return true;
}

int runBenchmark(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption roundsOption(QStringLiteral("giri"), QStringLiteral("starts"),
                                          QStringLiteral("N"), QStringLiteral("9"));
    const QCommandLineOption entriesOption(QStringLiteral("entries"), QStringLiteral("entries"),
                                           QStringLiteral("N"));
    parser.addOptions({roundsOption, entriesOption});
    parser.process(app);
    const int rounds = qMax(1, parser.value(roundsOption).toInt());
    QList<int> sizes = {100000, 1000000};
    if (parser.isSet(entriesOption))
        sizes = {qMax(10, parser.value(entriesOption).toInt())};

    QTextStream out(stdout);
    out << "Start to filled user list, against a bare Qt window running the same query:\n";
    for (int entries : sizes) {
        QString problem;
        const QString path = cachedOfficeArchive(entries, &problem);
        if (path.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
        if (!measure(path, rounds, out))
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--tavelo")
        return runTavelo(argc, argv, QString::fromLocal8Bit(argv[2]),
                         QByteArray(argv[3]).toLongLong());
    return runBenchmark(argc, argv);
}
