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
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<frmRegistra> m_window;
    ScriptedPrompt *m_prompt = nullptr;
};

void TestDiaryGridLayout::init()
{
    m_prompt = ScriptedPrompt::install();
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isOpen());
    // A table with two more columns than the program knows: they must stay hidden.
    QVERIFY(m_db->exec(QStringLiteral("ALTER TABLE Tavelo ADD COLUMN Extra1 TEXT")));
    QVERIFY(m_db->exec(QStringLiteral("ALTER TABLE Tavelo ADD COLUMN Extra2 TEXT")));
    const qint64 rossi = m_db->addSubject(QStringLiteral("ROSSI MARIO"));
    m_db->addEntry(rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"),
                   QStringLiteral("1,2"));
    m_db->addEntry(rossi, QDate(2026, 1, 12), QDate(2026, 2, 1), QStringLiteral("FEBBRAIO"));
    m_window = startMainWindow();
    QVERIFY(m_window);
    openEntryPanel(*m_window, QStringLiteral("ROSSI MARIO"));
}

void TestDiaryGridLayout::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    m_window.reset();
    m_db.reset();
    Prompt::install(nullptr);
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
    QTest::newRow("a further column") << 7 << "Extra1" << 0;
    QTest::newRow("one more") << 8 << "Extra2" << 0;
}

void TestDiaryGridLayout::columnsAreShownAndSized()
{
    QFETCH(int, position);
    QFETCH(QString, header);
    QFETCH(int, widthTwips);
    DataGrid *grid = m_window->DataGrid3;
    QVERIFY(grid->model());
    QCOMPARE(grid->model()->columnCount(), 9);
    QCOMPARE(grid->model()->headerData(position, Qt::Horizontal).toString(), header);
    QCOMPARE(grid->isColumnHidden(position), widthTwips == 0);
    if (widthTwips > 0)
        QCOMPARE(grid->columnWidth(position), twipsToPixels(widthTwips));
}

void TestDiaryGridLayout::reloadingKeepsNothingBehind()
{
    DataGrid *grid = m_window->DataGrid3;
    const auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); };
    settle();
    const qsizetype objects = grid->findChildren<QObject *>().size();
    for (int reload = 0; reload < 50; ++reload) {
        m_window->LoadDiaryGrid();
        settle();
    }
    QCOMPARE(grid->findChildren<QItemSelectionModel *>().size(), 1);
    QCOMPARE(grid->findChildren<QObject *>().size(), objects);
    QCOMPARE(grid->model()->rowCount(), 2);
}

TAVELO_TEST_MAIN(TestDiaryGridLayout)
#include "tst_diary_grid_layout.moc"
