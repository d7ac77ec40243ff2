// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar file of an office, each writing paired in turns against the sqlite3
// command line writing the same rows as CSV: every deadline (tavelo-report calendario
// --tutte) and the deadlines still ahead (Scadenze.ics). Then what "Chiudi" spends on the
// calendar with nothing changed and with one entry changed, against the backup that the
// close writes anyway.
//
//   bench_calendar [--entries N] [--closing-entries N] [--runs N]
#include "bench_data.h"

#include "calendar/deadline_calendar.h"
#include "storage/backups.h"
#include "storage/calendar_digest.h"
#include "storage/db_connection.h"
#include "storage/file_check.h"
#include "storage/statements.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values.at(values.size() / 2);
}

template <typename Step> double timed(Step step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.nsecsElapsed() / 1e6;
}

// The calendar's rows as the sqlite3 command line writes them, from start to exit.
double csvByCommandLine(const QString &data, const QDate &firstDue, const QString &csv)
{
    QString sql = QStringLiteral("SELECT Tavelo.ID, Tavelo.data, Tavelo.scadenza, Tavelo.Oggetto, "
                                 "Tavelo.ndoc, Utente.ID, Utente.Soggetto ") +
                  calendarDeadlinesFrom(firstDue) +
                  QStringLiteral("ORDER BY Tavelo.scadenza, Tavelo.ID");
    sql.replace(QStringLiteral(":first"),
                QLatin1Char('\'') + firstDue.toString(Qt::ISODate) + QLatin1Char('\''));
    QProcess sqlite;
    sqlite.setStandardOutputFile(csv);
    return timed([&] {
        sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-csv"), data, sql});
        sqlite.waitForFinished(-1);
    });
}

struct Pairs
{
    QList<double> tavelo, csv;
    int events = 0;
};

bool pairCalendarWithCsv(const QString &data, CalendarSpan span, int runs, QTextStream &out)
{
    QTemporaryDir dir;
    const QString ics = dir.filePath(QStringLiteral("c.ics"));
    const QString csv = dir.filePath(QStringLiteral("c.csv"));
    const QDate firstDue =
        span == CalendarSpan::Ahead ? calendarFirstDue(QDate::currentDate()) : QDate();
    Pairs pairs;
    for (int run = 0; run <= runs; ++run) {
        Outcome<int> written = Outcome<int>::failure(QString());
        const double tavelo =
            timed([&] { written = writeDeadlineCalendar(ics, std::nullopt, span); });
        const double anchor = csvByCommandLine(data, firstDue, csv);
        if (!written.ok()) {
            out << written.problem << "\n";
            return false;
        }
        if (run == 0) // warms the page cache
            continue;
        pairs.tavelo << tavelo;
        pairs.csv << anchor;
        pairs.events = written.value;
    }
    const double ratio = median(pairs.tavelo) / median(pairs.csv);
    out << QStringLiteral("  %1: %2 events (%3 MB), median of %4 pairs\n")
               .arg(span == CalendarSpan::Ahead ? QStringLiteral("still ahead (Scadenze.ics)")
                                                : QStringLiteral("every deadline (--tutte)"))
               .arg(pairs.events)
               .arg(QFileInfo(ics).size() / 1e6, 0, 'f', 1)
               .arg(runs)
        << QStringLiteral("    calendar:      %1 ms\n").arg(median(pairs.tavelo), 0, 'f', 1)
        << QStringLiteral("    sqlite3 CSV:   %1 ms\n").arg(median(pairs.csv), 0, 'f', 1)
        << QStringLiteral("    ratio:         %1 (goal: at most 3, %2)\n")
               .arg(ratio, 0, 'f', 2)
               .arg(ratio <= 3 ? QStringLiteral("met") : QStringLiteral("missed"));
    out.flush();
    return true;
}

// One entry still ahead gets another note, in turns, so that the archive ends as it began.
bool touchOneEntry(int run)
{
    QSqlQuery query(DbConnection::instance().database());
    return query.exec(QStringLiteral("UPDATE Tavelo SET ndoc = '%1' WHERE ID = (SELECT ID FROM "
                                     "Tavelo ORDER BY scadenza DESC LIMIT 1)")
                          .arg(run % 2 ? QStringLiteral("X") : QString::number(run)));
}

bool pairClosingWithBackup(int runs, QTextStream &out)
{
    QList<double> backup, unchanged, changed;
    refreshCalendarBesideData();
    for (int run = 0; run < runs; ++run) {
        Outcome<QString> copy = Outcome<QString>::failure(QString());
        backup << timed([&] { copy = writeBackup(); });
        if (!copy.ok()) {
            out << copy.problem << "\n";
            return false;
        }
        QFile::remove(copy.value);
        bool rewritten = true;
        unchanged << timed([&] { rewritten = refreshCalendarBesideData(); });
        if (rewritten || !touchOneEntry(run)) {
            out << "the calendar was rewritten with nothing changed, or the change failed\n";
            return false;
        }
        changed << timed([&] { rewritten = refreshCalendarBesideData(); });
        if (!rewritten) {
            out << "the calendar was not rewritten after a change\n";
            return false;
        }
    }
    const double extra = median(unchanged);
    out << QStringLiteral("  \"Chiudi\", median of %1 turns:\n").arg(runs)
        << QStringLiteral("    backup:                      %1 ms\n").arg(median(backup), 0, 'f', 1)
        << QStringLiteral("    calendar, nothing changed:   %1 ms (goal: at most 500, %2)\n")
               .arg(extra, 0, 'f', 1)
               .arg(extra <= 500 ? QStringLiteral("met") : QStringLiteral("missed"))
        << QStringLiteral("    calendar, one entry changed: %1 ms (goal: at most 2000, %2)\n")
               .arg(median(changed), 0, 'f', 1)
               .arg(median(changed) <= 2000 ? QStringLiteral("met") : QStringLiteral("missed"));
    return true;
}

bool openArchive(int entries, QTextStream &out)
{
    QString problem;
    const QString path = cachedOfficeArchive(entries, &problem);
    const Check opened =
        path.isEmpty() ? Check::failure(problem) : DbConnection::instance().open(path);
    if (!opened.ok()) {
        out << opened.problem << "\n";
        return false;
    }
    FileCheck::instance().waitForVerdict();
    out << QStringLiteral("%1 (%2 MB):\n")
               .arg(QFileInfo(path).fileName())
               .arg(QFileInfo(path).size() / 1e6, 0, 'f', 0);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tavelo"));
    QCommandLineParser parser;
    const QCommandLineOption entries(QStringLiteral("entries"), QStringLiteral("entries"),
                                     QStringLiteral("N"), QStringLiteral("100000"));
    const QCommandLineOption closing(QStringLiteral("closing-entries"), QStringLiteral("entries"),
                                     QStringLiteral("N"), QStringLiteral("1000000"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("pairs"),
                                  QStringLiteral("N"), QStringLiteral("5"));
    parser.addOptions({entries, closing, runs});
    parser.process(app);
    const int pairs = qMax(1, parser.value(runs).toInt());
    QTextStream out(stdout);
    if (!openArchive(qMax(10, parser.value(entries).toInt()), out) ||
        !pairCalendarWithCsv(DbConnection::instance().filePath(), CalendarSpan::Everything, pairs,
                             out) ||
        !pairCalendarWithCsv(DbConnection::instance().filePath(), CalendarSpan::Ahead, pairs, out))
        return 1;
    DbConnection::instance().close();
    if (!openArchive(qMax(10, parser.value(closing).toInt()), out) ||
        !pairClosingWithBackup(pairs, out))
        return 1;
    DbConnection::instance().close();
    return 0;
}
