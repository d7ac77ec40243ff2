// SPDX-License-Identifier: GPL-3.0-or-later
// The rows a report reads and how their values print.
#include "report_fixtures.h"

#include "reports/report_definitions.h"
#include "reports/report_rows.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

class TestReportRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void valuesAsText_data();
    void valuesAsText();
    void listRowsMatchFieldsWithoutCase();
    void schedaFromSqlQuery();
};

void TestReportRows::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestReportRows::valuesAsText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<ReportValueFormat>("format");
    QTest::addColumn<QString>("text");
    const auto text = ReportValueFormat::Text;
    const auto date = ReportValueFormat::Date;
    QTest::newRow("invalid") << QVariant() << text << "";
    QTest::newRow("NULL text column") << QVariant(QMetaType::fromType<QString>()) << date << "";
    QTest::newRow("NULL number column") << QVariant(QMetaType::fromType<qlonglong>()) << text << "";
    QTest::newRow("date value") << QVariant(QDate(2024, 3, 5)) << text << "05/03/2024";
    QTest::newRow("date and time value")
        << QVariant(QDateTime(QDate(2024, 3, 5), QTime(10, 30))) << text << "05/03/2024";
    QTest::newRow("ISO text in a date box") << QVariant("2024-03-05") << date << "05/03/2024";
    QTest::newRow("ISO text in a text box") << QVariant("2024-03-05") << text << "2024-03-05";
    QTest::newRow("other text in a date box") << QVariant("domani") << date << "domani";
    QTest::newRow("integer") << QVariant(qlonglong(1234567)) << text << "1234567";
    QTest::newRow("decimal") << QVariant(1234.5) << text << "1234,5";
    QTest::newRow("text with blanks") << QVariant("  A  B ") << text << "  A  B ";
}

void TestReportRows::valuesAsText()
{
    QFETCH(QVariant, value);
    QFETCH(ReportValueFormat, format);
    QFETCH(QString, text);
    QCOMPARE(formatReportValue(value, format), text);
}

void TestReportRows::listRowsMatchFieldsWithoutCase()
{
    ListReportRows rows({{{"Soggetto", "ROSSI"}, {"ID", 7}}, {{"soggetto", "BIANCHI"}}});
    QCOMPARE(rows.value("SOGGETTO"), QVariant()); // no current row yet
    QVERIFY(rows.next());
    QCOMPARE(rows.value("SOGGETTO").toString(), QStringLiteral("ROSSI"));
    QCOMPARE(rows.value("id").toInt(), 7);
    QVERIFY(!rows.value("missing").isValid());
    QVERIFY(rows.next());
    QCOMPARE(rows.value("Soggetto").toString(), QStringLiteral("BIANCHI"));
    QVERIFY(!rows.value("ID").isValid());
    QVERIFY(!rows.next());
    QVERIFY(!rows.next());
}

void TestReportRows::schedaFromSqlQuery()
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "card");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        QSqlQuery setup(db);
        QVERIFY(setup.exec("CREATE TABLE Tavelo (ID INTEGER PRIMARY KEY, data TEXT, scadenza "
                           "TEXT, Oggetto TEXT, ndoc TEXT, Utente INTEGER, AGG TEXT)"));
        QVERIFY(setup.exec("INSERT INTO Tavelo (data, scadenza, Oggetto, ndoc, Utente, AGG) "
                           "VALUES ('2024-01-10', '2024-05-01', 'SECONDA', '1', 3, '2024-01-10'),"
                           " ('2024-01-11', NULL, 'PRIMA', NULL, 3, '2024-01-11'),"
                           " (NULL, '2024-01-01', 'SENZA DATA', '', 3, '2024-01-11'),"
                           " ('2024-01-12', '2024-02-01', 'ALTRO UTENTE', '', 4, '2024-01-12')"));

        QSqlQuery query(db);
        query.setForwardOnly(true);
        QVERIFY(query.prepare("SELECT * FROM Tavelo WHERE data IS NOT NULL AND Utente = ? "
                              "ORDER BY scadenza ASC"));
        query.addBindValue(3);
        QVERIFY(query.exec());
        SqlReportRows rows(std::move(query));
        const ReportDocument document = buildReportDocument(createScheda(), rows, options());
        QCOMPARE(rows.errorString(), QString());
        QCOMPARE(document.texts("TextBox2"), (QStringList{"PRIMA", "SECONDA"}));
        QCOMPARE(document.texts("TextBox4"), (QStringList{"", "01/05/2024"}));
        QCOMPARE(document.texts("TextBox1"), (QStringList{"11/01/2024", "10/01/2024"}));
        QCOMPARE(document.texts("TextBox5"), (QStringList{"", "1"}));
        QCOMPARE(document.texts("TextBox3"), (QStringList{"2", "1"}));
    }
    QSqlDatabase::removeDatabase("card");
}

QTEST_MAIN(TestReportRows)
#include "tst_report_rows.moc"
