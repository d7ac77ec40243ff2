// SPDX-License-Identifier: GPL-3.0-or-later
// How text is broken into lines and which faces print it.
#include "report_fixtures.h"

#include "reports/report_text_measurer.h"

#include <QFontInfo>
#include <QLocale>
#include <QTest>

class TestReportText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fontFaces_data();
    void fontFaces();
    void lineBreaks_data();
    void lineBreaks();
    void longWordsBreakWithoutLoss();
};

void TestReportText::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestReportText::fontFaces_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("family");
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("Arial in capitals") << "ARIAL"
                                       << "Liberation Sans";
    QTest::newRow("Arial Narrow") << "Arial Narrow"
                                  << "Liberation Sans Narrow";
    QTest::newRow("vertical Unicode") << "@Arial Unicode MS"
                                      << "DejaVu Sans";
    QTest::newRow("Unicode") << "Arial Unicode MS"
                             << "DejaVu Sans";
}

void TestReportText::fontFaces()
{
    QFETCH(QString, face);
    QFETCH(QString, family);
    QCOMPARE(mapFontFamily(face), family);
    ReportFont font;
    font.face = face;
    font.italic = true;
    const QFont qfont = toQFont(font);
    // The face must really be there, not a fallback with other metrics.
    QCOMPARE(QFontInfo(qfont).family(), family);
    QVERIFY(QFontInfo(qfont).italic());
}

void TestReportText::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("one line") << "ROSSI" << QStringList{"ROSSI"};
    QTest::newRow("blanks kept on a line that fits") << "Quorvalia " << QStringList{"Quorvalia "};
    QTest::newRow("line feed") << "A\nB" << QStringList{"A", "B"};
    QTest::newRow("CR LF and a last Enter") << "A\r\nB\r\n" << QStringList{"A", "B"};
    QTest::newRow("empty line between") << "A\n\nB" << QStringList{"A", "", "B"};
}

void TestReportText::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    ReportTextMeasurer measurer(1200);
    QCOMPARE(measurer.wrap(arial10(), text, 3000), lines);
}

void TestReportText::longWordsBreakWithoutLoss()
{
    ReportTextMeasurer measurer(1200);
    const QString word = QString(80, QLatin1Char('W'));
    const QStringList broken = measurer.wrap(arial10(), word, 1000);
    QVERIFY(broken.size() > 1);
    QCOMPARE(broken.join(QString()), word);
    for (const QString &line : broken)
        QVERIFY(measurer.width(arial10(), line) <= 1000.5);

    // Between words, the blank at the break goes.
    const QString words = longText(30);
    const QStringList lines = measurer.wrap(arial10(), words, 3000);
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines.join(QLatin1Char(' ')), words);
}

QTEST_MAIN(TestReportText)
#include "tst_report_text.moc"
