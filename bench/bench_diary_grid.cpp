// SPDX-License-Identifier: GPL-3.0-or-later
// How long the operator waits for a diary of 100 000 entries, and for the user list
// and the deadline list on a file of that size.
#include "bench_data.h"
#include "test_support.h"

#include "main_window/entry_panel.h"
#include "main_window/frm_registra.h"
#include "main_window/overview_panel.h"
#include "main_window/user_choice_panel.h"

#include "storage/statements.h"
#include "widgets/data_grid.h"
#include <QAbstractItemView>
#include <QComboBox>

#include <QAbstractItemModel>
#include <QComboBox>

class BenchDiaryGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void loadDiaryGridOfHeavyUser();
    void loadUserList();
    void readAllDeadlines();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<frmRegistra> m_window;
};

void BenchDiaryGrid::initTestCase()
{
    Prompt::install(nullptr);
    ScriptedPrompt::install();
    m_db = std::make_unique<TestDatabase>();
    QString problem;
    QVERIFY2(generateDiaryData(200, 100000, 20000, &problem), qPrintable(problem));
    m_window = std::make_unique<frmRegistra>();
    m_window->findChild<UserChoicePanel *>(QStringLiteral("Frame3"))->LoadUserList();
    m_window->findChild<QComboBox *>(QStringLiteral("Cbo1"))->setCurrentIndex(0);
    m_window->findChild<UserChoicePanel *>(QStringLiteral("Frame3"))->SelectUser();
}

void BenchDiaryGrid::cleanupTestCase()
{
    m_window.reset();
    m_db.reset();
}

void BenchDiaryGrid::loadDiaryGridOfHeavyUser()
{
    QBENCHMARK
    {
        m_window->findChild<EntryPanel *>(QStringLiteral("Frame2"))->LoadDiaryGrid();
    }
    QVERIFY(
        m_window->findChild<QAbstractItemView *>(QStringLiteral("DataGrid3"))->model()->rowCount() >
        0);
}

void BenchDiaryGrid::loadUserList()
{
    QBENCHMARK
    {
        m_window->findChild<UserChoicePanel *>(QStringLiteral("Frame3"))->LoadUserList();
    }
    QCOMPARE(m_window->findChild<QComboBox *>(QStringLiteral("Cbo1"))->count(), 200);
}

void BenchDiaryGrid::readAllDeadlines()
{
    int rows = 0;
    QBENCHMARK
    {
        RowStream<OverviewDeadline> deadlines = selectDeadlines();
        rows = 0;
        OverviewDeadline deadline;
        while (deadlines.next(&deadline))
            ++rows;
    }
    QVERIFY(rows > 90000);
}

TAVELO_TEST_MAIN(BenchDiaryGrid)
#include "bench_diary_grid.moc"
