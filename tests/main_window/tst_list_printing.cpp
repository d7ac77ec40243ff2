// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a list: title, page numbers, column heads placed by the columns' shares, cells
// cut to their column, a page every 80 lines, the foot; a failure cancels and tells.
#include "main_window_steps.h"

#include "main_window/overview_panel.h"
#include "widgets/print_surface.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>

namespace {

// What the program printed: every character is one unit wide and a line 1.5 units high,
// so that positions can be worked out by hand. Each text as "page x,y text", "*" if bold.
struct Paper
{
    bool failBegin = false, failEnd = false, bold = false, aborted = false;
    int pages = 1;
    double x = 0, y = 0;
    QStringList texts;
};

class RecordingSurface : public PrintSurface
{
public:
    explicit RecordingSurface(Paper *paper) : p(paper) {}
    bool begin() override { return !p->failBegin; }
    void setFont(const QString &, int) override {}
    void setBold(bool on) override { p->bold = on; }
    void setScale(double, double) override {}
    double currentX() const override { return p->x; }
    double currentY() const override { return p->y; }
    void setCurrentX(double x) override { p->x = x; }
    void setCurrentY(double y) override { p->y = y; }
    double textWidth(const QString &text) const override { return double(text.size()); }
    void print(const QString &text) override
    {
        p->texts << QStringLiteral("%1 %2,%3 %4%5")
                        .arg(p->pages)
                        .arg(p->x, 0, 'g', 6)
                        .arg(p->y, 0, 'g', 6)
                        .arg(text, QLatin1String(p->bold ? "*" : ""));
        p->x = 0;
        p->y += 1.5;
    }
    void drawLine(double, double, double, double, const QColor &) override {}
    void newPage() override { ++p->pages; }
    bool end() override { return !p->failEnd; }
    void abort() override { p->aborted = true; }
    QString errorString() const override { return QStringLiteral("stampante di prova guasta"); }

private:
    Paper *p;
};

} // namespace

class TestListPrinting : public QObject
{
    Q_OBJECT

private slots:
    void printsTheListAsATable_data();
    void printsTheListAsATable();
};

// clang-format off
void TestListPrinting::printsTheListAsATable_data()
{
    QTest::addColumn<QList<int>>("widths"); // in pixels; 0 hides the column
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("cell"); // every cell's text, or rRcC
    QTest::addColumn<QString>("failure"); // "begin" or "end" of the printer
    QTest::addColumn<QStringList>("printed"); // page x,y text, * when bold, in this order
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("told");
    const QString date = QDate::currentDate().toString("dd/MM/yyyy");
    const QStringList foot = {"1 5,93 Tavelo v1.0.14*", "1 85,93 " + date};
    QTest::newRow("an empty list") << QList<int>{100, 300} << 0 << "" << "" << QStringList{"1 41.5,3 SCADENZE DI TUTTI*", "1 90,3 Page 1/1", "1 44.5,5 Sottotitolo", "1 0,10 Col1*", "1 25,10 Col2*"} + foot << 1 << "";
    QTest::newRow("hidden column, cells") << QList<int>{40, 0, 60} << 2 << "" << "" << QStringList{"1 0,10 Col1*", "1 40,10 Col3*", "1 0,14 r0c1", "1 40,14 r0c3", "1 0,16 r1c1", "1 40,16 r1c3"} + foot << 1 << "";
    QTest::newRow("shares round to whole units") << QList<int>{1, 2, 3} << 1 << "X" << "" << QStringList{"1 0,10 Col1*", "1 16.6667,10 Col2*", "1 50.3333,10 Col3*", "1 0,14 X", "1 17,14 X", "1 50,14 X"} << 1 << "";
    QTest::newRow("cells cut to their column") << QList<int>{20, 1, 179} << 1 << "ABCDEFGHIJKLMN" << "" << QStringList{"1 0,14 ABCDEFGHIJ", "1 10,14 ", "1 10,14 ABCDEFGHIJKLMN"} << 1 << "";
    QTest::newRow("79 lines, one page") << QList<int>{50, 50} << 79 << "" << "" << QStringList{"1 0,170 r78c1"} << 1 << "";
    QTest::newRow("81 lines, two pages") << QList<int>{50, 50} << 81 << "" << "" << QStringList{"1 90,3 Page 1/2", "1 0,172 r79c1", "2 90,3 Page 2/2", "2 0,10 Col1*", "2 0,14 r80c1"} << 2 << "";
    QTest::newRow("columns without width") << QList<int>{0, 0} << 2 << "" << "" << QStringList{} << 1 << "Divisione per zero: le colonne dell'elenco non hanno larghezza.";
    QTest::newRow("no printer") << QList<int>{10} << 2 << "" << "begin" << QStringList{} << 1 << "stampante di prova guasta";
    QTest::newRow("printer fails at the end") << QList<int>{10} << 2 << "" << "end" << QStringList{} << 1 << "stampante di prova guasta";
}
// clang-format on

void TestListPrinting::printsTheListAsATable()
{
    QFETCH(QList<int>, widths);
    QFETCH(int, rows);
    QFETCH(QString, cell);
    QFETCH(QString, failure);
    QStandardItemModel model(rows, int(widths.size()));
    QTreeView view;
    view.setModel(&model);
    view.header()->setMinimumSectionSize(1);
    view.header()->setStretchLastSection(false);
    for (int j = 0; j < widths.size(); ++j) {
        model.setHeaderData(j, Qt::Horizontal, QStringLiteral("Col%1").arg(j + 1));
        for (int row = 0; row < rows; ++row)
            model.setData(model.index(row, j),
                          cell.isEmpty() ? QStringLiteral("r%1c%2").arg(row).arg(j + 1) : cell);
        view.header()->resizeSection(j, widths.at(j));
        view.header()->setSectionHidden(j, widths.at(j) == 0);
    }
    ScriptedPrompt *prompt = ScriptedPrompt::install();
    Paper paper;
    paper.failBegin = failure == QLatin1String("begin");
    paper.failEnd = failure == QLatin1String("end");
    PrintSurface::setFactory([&paper] { return std::make_unique<RecordingSurface>(&paper); });
    QWidget window;
    new OverviewPanel(&window);
    auto *print = window.findChild<QCheckBox *>(QStringLiteral("Check7"));
    print->blockSignals(true);
    print->setChecked(true);
    QString title = QStringLiteral("  scadenze di tutti ");
    QFETCH(QString, told);
    if (!told.isEmpty())
        prompt->answer(PromptAnswer::Ok);
    window.findChild<OverviewPanel *>(QStringLiteral("Frame4"))
        ->ImprimerListView(&view, title, "Sottotitolo", "Liberation Sans", 9);
    QCOMPARE(title, QStringLiteral("SCADENZE DI TUTTI"));
    const QStringList &texts = paper.texts;
    QFETCH(QStringList, printed);
    qsizetype at = 0; // each text printed, in this order
    for (const QString &text : printed) {
        at = texts.indexOf(text, at);
        QVERIFY2(at >= 0, qPrintable(text + " in " + texts.join(" / ")));
    }
    QTEST(paper.pages, "pages");
    QVERIFY(
        allMatch(told.isEmpty() ? QStringList() : QStringList{"x||" + told}, shownBoxes(*prompt)));
    QCOMPARE(paper.aborted, !told.isEmpty());
    // The print toggle is released when the list is printed, kept when it is not.
    QCOMPARE(print->isChecked(), !told.isEmpty());
    PrintSurface::setFactory({});
    Prompt::install(nullptr);
}

TAVELO_TEST_MAIN(TestListPrinting)
#include "tst_list_printing.moc"
