// SPDX-License-Identifier: GPL-3.0-or-later
// Long lists: the overview read in pages, each after the last row read, and the diary
// grid read as it scrolls.
#include "main_window_steps.h"

#include "main_window/overview_list_model.h"

#include <QAbstractItemView>
#include <QSet>
#include <QSqlError>

class TestOverviewList : public QObject
{
    Q_OBJECT

private slots:
    void longListsAreReadInPagesAfterTheLastRow();
};

// Many deadlines fall on one day, across page ends: each shows once, in order, and the
// lists open before reading them all.
void TestOverviewList::longListsAreReadInPagesAfterTheLastRow()
{
    MainWindowTest f;
    QVERIFY(f.prepare());
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    const qint64 verdi = f.db->addSubject(QStringLiteral("VERDI GIUSEPPE"));
    const int total = 2000;
    QSqlQuery insert(DbConnection::instance().database()); // in one go, or it takes minutes
    QVERIFY(f.db->exec("BEGIN") && insert.prepare("INSERT INTO Tavelo (data, scadenza, Oggetto, "
                                                  "Utente) VALUES ('2026-01-01', ?, 'VOCE', ?)"));
    for (int i = 0; i < total; ++i) {
        insert.addBindValue(QDate(2027, 1, 1).addDays(i % 3).toString(Qt::ISODate));
        insert.addBindValue(i % 2 ? rossi : verdi);
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
    }
    QVERIFY(f.db->exec("COMMIT"));
    QVERIFY(f.start());
    QVERIFY(runSteps(f, "Command2"));
    QAbstractItemModel *model = f.at<QAbstractItemView>("ListView1")->model();
    QVERIFY2(model->rowCount() < total, qPrintable(QString::number(model->rowCount())));
    while (model->canFetchMore({}))
        model->fetchMore({});
    QCOMPARE(model->rowCount(), total);
    QSet<qint64> entries;
    QString previous;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex cell = model->index(row, 0);
        const qint64 entry = cell.data(OverviewListModel::EntryIdRole).toLongLong();
        const QString key =
            QDate::fromString(cell.data().toString(), "dd/MM/yyyy").toString(Qt::ISODate) +
            QString::number(entry).rightJustified(8, QLatin1Char('0'));
        QVERIFY2(previous < key && key.size() == 18, qPrintable(key));
        entries.insert(entry);
        previous = key;
    }
    QCOMPARE(entries.size(), total);
    QVERIFY(runSteps(f, "Check6;user ROSSI MARIO;Image2;Check1"));
    const QAbstractItemModel *grid = f.at<QAbstractItemView>("DataGrid3")->model();
    if (testServerConnection().isEmpty()) // the server's driver hands a query over whole
        QVERIFY(grid->rowCount() < total / 2 && grid->canFetchMore({}));
    QCOMPARE(f.finish(), 0);
}

TAVELO_TEST_MAIN(TestOverviewList)
#include "tst_overview_list.moc"
