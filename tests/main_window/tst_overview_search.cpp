// SPDX-License-Identifier: GPL-3.0-or-later
// The overview finds a word as it is typed, and marks what is past due or due soon.
#include "main_window_steps.h"

#include <QAbstractItemView>
#include <QColor>
#include <QFont>
#include <QLineEdit>

class TestOverviewSearch : public QObject
{
    Q_OBJECT

private slots:
    void searchKeepsDeadlinesHoldingEveryWord_data();
    void searchKeepsDeadlinesHoldingEveryWord();
    void dueDeadlinesAreMarked();
};

namespace {

// The notes of the overview's rows, in the list's order.
QStringList listedNotes(const QAbstractItemModel *model)
{
    QStringList notes;
    for (int row = 0; row < model->rowCount(); ++row)
        notes << model->index(row, 1).data().toString();
    return notes;
}

// Types as a keyboard does, accented letters included (QTest::keyClicks knows ASCII only).
void typeInto(QWidget *box, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_A, QString(c), Qt::NoModifier);
}

QLineEdit *searchBox(QWidget *window)
{
    for (QLineEdit *box : window->findChildren<QLineEdit *>()) {
        if (box->isVisible() && readerName(box) == QLatin1String("Cerca"))
            return box;
    }
    return nullptr;
}

} // namespace

void TestOverviewSearch::searchKeepsDeadlinesHoldingEveryWord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    const QString vat = QStringLiteral("Versamento IVA 50%"), imu = QStringLiteral("F24 dell'IMU"),
                  lease = QStringLiteral("Rinnovo contratto_affitto"),
                  why = QStringLiteral("Perché la ritenuta"),
                  quarter = QStringLiteral("IVA trimestrale");
    QTest::newRow("nothing typed") << QString() << QStringList{vat, imu, lease, why, quarter};
    QTest::newRow("case aside") << "iva" << QStringList{vat, quarter};
    QTest::newRow("accents aside in the note") << "PERCHE" << QStringList{why};
    QTest::newRow("accents aside in the owner's name")
        << "citta" << QStringList{lease, why, quarter};
    QTest::newRow("every word, note and name") << "iva città" << QStringList{quarter};
    QTest::newRow("percent is a character") << "50%" << QStringList{vat};
    QTest::newRow("percent alone") << "%" << QStringList{vat};
    QTest::newRow("underscore is a character") << "o_a" << QStringList{lease};
    QTest::newRow("quote is a character") << "dell'imu" << QStringList{imu};
    QTest::newRow("blanks around and between") << "  iva   rossi " << QStringList{vat};
    QTest::newRow("found nowhere") << "xyz" << QStringList{};
}

void TestOverviewSearch::searchKeepsDeadlinesHoldingEveryWord()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    MainWindowTest f;
    QVERIFY(f.prepare());
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    const qint64 city = f.db->addSubject(QStringLiteral("CITTÀ SRL"));
    const QDate entered(2026, 1, 2);
    f.db->addEntry(rossi, entered, QDate(2027, 1, 10), QStringLiteral("Versamento IVA 50%"));
    f.db->addEntry(rossi, entered, QDate(2027, 1, 11), QStringLiteral("F24 dell'IMU"));
    f.db->addEntry(city, entered, QDate(2027, 1, 12), QStringLiteral("Rinnovo contratto_affitto"));
    f.db->addEntry(city, entered, QDate(2027, 1, 13), QStringLiteral("Perché la ritenuta"));
    f.db->addEntry(city, entered, QDate(2027, 1, 14), QStringLiteral("IVA trimestrale"));
    QVERIFY(f.start());
    QVERIFY(runSteps(f, "Command2"));
    QLineEdit *box = searchBox(f.window);
    QVERIFY(box);
    const QAbstractItemModel *model = f.at<QAbstractItemView>("ListView1")->model();
    typeInto(box, typed);
    QTRY_COMPARE(listedNotes(model), found);
    // Emptied, the box gives the whole list back.
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTRY_COMPARE(model->rowCount(), 5);
    QCOMPARE(f.finish(), 0);
}

// Past due in red, due within a week in bold; a screen reader hears which.
void TestOverviewSearch::dueDeadlinesAreMarked()
{
    MainWindowTest f;
    QVERIFY(f.prepare());
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    const QDate today = QDate::currentDate();
    const struct
    {
        int days;
        const char *heard;
    } deadlines[] = {{-30, "scaduta"},   {-1, "scaduta"}, {0, "in scadenza"},
                     {7, "in scadenza"}, {8, ""},         {400, ""}};
    for (const auto &deadline : deadlines)
        f.db->addEntry(rossi, today.addDays(-60), today.addDays(deadline.days),
                       QString::number(deadline.days));
    QVERIFY(f.start());
    QVERIFY(runSteps(f, "Command2"));
    const QAbstractItemModel *model = f.at<QAbstractItemView>("ListView1")->model();
    QCOMPARE(model->rowCount(), int(std::size(deadlines)));
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString heard = QString::fromLatin1(deadlines[row].heard);
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(row, column);
            QCOMPARE(cell.data(Qt::AccessibleDescriptionRole).toString(), heard);
            QCOMPARE(cell.data(Qt::ForegroundRole).isValid(), heard == QLatin1String("scaduta"));
            QCOMPARE(cell.data(Qt::FontRole).value<QFont>().bold(),
                     heard == QLatin1String("in scadenza"));
        }
    }
    QCOMPARE(f.finish(), 0);
}

TAVELO_TEST_MAIN(TestOverviewSearch)
#include "tst_overview_search.moc"
