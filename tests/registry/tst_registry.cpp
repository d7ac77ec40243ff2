// SPDX-License-Identifier: GPL-3.0-or-later
// The registry window: its controls and keyboard order, the grid of subjects, the
// header handed back, the print, and the Italian order of names.
#include "recording_report_viewer.h"
#include "registry_fixture.h"

#include "reports/report_painter.h"
#include "storage/italian_collation.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"
#include "widgets/toggle_button.h"

#include <QAccessible>
#include <QLabel>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

const QStringList seeded = {"ÀLVARO ANNA", "BIANCHI SRL", "ROSSI MARIO", "zanetti zeno"};

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsLieInsideAndTabFollowsTheWindowsOrder();
    void gridPagesFollowOneAnotherInItalianOrder();
    void chiudiHandsTheHeaderBack();
    void registryPrintListsEverySubjectByName();
    void italianOrderAndItsQuickWay();

private:
    RegistryFixture f;
};

void TestRegistry::init()
{
    f.start();
    for (const char *name : {"zanetti zeno", "ROSSI MARIO", "ÀLVARO ANNA", "BIANCHI SRL"})
        f.db->addSubject(name, "N");
}

void TestRegistry::cleanup()
{
    f.stop();
}

void TestRegistry::controlsLieInsideAndTabFollowsTheWindowsOrder()
{
    // Only the grid panel's "X" lies beyond its panel's edge, out of sight.
    for (QWidget *control : f.w->findChildren<QWidget *>(QRegularExpression("^[A-Z][a-z]+\\d"))) {
        const bool inside = control->parentWidget()->rect().contains(control->geometry());
        QVERIFY2(inside != (control->objectName() == "Label10"), qPrintable(control->objectName()));
        if (auto *label = qobject_cast<QLabel *>(control); label && label->buddy())
            QCOMPARE(label->buddy()->accessibleName(), label->text());
    }
    f.run("insert X;click Check1");
    for (const char *panel : {"Frame2", "Frame3", "Frame4"})
        f.find(panel)->show();
    QStringList order;
    for (f.find("Text2")->setFocus(); order.size() < 26;
         QTest::keyClick(f.w->focusWidget(), Qt::Key_Tab))
        order << f.w->focusWidget()->objectName();
    QCOMPARE(order.join(' '), "Text2 Text3 Text4 Text5 Text7 Text8 Check1 Text9 Text10 Text11 "
                              "Text12 Text13 Text14 Cmd2 Text1 Datagrid1 Check2 Check3 Check5 "
                              "Check6 Text55 Cmd3 Text6 Check7 Check8 Check4");
}

// Pages continue after the last row read: names equal case aside, names without a
// value and accented names are neither lost nor read twice.
void TestRegistry::gridPagesFollowOneAnotherInItalianOrder()
{
    f.run("sql WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1400) "
          "INSERT INTO Utente (Soggetto, Codice, utente) SELECT CASE i % 5 WHEN 0 THEN 'ROSSI' "
          "WHEN 1 THEN 'rossi' WHEN 2 THEN NULL WHEN 3 THEN 'RÒSSI ' || (i % 7) ELSE 'BIANCHI ' "
          "|| i END, 'C' || i, 'N' FROM n;click Check7;click Check2");
    RowStream<Subject> all = selectRegistryGridRows();
    QList<qint64> expected;
    Subject subject;
    while (all.next(&subject))
        expected << subject.id;
    QCOMPARE(expected.size(), 1404);
    auto *grid = f.w->findChild<DataGrid *>("Datagrid1");
    QAbstractItemModel *model = grid->model();
    QVERIFY(model->rowCount() < 1404 && model->canFetchMore({}));
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QStringList shownColumns;
    for (int column = 0; column < model->columnCount(); ++column)
        if (!grid->isColumnHidden(column))
            shownColumns << model->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(shownColumns, QStringList({"Soggetto", "Codice Fiscale"}));
    while (model->canFetchMore({}))
        model->fetchMore({});
    QList<qint64> shown;
    QStringList named;
    for (int row = 0; row < model->rowCount(); ++row) {
        shown << model->index(row, 0).data().toLongLong();
        if (seeded.contains(model->index(row, 1).data().toString()))
            named << model->index(row, 1).data().toString();
    }
    QCOMPARE(shown, expected);
    QCOMPARE(named, seeded); // case aside, accented letters beside their base letter
}

void TestRegistry::chiudiHandsTheHeaderBack()
{
    f.run("modify ROSSI MARIO");
    f.chosen = {QString(), "2026", "7"};
    f.run("toolbar Chiudi");
    QVERIFY(!f.w->isVisible());
    QCOMPARE(f.handedBack.size(), 1);
    const ChosenUserLabels back = f.handedBack.at(0);
    QCOMPARE(back.label1 + '/' + back.label4 + '/' + back.label5, "ROSSI MARIO/Data/ID");
    // Shown again: the header of that moment, the start panel, nothing filled in.
    f.w->show();
    activateLater(f.w.get());
    QTRY_COMPARE(f.text("Label5") + '/' + f.text("Label4"), "7/2026");
    QCOMPARE(QAccessible::queryAccessibleInterface(f.find("Label1"))->text(QAccessible::Name),
             "Utente scelto: nessuno");
    f.run("?empty;?Text3=;?Text14=");
    QCOMPARE(f.where(), "Frame3 /  / Check7");
    for (ToggleButton *toggle : f.w->findChildren<ToggleButton *>())
        QVERIFY2(toggle->value() == 0, qPrintable(toggle->objectName()));
    QVERIFY(!f.w->close() && !f.w->isVisible()); // the title bar's close box acts as "Chiudi"
    QCOMPARE(f.handedBack.size(), 2);
}

void TestRegistry::registryPrintListsEverySubjectByName()
{
    RecordingReportViewerScope preview;
    auto *print = f.w->findChild<ToggleButton *>("Check4");
    bool onWhileShown = false;
    preview.viewer().whileShown = [&](const ReportDocument &, QWidget *) {
        onWhileShown = print->value() == 1;
    };
    f.run("click Check4");
    QVERIFY(onWhileShown && print->value() == 0);
    QCOMPARE(preview.viewer().owners().at(0).data(), f.w.get());
    QCOMPARE(preview.viewer().documents().at(0).texts("TextBox5"), seeded);
    QTRY_COMPARE(f.where(), "Frame3 /  / Check7");
}

// Most names take a quick way round the collator: it must give the same order.
void TestRegistry::italianOrderAndItsQuickWay()
{
    const QStringList ordered = {"3M SRL",      "ABACO",       "alberto", "ÀLVARO",
                                 "BRUNO",       "D'ANGELO",    "DANIELI", "NICOLO",
                                 "NICOLÒ ZETA", "ROSSI MARIO", "ROSSIANA"};
    auto quick = [](const QString &a, const QString &b) {
        const QByteArray x = a.toUtf8();
        const QByteArray y = b.toUtf8();
        return compareItalianUtf8(x.constData(), int(x.size()), y.constData(), int(y.size()));
    };
    for (int i = 1; i < ordered.size(); ++i) {
        const QString &a = ordered.at(i - 1);
        const QString &b = ordered.at(i);
        QVERIFY2(compareItalian(a, b) == -1 && compareItalian(b, a) == 1, qPrintable(b));
        QVERIFY2(quick(a, b) == -1 && compareItalian(a.toLower(), a) == 0, qPrintable(b));
    }
    QRandomGenerator random(4821);
    const QString letters = "aAàÀbzZ09 'oòÒöeèéiìuùçñ-.æß";
    auto word = [&] {
        QString text;
        for (int n = int(random.bounded(6)); n > 0; --n)
            text += letters.at(int(random.bounded(int(letters.size()))));
        return text;
    };
    for (int i = 0; i < 2000; ++i) {
        const QString a = word();
        const QString b = word();
        QCOMPARE(quick(a, b), compareItalian(a, b));
    }
}

TAVELO_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
