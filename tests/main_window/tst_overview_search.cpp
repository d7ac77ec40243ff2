// SPDX-License-Identifier: GPL-3.0-or-later
// The overview finds a word as it is typed, and marks what is past due or due soon.
#include "main_window_steps.h"

#include <QAbstractItemView>
#include <QColor>
#include <QFont>

class TestOverviewSearch : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(f.prepare()); }
    void cleanup() { QCOMPARE(f.finish(), 0); }
    void searchKeepsDeadlinesHoldingEveryWord_data();
    void searchKeepsDeadlinesHoldingEveryWord();
    void dueDeadlinesAreMarked();

private:
    // The overview's rows, once the window is started on what the test stored.
    const QAbstractItemModel *overview()
    {
        return f.start() && runSteps(f, "Command2") ? f.at<QAbstractItemView>("ListView1")->model()
                                                    : nullptr;
    }
    MainWindowTest f;
};

// clang-format off
void TestOverviewSearch::searchKeepsDeadlinesHoldingEveryWord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    const QString vat = "Versamento IVA 50%", imu = "F24 dell'IMU", lease = "Rinnovo contratto_affitto", why = "Perché la ritenuta", quarter = "IVA trimestrale";
    QTest::newRow("nothing typed") << QString() << QStringList{vat, imu, lease, why, quarter};
    QTest::newRow("case aside") << "iva" << QStringList{vat, quarter};
    QTest::newRow("accents aside in the note") << "PERCHE" << QStringList{why};
    QTest::newRow("accents aside in the owner's name") << "citta" << QStringList{lease, why, quarter};
    QTest::newRow("every word, note and name") << "iva città" << QStringList{quarter};
    QTest::newRow("percent is a character") << "50%" << QStringList{vat};
    QTest::newRow("percent alone") << "%" << QStringList{vat};
    QTest::newRow("underscore is a character") << "o_a" << QStringList{lease};
    QTest::newRow("quote is a character") << "dell'imu" << QStringList{imu};
    QTest::newRow("blanks around and between") << "  iva   rossi " << QStringList{vat};
    QTest::newRow("found nowhere") << "xyz" << QStringList{};
}
// clang-format on

void TestOverviewSearch::searchKeepsDeadlinesHoldingEveryWord()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    const qint64 city = f.db->addSubject(QStringLiteral("CITTÀ SRL"));
    const QDate entered(2026, 1, 2);
    f.db->addEntry(rossi, entered, QDate(2027, 1, 10), QStringLiteral("Versamento IVA 50%"));
    f.db->addEntry(rossi, entered, QDate(2027, 1, 11), QStringLiteral("F24 dell'IMU"));
    f.db->addEntry(city, entered, QDate(2027, 1, 12), QStringLiteral("Rinnovo contratto_affitto"));
    f.db->addEntry(city, entered, QDate(2027, 1, 13), QStringLiteral("Perché la ritenuta"));
    f.db->addEntry(city, entered, QDate(2027, 1, 14), QStringLiteral("IVA trimestrale"));
    const QAbstractItemModel *model = overview();
    QVERIFY(model && runSteps(f, "Cerca+" + typed));
    const auto notes = [model] {
        QStringList notes;
        for (int row = 0; row < model->rowCount(); ++row)
            notes << model->index(row, 1).data().toString();
        return notes;
    };
    QTRY_COMPARE(notes(), found);
    // Emptied, the box gives the whole list back.
    QVERIFY(runSteps(f, "Cerca="));
    QTRY_COMPARE(model->rowCount(), 5);
}

// Past due in red, due within a week in bold; a screen reader hears which.
void TestOverviewSearch::dueDeadlinesAreMarked()
{
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    const QDate today = QDate::currentDate();
    const QList<std::pair<int, QString>> deadlines = {
        {-30, "scaduta"},   {-1, "scaduta"}, {0, "in scadenza"},
        {7, "in scadenza"}, {8, ""},         {400, ""}};
    for (const auto &[days, heard] : deadlines)
        f.db->addEntry(rossi, today.addDays(-60), today.addDays(days), QString::number(days));
    const QAbstractItemModel *model = overview();
    QVERIFY(model);
    QCOMPARE(model->rowCount(), int(deadlines.size()));
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString heard = deadlines.at(row).second;
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(row, column);
            QCOMPARE(cell.data(Qt::AccessibleDescriptionRole).toString(), heard);
            QCOMPARE(cell.data(Qt::ForegroundRole).isValid(), heard == QLatin1String("scaduta"));
            QCOMPARE(cell.data(Qt::FontRole).value<QFont>().bold(),
                     heard == QLatin1String("in scadenza"));
        }
    }
}

TAVELO_TEST_MAIN(TestOverviewSearch)
#include "tst_overview_search.moc"
