// SPDX-License-Identifier: GPL-3.0-or-later
// The rows a report reads and how their values print, on a data file (and, rerun, on
// the test server).
#include "report_fixtures.h"
#include "test_support.h"

#include "reports/report_definitions.h"
#include "reports/report_rows.h"
#include "storage/statements.h"

class TestReportRows : public QObject
{
    Q_OBJECT

private slots:
    void valuesAsText_data();
    void valuesAsText();
    void userCardFromTheArchive();
};

void TestReportRows::valuesAsText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<ReportValueFormat>("format");
    QTest::addColumn<QString>("text");
    const auto text = ReportValueFormat::Text;
    const auto date = ReportValueFormat::Date;
    QTest::newRow("NULL text column") << QVariant(QMetaType::fromType<QString>()) << date << "";
    QTest::newRow("NULL number column") << QVariant(QMetaType::fromType<qlonglong>()) << text << "";
    QTest::newRow("date and time value")
        << QVariant(QDateTime(QDate(2024, 3, 5), QTime(10, 30))) << text << "05/03/2024";
    QTest::newRow("ISO text in a date box") << QVariant("2024-03-05") << date << "05/03/2024";
    QTest::newRow("ISO text in a text box") << QVariant("2024-03-05") << text << "2024-03-05";
    QTest::newRow("other text in a date box") << QVariant("domani") << date << "domani";
    QTest::newRow("integer") << QVariant(qlonglong(1234567)) << text << "1234567";
    QTest::newRow("decimal") << QVariant(1234.5) << text << "1234,5";
}

void TestReportRows::valuesAsText()
{
    QFETCH(QVariant, value);
    QFETCH(ReportValueFormat, format);
    QFETCH(QString, text);
    QCOMPARE(formatReportValue(value, format), text);
}

// The card of one user: entries with an entry date, undated deadlines first, dates in
// the short form whatever the engine hands over, field names matched case aside.
void TestReportRows::userCardFromTheArchive()
{
    TestDatabase db;
    const qint64 user = db.addSubject("ROSSI");
    db.addEntry(user, QDate(2024, 1, 10), QDate(2024, 5, 1), "SECONDA", "1");
    db.addEntry(user, QDate(2024, 1, 11), QDate(), "PRIMA");
    db.addEntry(user, QDate(), QDate(2024, 1, 1), "SENZA DATA");
    db.addEntry(db.addSubject("BIANCHI"), QDate(2024, 1, 12), QDate(2024, 2, 1), "ALTRO UTENTE");
    Result<RowReader> read = selectUserCardRows(user);
    QVERIFY(read.ok());
    SqlReportRows rows(std::move(read.value));
    const ReportDocument document = buildReportDocument(createScheda(), rows, options());
    QCOMPARE(rows.errorString(), QString());
    QCOMPARE(document.texts("TextBox2"), (QStringList{"PRIMA", "SECONDA"}));
    QCOMPARE(document.texts("TextBox4"), (QStringList{"", "01/05/2024"}));
    QCOMPARE(document.texts("TextBox1"), (QStringList{"11/01/2024", "10/01/2024"}));
    QCOMPARE(document.texts("TextBox7"), (QStringList{"11/01/2024", "10/01/2024"}));
    QCOMPARE(document.texts("TextBox5"), (QStringList{"", "1"}));
    QCOMPARE(document.texts("TextBox3"), (QStringList{"2", "1"}));
}

TAVELO_TEST_MAIN(TestReportRows)
#include "tst_report_rows.moc"
