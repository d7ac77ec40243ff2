// SPDX-License-Identifier: GPL-3.0-or-later
// The diary grid: which columns it shows and how wide, and that reloading it again
// and again keeps nothing behind.
#include "main_window_steps.h"
#include "test_support.h"

#include "core/twips.h"
#include "main_window/frm_registra.h"
#include "widgets/data_grid.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>

class TestDiaryGridLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void columnsAreShownAndSized_data();
    void columnsAreShownAndSized();
    void reloadingKeepsNothingBehind();

private:
    MainWindowTest f;
};

void TestDiaryGridLayout::init()
{
    QVERIFY(f.prepare());
    // A table with two more columns than the program knows: the grid shows its own.
    QVERIFY(f.db->exec(QStringLiteral("ALTER TABLE Tavelo ADD COLUMN Extra1 TEXT")));
    QVERIFY(f.db->exec(QStringLiteral("ALTER TABLE Tavelo ADD COLUMN Extra2 TEXT")));
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    f.db->addEntry(rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"),
                   QStringLiteral("1,2"));
    f.db->addEntry(rossi, QDate(2026, 1, 12), QDate(2026, 2, 1), QStringLiteral("FEBBRAIO"));
    QVERIFY(f.start());
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("ROSSI MARIO")));
}

void TestDiaryGridLayout::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

void TestDiaryGridLayout::columnsAreShownAndSized_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("widthTwips"); // 0: hidden
    QTest::newRow("ID") << 0 << "ID" << 0;
    QTest::newRow("data") << 1 << "data" << 1000;
    QTest::newRow("scadenza") << 2 << "scadenza" << 1000;
    QTest::newRow("Oggetto") << 3 << "Oggetto" << 4500;
    QTest::newRow("ndoc") << 4 << "ndoc" << 900;
    QTest::newRow("Utente") << 5 << "Utente" << 0;
    QTest::newRow("AGG") << 6 << "AGG" << 1000;
}

void TestDiaryGridLayout::columnsAreShownAndSized()
{
    QFETCH(int, position);
    QFETCH(QString, header);
    QFETCH(int, widthTwips);
    DataGrid *grid = f.window->DataGrid3;
    QVERIFY(grid->model());
    QCOMPARE(grid->model()->columnCount(), 7);
    QCOMPARE(grid->model()->headerData(position, Qt::Horizontal).toString(), header);
    QCOMPARE(grid->isColumnHidden(position), widthTwips == 0);
    if (widthTwips > 0)
        QCOMPARE(grid->columnWidth(position), twipsToPixels(widthTwips));
}

void TestDiaryGridLayout::reloadingKeepsNothingBehind()
{
    DataGrid *grid = f.window->DataGrid3;
    const auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); };
    settle();
    const qsizetype objects = grid->findChildren<QObject *>().size();
    for (int reload = 0; reload < 50; ++reload) {
        f.window->LoadDiaryGrid();
        settle();
    }
    QCOMPARE(grid->findChildren<QItemSelectionModel *>().size(), 1);
    QCOMPARE(grid->findChildren<QObject *>().size(), objects);
    QCOMPARE(grid->model()->rowCount(), 2);
}

TAVELO_TEST_MAIN(TestDiaryGridLayout)
#include "tst_diary_grid_layout.moc"
