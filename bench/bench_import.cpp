// SPDX-License-Identifier: GPL-3.0-or-later
// Times the import of the earlier version's Database.mdb: the fixture file end to end,
// then the writing side alone with growing numbers of rows (prepared statements, one
// transaction), to show how the time grows.
#include "test_support.h"

#include "legacy/legacy_database.h"
#include "legacy/legacy_import.h"
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double importFixture(const QTemporaryDir &dir, int run)
{
    LegacyImportRequest request;
    request.legacyFile = legacyDatabasePath();
    request.dataFile = dir.filePath(QStringLiteral("fixture-%1.sqlite").arg(run));
    QElapsedTimer clock;
    clock.start();
    if (const Outcome<LegacyImportSummary> imported = importLegacyFile(request); !imported.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(imported.problem));
        return -1;
    }
    return clock.nsecsElapsed() / 1e6;
}

// Reads every row of the fixture through mdbtools' library, nothing written.
double readFixture(int *rows)
{
    QElapsedTimer clock;
    clock.start();
    LegacyDatabase legacy;
    if (!legacy.open(legacyDatabasePath()).ok())
        return -1;
    *rows = 0;
    for (const QString &table : DbConnection::tableNames()) {
        const auto count = [&](int, const QVariantList &) {
            ++*rows;
            return passed();
        };
        if (!legacy.readTable(table, count).ok())
            return -1;
    }
    return clock.nsecsElapsed() / 1e6;
}

// Writes `entries` diary rows (and a tenth as many subjects) the way the import does.
double writeRows(const QTemporaryDir &dir, int entries)
{
    if (!DbConnection::instance()
             .open(dir.filePath(QStringLiteral("rows-%1.sqlite").arg(entries)))
             .ok())
        return -1;
    const QDateTime day(QDate(2013, 1, 15), QTime(0, 0));
    const int subjects = qMax(1, entries / 10);
    QElapsedTimer clock;
    clock.start();
    {
        WriteTransaction transaction;
        ImportWriter writer;
        for (int id = 1; id <= subjects; ++id) {
            const QVariantList row{id,
                                   QStringLiteral("SOGGETTO %1").arg(id),
                                   "VIA ROMA 1",
                                   "MILANO",
                                   "MI",
                                   "20100",
                                   QStringLiteral("CODICE%1").arg(id),
                                   QVariant(),
                                   "S",
                                   QVariant(),
                                   QVariant(),
                                   QVariant(),
                                   QVariant(),
                                   "pw",
                                   QVariant()};
            if (writer.insertSubjectRow(row).isValid())
                return -1;
        }
        for (int id = 1; id <= entries; ++id) {
            const QVariantList row{id,
                                   day.addDays(id % 4000),
                                   day.addDays(id % 4000 + 30),
                                   QStringLiteral("SCADENZA NUMERO %1").arg(id),
                                   QString::number(id),
                                   1 + id % subjects,
                                   day.addDays(id % 4000)};
            if (writer.insertDiaryEntryRow(row).isValid())
                return -1;
        }
        if (!transaction.commit())
            return -1;
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    DbConnection::instance().close();
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    prepareTestEnvironment();
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    double best = 1e9;
    for (int run = 0; run < 5; ++run)
        best = qMin(best, importFixture(dir, run));
    std::printf("fixture (10 subjects, 11 entries, 1 stamp), best of 5: %.1f ms\n", best);
    int rows = 0;
    double read = 1e9;
    for (int run = 0; run < 5; ++run)
        read = qMin(read, readFixture(&rows));
    std::printf("reading its %d rows alone, best of 5: %.2f ms\n", rows, read);
    for (int entries : {1000, 10000, 100000}) {
        const double ms = writeRows(dir, entries);
        std::printf("write %6d entries + %5d subjects: %8.1f ms (%.2f us per row)\n", entries,
                    entries / 10, ms, ms * 1000 / (entries * 1.1));
    }
    return 0;
}
