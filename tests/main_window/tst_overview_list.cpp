// SPDX-License-Identifier: GPL-3.0-or-later
// The overview of every user's deadlines: what it lists, how long lists are read, and
// the way from a deadline to its entry.
#include "main_window_steps.h"

#include "main_window/frm_registra.h"
#include "main_window/overview_list_model.h"
#include "storage/statements.h"

#include <QAbstractItemView>
#include <QSet>

class TestOverviewList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsLiveDeadlinesEarliestFirst();
    void longListsAreReadInPagesAfterTheLastRow();

private:
    MainWindowTest f;
    qint64 m_rossi = 0;
    qint64 m_verdi = 0;
    QStringList rows() const;
};

void TestOverviewList::init()
{
    QVERIFY(f.prepare());
    m_rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    m_verdi = f.db->addSubject(QStringLiteral("VERDI GIUSEPPE"));
    const qint64 gone = f.db->addSubject(QStringLiteral("CANCELLATO"));
    f.db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), "MARZO", "1,2");
    f.db->addEntry(m_rossi, QDate(2026, 1, 11), QDate(), QStringLiteral("SENZA SCADENZA"));
    f.db->addEntry(m_verdi, QDate(2026, 1, 12), QDate(2026, 2, 1), QStringLiteral("FEBBRAIO"));
    f.db->addEntry(gone, QDate(2026, 1, 12), QDate(2026, 1, 2), QStringLiteral("DI UN CANCELLATO"));
    QVERIFY(deleteSubject(gone).ok());
    QVERIFY(f.start());
}

void TestOverviewList::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

// Each row of the list as due date, note and owner's name, with the headers first.
QStringList TestOverviewList::rows() const
{
    const QAbstractItemModel *model = f.at<QAbstractItemView>("ListView1")->model();
    QStringList texts;
    for (int row = -1; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column : {0, 1, 3})
            cells << (row < 0 ? model->headerData(column, Qt::Horizontal)
                              : model->index(row, column).data())
                         .toString();
        texts << cells.join(QLatin1Char('|'));
    }
    return texts;
}

// A snapshot at each opening: a deadline written meanwhile shows at the next one, once.
void TestOverviewList::listsLiveDeadlinesEarliestFirst()
{
    QVERIFY(runSteps(f, "Command2"));
    const QStringList first = {"Scadenza|Oggetto|Soggetto", "01/02/2026|FEBBRAIO|VERDI GIUSEPPE",
                               "01/03/2026|MARZO|ROSSI MARIO"};
    QCOMPARE(rows(), first);
    f.db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 1, 20), QStringLiteral("NUOVA"));
    QCOMPARE(rows(), first);
    QVERIFY(runSteps(f, "Check6;Command2"));
    QCOMPARE(rows().mid(1, 2), QStringList({"20/01/2026|NUOVA|ROSSI MARIO", first.at(1)}));
    QCOMPARE(rows().size(), 4);
}

// Many deadlines fall on one day, across page ends: each shows once, in order, and the
// list (as the diary grid) opens before reading them all.
void TestOverviewList::longListsAreReadInPagesAfterTheLastRow()
{
    const int total = 2000;
    QVERIFY(addManyEntries(*f.db, total, QDate(2027, 1, 1), 3,
                           [&](int i) { return i % 2 ? m_rossi : m_verdi; }));
    QVERIFY(runSteps(f, "Command2"));
    QAbstractItemModel *model = f.at<QAbstractItemView>("ListView1")->model();
    QVERIFY2(model->rowCount() < total, qPrintable(QString::number(model->rowCount())));
    while (model->canFetchMore({}))
        model->fetchMore({});
    QCOMPARE(model->rowCount(), total + 2);
    QSet<qint64> entries;
    QString previous;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex cell = model->index(row, 0);
        const qint64 entry = cell.data(OverviewListModel::EntryIdRole).toLongLong();
        const QString key =
            QDate::fromString(cell.data().toString(), "dd/MM/yyyy").toString(Qt::ISODate) +
            QString::number(entry).rightJustified(8, QLatin1Char('0'));
        QVERIFY2(previous < key, qPrintable(key));
        entries.insert(entry);
        previous = key;
    }
    QCOMPARE(entries.size(), total + 2);
    QVERIFY(runSteps(f, "Check6;user ROSSI MARIO;Image2;Check1"));
    const QAbstractItemModel *grid = f.at<QAbstractItemView>("DataGrid3")->model();
    QVERIFY(grid->rowCount() < total / 2 && grid->canFetchMore({}));
}

TAVELO_TEST_MAIN(TestOverviewList)
#include "tst_overview_list.moc"
