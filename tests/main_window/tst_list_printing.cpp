// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a list: which parts of the page are printed bold, and which columns.
#include "recording_print_surface.h"
#include "test_support.h"

#include "main_window/frm_registra.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTreeView>

namespace {

// A list of three columns, the middle one hidden, and two rows.
struct TwoRowList
{
    QStandardItemModel model;
    QTreeView view;

    TwoRowList()
    {
        model.setColumnCount(3);
        for (int j = 0; j < 3; ++j)
            model.setHeaderData(j, Qt::Horizontal, QStringLiteral("Col%1").arg(j + 1));
        for (int row = 0; row < 2; ++row) {
            QList<QStandardItem *> items;
            for (int j = 0; j < 3; ++j)
                items << new QStandardItem(QStringLiteral("r%1c%2").arg(row).arg(j + 1));
            model.appendRow(items);
        }
        view.setModel(&model);
        view.header()->setStretchLastSection(false);
        view.header()->resizeSection(0, 40);
        view.header()->hideSection(1);
        view.header()->resizeSection(2, 60);
    }
};

} // namespace

class TestListPrinting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void eachPartHasItsWeight_data();
    void eachPartHasItsWeight();
    void hiddenColumnIsNotPrinted();

private:
    std::unique_ptr<frmRegistra> m_window;
    RecordingPrintSurface *m_paper = nullptr;
    ScriptedPrompt *m_prompt = nullptr;
    void printList();
};

void TestListPrinting::init()
{
    m_prompt = ScriptedPrompt::install();
    m_window = std::make_unique<frmRegistra>();
    m_paper = RecordingPrintSurface::install();
}

void TestListPrinting::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    RecordingPrintSurface::uninstall();
    m_window.reset();
    Prompt::install(nullptr);
}

void TestListPrinting::printList()
{
    TwoRowList list;
    QString title = QStringLiteral("Scadenze");
    m_window->ImprimerListView(&list.view, title, QStringLiteral("Sottotitolo"),
                               QStringLiteral("Liberation Sans"), 9);
    QVERIFY(m_paper->ended);
}

void TestListPrinting::eachPartHasItsWeight_data()
{
    // The whole printed text, as a pattern: the date is whatever day the test runs on.
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::newRow("title") << "SCADENZE" << true;
    QTest::newRow("page number") << "Page 1/1" << false;
    QTest::newRow("subtitle") << "Sottotitolo" << false;
    QTest::newRow("column header") << "Col1" << true;
    QTest::newRow("last column header") << "Col3" << true;
    QTest::newRow("first cell") << "r0c1" << false;
    QTest::newRow("last cell") << "r1c3" << false;
    QTest::newRow("program version") << "Tavelo v1\\.0\\.14" << true;
    QTest::newRow("date") << "\\d\\d/\\d\\d/\\d{4}" << false;
}

void TestListPrinting::eachPartHasItsWeight()
{
    QFETCH(QString, text);
    QFETCH(bool, bold);
    printList();
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(text));
    int found = 0;
    for (const RecordingPrintSurface::Text &printed : m_paper->texts) {
        if (!pattern.match(printed.text).hasMatch())
            continue;
        ++found;
        QCOMPARE(printed.bold, bold);
    }
    QCOMPARE(found, 1);
}

void TestListPrinting::hiddenColumnIsNotPrinted()
{
    printList();
    QStringList printed;
    for (const RecordingPrintSurface::Text &t : m_paper->texts)
        printed << t.text;
    for (const char *shown : {"Col1", "Col3", "r0c1", "r0c3", "r1c1", "r1c3"})
        QVERIFY2(printed.contains(QLatin1String(shown)), shown);
    for (const char *hidden : {"Col2", "r0c2", "r1c2"})
        QVERIFY2(!printed.contains(QLatin1String(hidden)), hidden);
}

TAVELO_TEST_MAIN(TestListPrinting)
#include "tst_list_printing.moc"
