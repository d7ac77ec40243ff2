// SPDX-License-Identifier: GPL-3.0-or-later
// How long the registry makes the operator wait at 10 000 and 100 000 subjects, set
// against the sqlite3 command line doing the same on the same file: the fiscal-code
// check, and the first rows of the subject grid in the Italian order.
#include "test_support.h"

#include "registry/frm_anagrafe.h"
#include "registry/subject_grid_model.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableView>

#include <algorithm>

namespace {

const char *const surnames[] = {"ROSSI",   "BIANCHI", "VERDI",   "ESPOSITO", "ROMANO",
                                "COLOMBO", "RICCI",   "MARINO",  "GRECO",    "BRUNO",
                                "GALLO",   "CONTI",   "DE LUCA", "MANCINI",  "COSTA"};
const char *const others[] = {"ÀLVARO", "D'ANGELO", "NICOLÒ", "ÉRCOLE", "SANTAGÀTA"};
const char *const names[] = {"MARIO", "ANNA", "GIUSEPPE", "LUCIA", "PAOLO", "GIULIA", "LUCA"};

// One subject in twenty has an accent or an apostrophe in the name.
bool fillRegistry(int count, QString *problem)
{
    QSqlDatabase db = DbConnection::instance().database();
    QSqlQuery(db).exec(QStringLiteral("DELETE FROM Utente"));
    if (!db.transaction()) {
        *problem = db.lastError().text();
        return false;
    }
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO Utente (Soggetto, Codice, utente, indirizzo, "
                                  "Comune) VALUES (:name, :code, 'N', 'VIA ROMA 1', 'TORINO')"));
    QRandomGenerator random(4821);
    for (int i = 0; i < count; ++i) {
        const char *surname =
            random.bounded(20) == 0 ? others[random.bounded(5)] : surnames[random.bounded(15)];
        insert.bindValue(QStringLiteral(":name"), QStringLiteral("%1 %2 %3")
                                                      .arg(QString::fromUtf8(surname),
                                                           QLatin1String(names[random.bounded(7)]))
                                                      .arg(random.bounded(1000000)));
        insert.bindValue(QStringLiteral(":code"),
                         QStringLiteral("CF%1").arg(i, 14, 10, QLatin1Char('0')));
        if (!insert.exec()) {
            *problem = insert.lastError().text();
            return false;
        }
    }
    if (!db.commit()) {
        *problem = db.lastError().text();
        return false;
    }
    QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QSqlQuery(db).exec(QStringLiteral("ANALYZE"));
    return true;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Milliseconds that one run of the command line takes for this SQL, start-up included.
double commandLineMs(const QString &file, const QString &sql, int runs)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess cli;
        QElapsedTimer clock;
        clock.start();
        cli.start(QStringLiteral("sqlite3"), {file});
        cli.write(sql.toUtf8());
        cli.closeWriteChannel();
        cli.waitForFinished(60000);
        times << clock.nsecsElapsed() / 1e6;
        if (cli.exitCode() != 0)
            qWarning("sqlite3: %s", cli.readAllStandardError().constData());
    }
    return median(times);
}

// Milliseconds of one statement inside the command line, start-up left out: a script
// that runs it `repeat` times, less a script that runs nothing.
double commandLineQueryMs(const QString &file, const QString &sql, int repeat)
{
    QString script = QStringLiteral(".output /dev/null\n");
    for (int i = 0; i < repeat; ++i)
        script += sql + QLatin1Char('\n');
    const double full = commandLineMs(file, script, 5);
    const double empty = commandLineMs(file, QStringLiteral(".output /dev/null\n"), 5);
    return (full - empty) / repeat;
}

template <typename Work> double ourMs(Work work, int runs)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        times << clock.nsecsElapsed() / 1e6;
    }
    return median(times);
}

} // namespace

class BenchRegistry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void registry_data();
    void registry();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void BenchRegistry::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        QSKIP("the sqlite3 command line is missing (scripts/install-deps --tests)");
    ScriptedPrompt::install();
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isOpen());
}

void BenchRegistry::cleanupTestCase()
{
    m_db.reset();
}

void BenchRegistry::registry_data()
{
    QTest::addColumn<int>("subjects");
    QTest::newRow("10000") << 10000;
    QTest::newRow("100000") << 100000;
}

void BenchRegistry::registry()
{
    QFETCH(int, subjects);
    QString problem;
    QVERIFY2(fillRegistry(subjects, &problem), qPrintable(problem));
    const QString file = m_db->path();
    const QString code = QStringLiteral("CF%1").arg(subjects / 2, 14, 10, QLatin1Char('0'));

    // The check must find the code through its index, not by reading every subject.
    QSqlQuery plan(DbConnection::instance().database());
    QVERIFY(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM Utente WHERE Codice = "
                                     "'%1' ORDER BY ID")
                          .arg(code)));
    QVERIFY(plan.next());
    QVERIFY2(plan.value(3).toString().contains(QLatin1String("UtenteCodice")),
             qPrintable(plan.value(3).toString()));

    const double checkOurs = ourMs(
        [&] {
            const Result<QVector<Subject>> found = findSubjectsByFiscalCode(code);
            QCOMPARE(found.value.size(), 1);
        },
        201);
    const QString lookup = QStringLiteral("SELECT * FROM Utente WHERE Codice = '%1';").arg(code);
    const double checkCli = commandLineMs(file, lookup, 15);
    const double checkCliQuery = commandLineQueryMs(file, lookup, 2000);

    // The grid's pages must come from the index in Italian order: a first page read
    // along it, the next one sought in it, neither sorted again.
    for (const char *page : {"", " WHERE Soggetto COLLATE ITALIAN >= 'ROSSI' AND (Soggetto "
                                 "COLLATE ITALIAN > 'ROSSI' OR ID > 5)"}) {
        QVERIFY(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM Utente%1 ORDER BY "
                                         "Soggetto COLLATE ITALIAN NULLS FIRST, ID LIMIT 256")
                              .arg(QLatin1String(page))));
        QStringList steps;
        while (plan.next())
            steps << plan.value(3).toString();
        QVERIFY2(steps.size() == 1 && steps.at(0).contains(QLatin1String("UtenteSoggettoItaliano")),
                 qPrintable(steps.join(QLatin1String("; "))));
    }

    frmAnagrafe window(nullptr);
    auto *grid = window.findChild<QTableView *>(QStringLiteral("Datagrid1"));
    const double gridOurs = ourMs(
        [&] {
            window.LoadSubjectGrid();
            QVERIFY(grid->model()->rowCount() >= 256);
        },
        9);
    // The rows alone, read as the grid's model reads them, without the view's work.
    SubjectGridModel model;
    const double rowsOurs = ourMs(
        [&] {
            QVERIFY(!model.load().isValid());
            QCOMPARE(model.rowCount(), 256);
        },
        15);
    const QString first = QStringLiteral("SELECT * FROM Utente ORDER BY Soggetto LIMIT 256;");
    const double gridCli = commandLineMs(file, first, 15);
    const double gridCliQuery = commandLineQueryMs(file, first, 200);
    // The next page, as the operator scrolls past the first; the command line seeks the
    // same page in its own order after the same last row.
    QList<double> nextTimes;
    for (int run = 0; run < 15; ++run) {
        window.LoadSubjectGrid();
        QElapsedTimer clock;
        clock.start();
        grid->model()->fetchMore({});
        nextTimes << clock.nsecsElapsed() / 1e6;
        QCOMPARE(grid->model()->rowCount(), 512);
    }
    const double nextPage = median(nextTimes);
    QSqlQuery last(DbConnection::instance().database());
    QVERIFY(last.exec(QStringLiteral("SELECT Soggetto, ID FROM Utente ORDER BY Soggetto, ID "
                                     "LIMIT 1 OFFSET 255")) &&
            last.next());
    const QString lastName =
        last.value(0).toString().replace(QLatin1Char('\''), QLatin1String("''"));
    const QString next =
        QStringLiteral("SELECT * FROM Utente WHERE Soggetto >= '%1' AND (Soggetto > '%1' OR "
                       "ID > %2) ORDER BY Soggetto, ID LIMIT 256;")
            .arg(lastName)
            .arg(last.value(1).toLongLong());
    last.finish();
    const double nextCliQuery = commandLineQueryMs(file, next, 200);
    // What the Italian order costs: the same first rows with the index's own order.
    const double gridNoCase = ourMs(
        [&] {
            QSqlQuery q(DbConnection::instance().database());
            q.exec(QStringLiteral("SELECT * FROM Utente ORDER BY Soggetto LIMIT 256"));
            while (q.next()) {
            }
        },
        9);

    // What a grid over one statement sorting the whole table would cost: in the Italian
    // order, and in a built-in order that needs no collation either.
    auto firstRows = [](const QString &order) {
        return ourMs(
            [&] {
                QSqlQuery q(DbConnection::instance().database());
                q.setForwardOnly(true);
                q.exec(QStringLiteral("SELECT * FROM Utente ORDER BY %1, ID").arg(order));
                for (int row = 0; row < 256 && q.next(); ++row) {
                }
            },
            9);
    };
    const double sortItalian = firstRows(QStringLiteral("Soggetto COLLATE ITALIAN"));
    const double sortBuiltIn = firstRows(QStringLiteral("Soggetto COLLATE BINARY"));

    qInfo("%d subjects", subjects);
    qInfo("  whole-table sort to row 256: Italian %.2f ms, built-in order %.2f ms", sortItalian,
          sortBuiltIn);
    qInfo("  code check: ours %.3f ms; sqlite3 run %.2f ms (ratio %.2f); sqlite3 query alone "
          "%.3f ms",
          checkOurs, checkCli, checkOurs / checkCli, checkCliQuery);
    qInfo("  grid first rows: ours %.2f ms; sqlite3 run %.2f ms (ratio %.2f); sqlite3 query "
          "alone %.3f ms; ours in the index's order %.3f ms",
          gridOurs, gridCli, gridOurs / gridCli, gridCliQuery, gridNoCase);
    qInfo("  grid next page: ours %.3f ms; sqlite3 query alone %.3f ms (ratio %.2f)", nextPage,
          nextCliQuery, nextPage / nextCliQuery);
    qInfo("  grid first rows against the sqlite3 query alone: ratio %.2f; the rows read alone "
          "%.3f ms (ratio %.2f)",
          gridOurs / gridCliQuery, rowsOurs, rowsOurs / gridCliQuery);
}

TAVELO_TEST_MAIN(BenchRegistry)
#include "bench_registry.moc"
