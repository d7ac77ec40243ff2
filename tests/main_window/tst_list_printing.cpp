// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a list: title, page numbers, column heads placed by the columns' shares, cells
// cut to their column, a page every 80 lines, the foot; a failure cancels and tells.
#include "main_window_steps.h"
#include "recording_print_surface.h"

#include "main_window/frm_registra.h"
#include "main_window/overview_panel.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>

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
    RecordingPrintSurface *paper = RecordingPrintSurface::install();
    paper->failBegin = failure == QLatin1String("begin");
    paper->failEnd = failure == QLatin1String("end");
    frmRegistra window;
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
    QStringList texts;
    for (const RecordingPrintSurface::Text &t : paper->texts)
        texts << QStringLiteral("%1 %2,%3 %4%5")
                     .arg(t.page)
                     .arg(t.x, 0, 'g', 6)
                     .arg(t.y, 0, 'g', 6)
                     .arg(t.text, QLatin1String(t.bold ? "*" : ""));
    QFETCH(QStringList, printed);
    qsizetype at = 0; // each text printed, in this order
    for (const QString &text : printed) {
        at = texts.indexOf(text, at);
        QVERIFY2(at >= 0, qPrintable(text + " in " + texts.join(" / ")));
    }
    QTEST(paper->pages, "pages");
    QVERIFY(
        allMatch(told.isEmpty() ? QStringList() : QStringList{"x||" + told}, shownBoxes(*prompt)));
    QCOMPARE(paper->aborted, !told.isEmpty());
    // The print toggle is released when the list is printed, kept when it is not.
    QCOMPARE(print->isChecked(), !told.isEmpty());
    RecordingPrintSurface::uninstall();
    Prompt::install(nullptr);
}

TAVELO_TEST_MAIN(TestListPrinting)
#include "tst_list_printing.moc"
