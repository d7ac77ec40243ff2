// SPDX-License-Identifier: GPL-3.0-or-later
// The overview and the diary grid on a large office (100 000 subjects, 1 000 000
// deadlines), against the sqlite3 command line running the same query for the first
// 256 rows, and the program's peak memory with the overview open.
//
//   bench_overview [--file PATH] [--subjects N] [--entries N] [--heavy N] [--runs N]
//                  [--server CONNECTION]
//
// With --server the same measures run on the archive on a PostgreSQL server (filled
// from the data file, with tavelo-import's copy, when it is empty), against psql
// running the same queries.
// The data file is built once (in a child process, so that building it does not count
// towards the memory figure) and kept for the next runs.
#include "bench_data.h"
#include "test_support.h"

#include "legacy/legacy_import.h"
#include "main_window/entry_panel.h"
#include "main_window/frm_registra.h"
#include "main_window/overview_panel.h"
#include "main_window/user_choice_panel.h"

#include "storage/db_connection.h"
#include "storage/statements.h"
#include "storage/text_search.h"
#include "widgets/data_grid.h"
#include <QAbstractItemView>
#include <QComboBox>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTreeView>

#include <algorithm>
#include <cstdio>

namespace {

const char overviewSql[] =
    "SELECT Tavelo.scadenza, Tavelo.Oggetto, Tavelo.Utente, Utente.Soggetto, Tavelo.ID "
    "FROM Utente INNER JOIN Tavelo ON Utente.ID = Tavelo.Utente "
    "WHERE Tavelo.scadenza IS NOT NULL AND Tavelo.Chiusa IS NULL "
    "ORDER BY Tavelo.scadenza, Tavelo.ID LIMIT 256";
// The command line that runs the same queries: sqlite3 on the file, psql on a server.
struct CommandLine
{
    QString program;
    QStringList arguments;
    QString name() const { return program; }
};

// The overview's query with the search for `words`, as the command line can run it: the
// engine's lower() in place of the program's fold, which the command line does not have.
QString searchSql(const QStringList &words, bool server)
{
    QString sql = QString::fromLatin1(overviewSql).section(QStringLiteral(" ORDER BY"), 0, 0);
    const QString holds = server ? QStringLiteral("strpos(lower(%1), '%2') > 0")
                                 : QStringLiteral("instr(lower(%1), '%2') > 0");
    for (const QString &word : words)
        sql += QStringLiteral(" AND (%1 OR %2)")
                   .arg(holds.arg(QStringLiteral("Tavelo.Oggetto"), word),
                        holds.arg(QStringLiteral("Utente.Soggetto"), word));
    return sql + QStringLiteral(" ORDER BY Tavelo.scadenza, Tavelo.ID LIMIT 256");
}

QString diaryGridSql(const QString &userId)
{
    return QStringLiteral(
               "SELECT * FROM Tavelo WHERE Utente = %1 ORDER BY scadenza NULLS FIRST, ID "
               "LIMIT 256")
        .arg(userId);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

double least(const QList<double> &values)
{
    return values.isEmpty() ? 0 : *std::min_element(values.begin(), values.end());
}

// The sqlite3 command line running the query, its 256 rows printed: the time of one
// query, taken as the difference between a session that runs it `repeats` times and
// one that runs it never, divided by `repeats` (the command's own timer counts whole
// milliseconds only); and the whole command run once, start-up included. Milliseconds.
struct CliTimes
{
    double query = 0;
    double process = 0;
};

double cliSession(const CommandLine &command, const QString &script)
{
    QProcess cli;
    QElapsedTimer clock;
    clock.start();
    cli.start(command.program, command.arguments);
    cli.write(script.toUtf8());
    cli.closeWriteChannel();
    if (!cli.waitForFinished(120000) || cli.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(command.program),
                     cli.readAllStandardError().constData());
        return -1;
    }
    cli.readAllStandardOutput();
    return clock.nsecsElapsed() / 1e6;
}

CliTimes commandLineTimes(const CommandLine &command, const QString &sql, int repeats)
{
    QList<double> none;
    QList<double> once;
    QList<double> many;
    const QString open = QStringLiteral("SELECT COUNT(*) FROM Versione;\n");
    QString script = open;
    for (int i = 0; i < repeats; ++i)
        script += sql + QStringLiteral(";\n");
    for (int i = 0; i < 3; ++i) {
        none << cliSession(command, open);
        once << cliSession(command, open + sql + QStringLiteral(";\n"));
        many << cliSession(command, script);
    }
    return {qMax(0.0, (least(many) - least(none)) / repeats), least(once)};
}

void report(const char *what, const QList<double> &ours, const CliTimes &cli,
            const CommandLine &command)
{
    std::printf("%s: least %.2f ms, median %.2f ms\n", what, least(ours), median(ours));
    std::printf("  %s command line, same query with LIMIT 256: %.2f ms a query; the whole "
                "command %.1f ms\n",
                qPrintable(command.name()), cli.query, cli.process);
    std::printf("  ratio (least): %.2fx the query, %.2fx the command\n", least(ours) / cli.query,
                least(ours) / cli.process);
}

// Reads the cells of the rows that the list or grid shows first, as painting them does.
void readShownRows(QAbstractItemModel *model, int rows)
{
    for (int row = 0; row < qMin(rows, model->rowCount()); ++row)
        for (int column = 0; column < model->columnCount(); ++column)
            (void)model->index(row, column).data();
}

qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

int generate(const QString &file, int subjects, int entries, int heavy)
{
    if (const Check opened = DbConnection::instance().open(file); !opened.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.problem));
        return 1;
    }
    QString problem;
    // Eleven years of deadlines, those of the years before this one done.
    if (!generateOfficeData(subjects, 10, entries, heavy, &problem, 0, QDate(2026, 1, 1))) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    DbConnection::instance().close();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    prepareTestEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavelo"));
    QCommandLineParser parser;
    parser.addOptions({
        {QStringLiteral("file"), QStringLiteral("data file"), QStringLiteral("path"),
         QDir::temp().filePath(QStringLiteral("tavelo-bench-office-fatte.sqlite"))},
        {QStringLiteral("subjects"), QStringLiteral("subjects"), QStringLiteral("n"),
         QStringLiteral("100000")},
        {QStringLiteral("entries"), QStringLiteral("entries"), QStringLiteral("n"),
         QStringLiteral("1000000")},
        {QStringLiteral("heavy"), QStringLiteral("entries of the first user"), QStringLiteral("n"),
         QStringLiteral("100000")},
        {QStringLiteral("runs"), QStringLiteral("runs of each measure"), QStringLiteral("n"),
         QStringLiteral("15")},
        {QStringLiteral("generate"), QStringLiteral("only build the data file")},
        {QStringLiteral("server"), QStringLiteral("measure on this PostgreSQL server"),
         QStringLiteral("connection")},
    });
    parser.process(app);
    const QString file = QFileInfo(parser.value(QStringLiteral("file"))).absoluteFilePath();
    const int subjects = parser.value(QStringLiteral("subjects")).toInt();
    const int entries = parser.value(QStringLiteral("entries")).toInt();
    const int heavy = parser.value(QStringLiteral("heavy")).toInt();
    const int runs = qMax(1, parser.value(QStringLiteral("runs")).toInt());
    if (parser.isSet(QStringLiteral("generate")))
        return generate(file, subjects, entries, heavy);

    if (!QFileInfo::exists(file)) {
        std::printf("Building %s: %d subjects, %d entries...\n", qPrintable(file), subjects,
                    entries);
        QElapsedTimer clock;
        clock.start();
        const int status = QProcess::execute(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--generate"), QStringLiteral("--file"), file,
             QStringLiteral("--subjects"), QString::number(subjects), QStringLiteral("--entries"),
             QString::number(entries), QStringLiteral("--heavy"), QString::number(heavy)});
        if (status != 0)
            return 1;
        std::printf("built in %.1f s\n", clock.elapsed() / 1000.0);
    }

    ScriptedPrompt::install();
    const QString server = parser.value(QStringLiteral("server"));
    CommandLine command{QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), file}};
    if (!server.isEmpty()) {
        command = {QStringLiteral("psql"),
                   {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-At"), server}};
        if (const Check opened = DbConnection::instance().openServer(server); !opened.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(opened.problem));
            return 1;
        }
        const Result<qint64> rows = countArchiveRows();
        DbConnection::instance().close();
        if (rows.ok() && rows.value == 0) {
            std::printf("Copying %s onto the server...\n", qPrintable(file));
            LegacyImportRequest request;
            request.legacyFile = file;
            request.server = server;
            const Outcome<LegacyImportSummary> copied = copyDataFileToServer(request);
            if (!copied.ok()) {
                std::fprintf(stderr, "%s\n", qPrintable(copied.problem));
                return 1;
            }
            std::printf("copied in %.1f s\n", copied.value.milliseconds / 1000.0);
        }
    }
    const Check opened = server.isEmpty() ? DbConnection::instance().open(file)
                                          : DbConnection::instance().openServer(server);
    if (!opened.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.problem));
        return 1;
    }
    frmRegistra window;
    window.show();
    QCoreApplication::processEvents();

    // The overview: from the click to its first rows on screen.
    QList<double> overview;
    QList<double> overviewRead;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        window.findChild<OverviewPanel *>(QStringLiteral("Frame4"))->ShowOverviewPanel();
        readShownRows(window.findChild<QAbstractItemView *>(QStringLiteral("ListView1"))->model(),
                      30);
        overviewRead << clock.nsecsElapsed() / 1e6;
        window.findChild<QAbstractItemView *>(QStringLiteral("ListView1"))->viewport()->repaint();
        overview << clock.nsecsElapsed() / 1e6;
    }
    const CliTimes overviewCli =
        commandLineTimes(command, QString::fromLatin1(overviewSql), server.isEmpty() ? 100 : 20);
    const int overviewRows = window.findChild<QAbstractItemView *>(QStringLiteral("ListView1"))
                                 ->model()
                                 ->rowCount(); // before any scrolling
    // The search: a word in every note (the first page comes at once) and one in a handful
    // (the whole archive is read for them), from the query to its rows.
    struct SearchTimes
    {
        const char *typed;
        QList<double> ours;
        CliTimes cli;
        int rows = 0;
    };
    QList<SearchTimes> searches = {{"ricordare", {}, {}}, {"numero 99999", {}, {}}};
    for (SearchTimes &search : searches) {
        const QStringList words = searchWords(QString::fromLatin1(search.typed));
        for (int i = 0; i < qMin(runs, 5); ++i) {
            QElapsedTimer clock;
            clock.start();
            RowStream<OverviewDeadline> page = selectDeadlines(256, nullptr, words);
            OverviewDeadline row;
            search.rows = 0;
            while (page.next(&row))
                ++search.rows;
            search.ours << clock.nsecsElapsed() / 1e6;
        }
        search.cli = commandLineTimes(command, searchSql(words, !server.isEmpty()), 3);
    }

    // Scrolling a few pages down keeps the reading lazy.
    for (int page = 0; page < 20; ++page)
        window.findChild<QAbstractItemView *>(QStringLiteral("ListView1"))
            ->scrollTo(
                window.findChild<QAbstractItemView *>(QStringLiteral("ListView1"))
                    ->model()
                    ->index(window.findChild<QAbstractItemView *>(QStringLiteral("ListView1"))
                                    ->model()
                                    ->rowCount() -
                                1,
                            0));
    QCoreApplication::processEvents();
    const qint64 peakKb = peakResidentKb();

    // The diary grid of the user with the most entries, reloaded after an insert.
    window.findChild<UserChoicePanel *>(QStringLiteral("Frame3"))->LoadUserList();
    window.findChild<QComboBox *>(QStringLiteral("Cbo1"))->setCurrentIndex(0);
    window.findChild<UserChoicePanel *>(QStringLiteral("Frame3"))->SelectUser();
    const QString userId = window.SelectedUserId();
    QList<double> grid;
    QList<double> insert;
    QList<qint64> written;
    for (int i = 0; i < runs; ++i) {
        DiaryEntry entry;
        entry.data = QDate::currentDate();
        entry.scadenza = QDate::currentDate().addDays(30);
        entry.oggetto = QStringLiteral("PROVA DEL BANCO");
        entry.utente = userId.toLongLong();
        entry.agg = entry.data;
        QElapsedTimer clock;
        clock.start();
        const Result<qint64> id = insertDiaryEntry(entry);
        insert << clock.nsecsElapsed() / 1e6;
        written << id.value;
        clock.restart();
        window.findChild<EntryPanel *>(QStringLiteral("Frame2"))->LoadDiaryGrid();
        readShownRows(window.findChild<QAbstractItemView *>(QStringLiteral("DataGrid3"))->model(),
                      20);
        grid << clock.nsecsElapsed() / 1e6;
    }
    for (qint64 id : written)
        if (!deleteDiaryEntry(id).ok())
            std::printf("entry %lld not deleted\n", static_cast<long long>(id));
    const CliTimes gridCli =
        commandLineTimes(command, diaryGridSql(userId), server.isEmpty() ? 100 : 20);

    if (server.isEmpty())
        std::printf("data file: %s (%.0f MB)\n", qPrintable(file), QFileInfo(file).size() / 1e6);
    else
        std::printf("server: %s\n", qPrintable(DbConnection::instance().archiveName()));
    report("overview, from the click to the first rows painted", overview, overviewCli, command);
    std::printf("  of which reading the first rows: least %.2f ms; rows read before "
                "scrolling: %d\n",
                least(overviewRead), overviewRows);
    for (const SearchTimes &search : searches) {
        const QByteArray what = QStringLiteral("overview searched for \"%1\", first page (%2 rows)")
                                    .arg(QString::fromLatin1(search.typed))
                                    .arg(search.rows)
                                    .toUtf8();
        report(what.constData(), search.ours, search.cli, command);
    }
    report("diary grid of the user with the most entries, reloaded after an insert", grid, gridCli,
           command);
    std::printf("  user %s; the insert itself (committed to disk): median %.2f ms\n",
                qPrintable(userId), median(insert));
    std::printf("peak resident memory with the overview open: %.1f MB\n", peakKb / 1024.0);
    DbConnection::instance().close();
    return 0;
}
