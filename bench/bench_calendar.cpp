// SPDX-License-Identifier: GPL-3.0-or-later
// How long the calendar of 100 000 deadlines takes to write, against reading the same
// rows alone.
#include "bench_data.h"
#include "test_support.h"

#include "calendar/deadline_calendar.h"
#include "storage/statements.h"

#include <QElapsedTimer>
#include <QFileInfo>

class BenchCalendar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void writeCalendarOfAllDeadlines();

private:
    std::unique_ptr<TestDatabase> m_db;
    QTemporaryDir m_out;
};

void BenchCalendar::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    QString problem;
    // One entry in five has no due date: 125 000 entries give 100 000 deadlines.
    QVERIFY2(generateDiaryData(200, 0, 125000, &problem), qPrintable(problem));
}

void BenchCalendar::cleanupTestCase()
{
    m_db.reset();
}

void BenchCalendar::writeCalendarOfAllDeadlines()
{
    QElapsedTimer clock;
    clock.start();
    RowStream<CalendarRow> rows = selectCalendarDeadlines();
    int read = 0;
    CalendarRow row;
    while (rows.next(&row))
        ++read;
    const qint64 readMs = clock.elapsed();

    const QString path = m_out.filePath(QStringLiteral("Scadenze.ics"));
    QString error;
    int events = 0;
    clock.restart();
    QVERIFY2(writeDeadlineCalendar(path, std::nullopt, &error, &events), qPrintable(error));
    const qint64 writeMs = clock.elapsed();
    QCOMPARE(events, read);
    QVERIFY(events >= 99000);
    qInfo("%d scadenze: lettura %lld ms, calendario %lld ms (%.1f MB), %.1f µs per evento", events,
          readMs, writeMs, QFileInfo(path).size() / 1e6, 1000.0 * writeMs / events);
}

TAVELO_TEST_MAIN(BenchCalendar)
#include "bench_calendar.moc"
