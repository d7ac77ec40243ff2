// SPDX-License-Identifier: GPL-3.0-or-later
// How long the operator waits from starting Tavelo to a filled user list, on a file of
// 100 000 subjects of which 10 000 are users, against a bare Qt window that fills a
// combo box with the same query on the same file (bench_startup_bare). Each start is a
// process of its own.
//
//   bench_startup [--giri N]
#include "bench_data.h"

#include "app/startup.h"
#include "app/window_pair.h"
#include "main_window/frm_registra.h"
#include "storage/db_connection.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

const int subjects = 100000;
const int users = 10000;

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

int runBenchmark(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int rounds = args.size() == 3 ? qMax(1, args.at(2).toInt()) : 9;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    const Check opened = DbConnection::instance().open(path);
    QString problem = opened.problem;
    if (!opened.ok() || !generateRegistryData(subjects, users, &problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    DbConnection::instance().close();
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(QDir(home).filePath(QStringLiteral("Desktop")));

    QTextStream out(stdout);
    // One start of each to warm the page cache and the font cache.
    launch(QStringLiteral("--tavelo"), path, home);
    launch(QStringLiteral("--bare"), path, home);
    QList<double> tavelo;
    QList<double> bare;
    for (int round = 0; round < rounds; ++round) {
        const Start program = launch(QStringLiteral("--tavelo"), path, home);
        const Start baseline = launch(QStringLiteral("--bare"), path, home);
        if (program.listed != users || baseline.listed != users) {
            out << "a start failed or listed the wrong number of users (" << program.listed << ", "
                << baseline.listed << ")\n";
            return 1;
        }
        tavelo << program.ms;
        bare << baseline.ms;
    }
    const double ratio = median(tavelo) / median(bare);
    out << "Start to filled user list, " << subjects << " subjects of which " << users
        << " users, median of " << rounds << " starts:\n"
        << QStringLiteral("  Tavelo:          %1 ms\n").arg(median(tavelo), 0, 'f', 1)
        << QStringLiteral("  bare Qt window:  %1 ms\n").arg(median(bare), 0, 'f', 1)
        << QStringLiteral("  ratio:           %1 (goal: within 1.30, %2)\n")
               .arg(ratio, 0, 'f', 2)
               .arg(ratio <= 1.3 ? QStringLiteral("met") : QStringLiteral("missed"));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 1 || (argc == 3 && QByteArray(argv[1]) == "--giri"))
        return runBenchmark(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--tavelo")
        return runTavelo(argc, argv, QString::fromLocal8Bit(argv[2]),
                         QByteArray(argv[3]).toLongLong());
    std::fprintf(stderr, "uso: bench_startup [--giri N]\n");
    return 2;
}
