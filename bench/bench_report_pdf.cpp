// SPDX-License-Identifier: GPL-3.0-or-later
// How long the all-users report takes to reach a PDF, against a bare QPainter drawing
// the same strings at the same positions on as many pages of a QPdfWriter.
//
//   bench_report_pdf [--keep FOLDER] [entries ...]     (default: 10000 100000)
//
// --keep leaves the report's PDF and the data file of each size in FOLDER, to compare
// with another build or to time tavelo-report on.
//
// For each size: a fresh data file with that many diary entries (four in five with a
// due date, one note in ten long enough to wrap), the report written as the program
// writes it (statement, layout, painter, PDF), then the bare drawing; both times, their
// ratio, and the peak memory of the process after the report (before the bare drawing
// keeps its strings in memory).
#include "bench_data.h"
#include "test_support.h"

#include "reports/report_definitions.h"
#include "reports/report_layout.h"
#include "reports/report_rows.h"
#include "reports/report_sources.h"
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <vector>

namespace {

// One line of text or one rule, in device pixels of a 1200 dpi page.
struct Stroke
{
    int font = -1; // -1: a rule
    QRectF rect;
    int flags = 0;
    QString text;
};

struct BarePages
{
    std::vector<QFont> fonts;
    std::vector<std::vector<Stroke>> pages;
};

// Processor time of this thread in seconds: steadier than the wall clock on a busy
// machine, and the whole work is done on this thread.
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Where the report puts each string, taken once from its layout, untimed.
BarePages recordStrokes(const ReportDefinition &definition)
{
    constexpr qreal scale = 1200 / twipsPerInch;
    BarePages bare;
    std::vector<ReportFont> known;
    Result<RowReader> rows = selectAllUsersDeadlines();
    SqlReportRows source(std::move(rows.value));
    ReportLayout counting(definition);
    ReportLayout layout(definition);
    const int pageCount = counting.run(source, [](ReportPage &&) {});
    Result<RowReader> again = selectAllUsersDeadlines();
    SqlReportRows second(std::move(again.value));
    layout.run(second, [&](ReportPage &&page) {
        layout.resolvePageCount(page, pageCount);
        std::vector<Stroke> strokes;
        for (const ReportItem &item : page.items) {
            const QRectF r(item.rect.left() * scale, item.rect.top() * scale,
                           item.rect.width() * scale, item.rect.height() * scale);
            if (item.kind == ReportItemKind::Line) {
                strokes.push_back({-1, r, 0, {}});
                continue;
            }
            auto it = std::find(known.begin(), known.end(), item.font);
            if (it == known.end()) {
                known.push_back(item.font);
                QFont font = toQFont(item.font);
                bare.fonts.push_back(font);
                it = known.end() - 1;
            }
            const int font = int(it - known.begin());
            const int flags = int(item.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop |
                              Qt::TextSingleLine | Qt::TextDontClip;
            for (qsizetype i = 0; i < item.lines.size(); ++i) {
                if (item.lines.at(i).isEmpty())
                    continue;
                strokes.push_back({font,
                                   QRectF(r.left(), r.top() + i * item.lineHeight * scale,
                                          r.width(), item.lineHeight * scale),
                                   flags, item.lines.at(i)});
            }
        }
        bare.pages.push_back(std::move(strokes));
    });
    return bare;
}

// Out of line, so that a profiler can count it apart.
[[gnu::noinline]] bool drawBare(const BarePages &bare, const QPageLayout &pageLayout,
                                const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setPageLayout(pageLayout);
    QPainter painter(&writer);
    std::vector<QFont> fonts;
    for (const QFont &font : bare.fonts)
        fonts.emplace_back(font, &writer);
    QPen rule(Qt::black);
    rule.setWidthF(15 * 1200 / twipsPerInch);
    rule.setCapStyle(Qt::FlatCap);
    for (size_t p = 0; p < bare.pages.size(); ++p) {
        if (p > 0)
            writer.newPage();
        int current = -2;
        for (const Stroke &stroke : bare.pages[p]) {
            if (stroke.font < 0) {
                painter.setPen(rule);
                painter.drawLine(stroke.rect.topLeft(), stroke.rect.topRight());
                current = -2;
                continue;
            }
            if (current != stroke.font) {
                painter.setPen(Qt::black);
                painter.setFont(fonts[stroke.font]);
                current = stroke.font;
            }
            painter.drawText(stroke.rect, stroke.flags, stroke.text);
        }
    }
    return painter.end();
}

bool fillDataFile(int entries, QString *problem)
{
    if (!generateDiaryData(qMax(2, entries / 10), 0, entries, problem))
        return false;
    // One note in ten runs over two or three lines of its box.
    QSqlQuery lengthen(DbConnection::instance().database());
    return lengthen.exec(QStringLiteral(
        "UPDATE Tavelo SET Oggetto = Oggetto || ' CON UNA NOTA PIU LUNGA DEL SOLITO, CHE "
        "RICORDA COSA PORTARE, A CHI TELEFONARE E QUALI DOCUMENTI PREPARARE PRIMA' "
        "WHERE ID % 10 = 0"));
}

int benchOneSize(int entries, const QString &keep, QTextStream &out)
{
    TestDatabase db;
    QString problem;
    if (!db.isOpen() || !fillDataFile(entries, &problem)) {
        out << "cannot build the data file: " << problem << Qt::endl;
        return 1;
    }
    QTemporaryDir dir;
    const QString reportPath =
        keep.isEmpty() ? dir.filePath(QStringLiteral("report.pdf"))
                       : QDir(keep).filePath(QStringLiteral("report-%1.pdf").arg(entries));
    const QString barePath = dir.filePath(QStringLiteral("bare.pdf"));

    // Both start with the fonts found and loaded: the first text a process measures
    // pays for reading the font database.
    {
        QImage warm(8, 8, QImage::Format_RGB32);
        QPainter painter(&warm);
        for (const ReportSection &section : createSchedaUtenti().sections) {
            for (const ReportControl &control : section.controls) {
                painter.setFont(toQFont(createSchedaUtenti().fontOf(control)));
                painter.drawText(QPointF(0, 8), control.name);
            }
        }
    }
    QElapsedTimer clock;
    clock.start();
    double cpu = cpuSeconds();
    int pages = 0;
    const Check written =
        writeReportToPdf(ReportKind::AllUsers, 0, {}, reportPath, [&pages](int page, int) {
            pages = page;
            return true;
        });
    const qint64 reportMs = clock.elapsed();
    const double reportCpu = cpuSeconds() - cpu;
    const double reportPeak = peakMegabytes();
    if (!written.ok()) {
        out << "report failed: " << written.problem << Qt::endl;
        return 1;
    }

    // What the preview waits for before it shows: the whole report laid out in memory.
    clock.restart();
    const ReportBuild preview = buildAllUsersReport();
    const qint64 previewMs = clock.elapsed();

    const ReportDefinition definition = createSchedaUtenti();
    const BarePages bare = recordStrokes(definition);
    clock.restart();
    cpu = cpuSeconds();
    if (!drawBare(bare, definition.page.sheetLayout(), barePath)) {
        out << "bare drawing failed" << Qt::endl;
        return 1;
    }
    const qint64 bareMs = clock.elapsed();
    if (!keep.isEmpty())
        QFile::copy(db.path(),
                    QDir(keep).filePath(QStringLiteral("Database-%1.sqlite").arg(entries)));
    const double bareCpu = cpuSeconds() - cpu;

    out << QStringLiteral("%1 entries, %2 pages (bare %3): report %4 s (processor %5 s), "
                          "bare %6 s (processor %7 s), ratio %8 (processor %9)")
               .arg(entries)
               .arg(pages)
               .arg(bare.pages.size())
               .arg(reportMs / 1000.0, 0, 'f', 2)
               .arg(reportCpu, 0, 'f', 2)
               .arg(bareMs / 1000.0, 0, 'f', 2)
               .arg(bareCpu, 0, 'f', 2)
               .arg(double(reportMs) / qMax<qint64>(1, bareMs), 0, 'f', 2)
               .arg(reportCpu / bareCpu, 0, 'f', 2)
        << QStringLiteral("; preview laid out in %1 s").arg(previewMs / 1000.0, 0, 'f', 2)
        << QStringLiteral("; PDF %1 / %2 MB; peak memory after the report %3 MB")
               .arg(QFileInfo(reportPath).size() / 1048576.0, 0, 'f', 1)
               .arg(QFileInfo(barePath).size() / 1048576.0, 0, 'f', 1)
               .arg(reportPeak, 0, 'f', 0)
        << Qt::endl;
    return pages == int(bare.pages.size()) && preview.value.pageCount() == pages ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    prepareTestEnvironment();
    QApplication app(argc, argv);
    Prompt::install(nullptr);
    ScriptedPrompt::install();
    QTextStream out(stdout);
    QList<int> sizes;
    QString keep;
    QStringList arguments = app.arguments().mid(1);
    if (arguments.size() >= 2 && arguments.first() == QLatin1String("--keep")) {
        keep = QDir(arguments.at(1)).absolutePath();
        arguments = arguments.mid(2);
    }
    for (const QString &argument : arguments)
        sizes.append(argument.toInt());
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    int status = 0;
    for (const int entries : sizes)
        status |= benchOneSize(entries, keep, out);
    return status;
}
