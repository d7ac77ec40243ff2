// SPDX-License-Identifier: GPL-3.0-or-later
// The data grid bound again and again: nothing stays behind, picking keeps working.
#include "test_support.h"

#include "widgets/data_grid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>

namespace {

void fill(QStandardItemModel &model, const QString &prefix)
{
    model.setColumnCount(2);
    for (int row = 0; row < 3; ++row)
        model.appendRow({new QStandardItem(prefix + QString::number(row)),
                         new QStandardItem(QStringLiteral("x"))});
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QPoint rowCentre(const DataGrid &grid, int row)
{
    return grid.visualRect(grid.model()->index(row, 0)).center();
}

} // namespace

class TestDataGrid : public QObject
{
    Q_OBJECT

private slots:
    void rebindingKeepsNothingBehind_data();
    void rebindingKeepsNothingBehind();
    void reloadFromPickHandler();
};

void TestDataGrid::rebindingKeepsNothingBehind_data()
{
    QTest::addColumn<bool>("unbindFirst");
    QTest::newRow("from one model to another") << false;
    QTest::newRow("unbound, then bound again") << true;
}

void TestDataGrid::rebindingKeepsNothingBehind()
{
    QFETCH(bool, unbindFirst);
    QStandardItemModel first;
    QStandardItemModel second;
    fill(first, QStringLiteral("a"));
    fill(second, QStringLiteral("b"));
    DataGrid grid;
    grid.setModel(&first);
    settle();
    const qsizetype objects = grid.findChildren<QObject *>().size();
    const QPointer<QItemSelectionModel> firstSelection = grid.selectionModel();
    for (int round = 0; round < 100; ++round) {
        if (unbindFirst)
            grid.setModel(nullptr);
        grid.setModel(round % 2 ? &first : &second);
        settle();
    }
    QVERIFY(firstSelection.isNull());
    QCOMPARE(grid.findChildren<QItemSelectionModel *>().size(), 1);
    QCOMPARE(grid.findChildren<QObject *>().size(), objects);
    // The headers follow the grid's selection, not one of their own.
    QCOMPARE(grid.horizontalHeader()->selectionModel(), grid.selectionModel());
    QCOMPARE(grid.verticalHeader()->selectionModel(), grid.selectionModel());
    // And the grid still picks rows.
    grid.resize(300, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy picked(&grid, &DataGrid::rowPicked);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, rowCentre(grid, 1));
    QCOMPARE(picked.size(), 1);
    QCOMPARE(grid.currentRowText(0), QStringLiteral("a1"));
}

// A handler of the pick may reload the grid: the selection model that is telling of
// the pick must live until it has finished.
void TestDataGrid::reloadFromPickHandler()
{
    QStandardItemModel first;
    QStandardItemModel second;
    fill(first, QStringLiteral("a"));
    fill(second, QStringLiteral("b"));
    DataGrid grid;
    grid.setModel(&first);
    grid.resize(300, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QString pickedText;
    connect(&grid, &DataGrid::rowPicked, this, [&] {
        pickedText = grid.currentRowText(0);
        grid.setModel(nullptr);
        grid.setModel(&second);
    });
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, rowCentre(grid, 2));
    QCOMPARE(pickedText, QStringLiteral("a2"));
    QCOMPARE(grid.model(), &second);
    settle();
    QCOMPARE(grid.findChildren<QItemSelectionModel *>().size(), 1);
}

TAVELO_TEST_MAIN(TestDataGrid)
#include "tst_data_grid.moc"
