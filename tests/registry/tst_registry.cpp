// SPDX-License-Identifier: GPL-3.0-or-later
// The registry window: its controls, panels, keyboard order, the moves between its
// panels, the grid of subjects and the registry print.
#include "recording_report_viewer.h"
#include "registry_fixture.h"

#include "core/activation.h"
#include "core/twips.h"
#include "reports/report_painter.h"
#include "widgets/data_grid.h"
#include "widgets/status_panels.h"
#include "widgets/toggle_button.h"
#include "widgets/window_toolbar.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>

namespace {

QStringList gridNames(const DataGrid *grid)
{
    QStringList names;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        names << grid->model()->index(row, 1).data().toString();
    return names;
}

QList<ToggleButton *> toggles(const frmAnagrafe *w)
{
    return {w->Check1, w->Check2, w->Check3, w->Check4, w->Check5, w->Check6, w->Check7, w->Check8};
}

QString togglesOn(const frmAnagrafe *w)
{
    QStringList on;
    for (ToggleButton *toggle : toggles(w))
        if (toggle->value() == 1)
            on << toggle->objectName();
    return on.join(QLatin1Char(' '));
}

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsHaveTheirNamesCaptionsAndPlaces_data();
    void controlsHaveTheirNamesCaptionsAndPlaces();
    void boxesHaveTheirLimits_data();
    void boxesHaveTheirLimits();
    void panelsCoverOneAnother();
    void tabFollowsTheWindowsOrder();
    void gestioneShowsMenuWithCoveredFields();
    void modifyAndDeleteShowTheGridWithEveryToggleOff_data();
    void modifyAndDeleteShowTheGridWithEveryToggleOff();
    void pickingRowsFillsFieldsAndPassword();
    void transitionsFromTheEditingPanel_data();
    void transitionsFromTheEditingPanel();
    void esciKeepsTheMode_data();
    void esciKeepsTheMode();
    void chiudiThenAnagraficaShowsEmptyStartPanel();
    void gridIsLazyAndNeverEdits();
    void gridPagesFollowOneAnotherInOrder();
    void registryPrintListsEverySubjectByName();
    void screenReaderNamesAndKeyboard();

private:
    RegistryFixture f;
    qint64 m_rossi = 0;
    qint64 m_bianchi = 0;
};

void TestRegistry::init()
{
    f.start();
    m_rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"), QStringLiteral("S"),
                               QStringLiteral("RSSMRA80A01H501U"));
    m_bianchi = f.db->addSubject(QStringLiteral("BIANCHI SRL"), QStringLiteral("N"),
                                 QStringLiteral("01234567890"));
    f.db->addSubject(QStringLiteral("ÀLVARO ANNA"), QStringLiteral("N"));
    f.db->addSubject(QStringLiteral("zanetti zeno"), QStringLiteral("N"));
    f.db->exec(
        QStringLiteral("UPDATE Utente SET email = 'mario@rossi.it', indirizzo = 'VIA ROMA 1',"
                       " Annotazione = 'nota' WHERE Soggetto = 'ROSSI MARIO'"));
}

void TestRegistry::cleanup()
{
    f.stop();
}

void TestRegistry::controlsHaveTheirNamesCaptionsAndPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    auto row = [](const char *name, const char *container, const QString &caption, int l, int t,
                  int wd, int h) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container)
                            << caption << QRect(l, t, wd, h);
    };
    row("Frame3", "frmAnagrafe", "Seleziona", 120, 840, 11895, 5775);
    row("Check7", "Frame3", "Gestione", 840, 840, 1215, 255);
    row("Check4", "Frame3", "Stampa", 840, 1320, 1215, 255);
    row("Frame4", "frmAnagrafe", "Controllo Codice Fiscale", 4440, 2640, 3135, 1695);
    row("Text55", "Frame4", "", 360, 480, 2295, 330);
    row("Cmd3", "Frame4", "Controlla", 720, 960, 1695, 255);
    row("Label67", "Frame4", "&X", 2880, 120, 135, 240);
    row("Frame2", "frmAnagrafe", "Seleziona", 360, 960, 11415, 5535);
    row("Check5", "Frame2", "Esci", 10320, 240, 615, 255);
    row("Datagrid1", "Frame2", "", 360, 600, 10605, 4635);
    row("Label10", "Frame2", "X", 11760, 240, 495, 255);
    row("Frame1", "frmAnagrafe", "Inserimento ", 960, 1080, 9975, 4935);
    row("Frame6", "Frame1", "", 240, 120, 9615, 4215);
    row("Text6", "Frame1", "", 8400, 1680, 975, 255);
    row("Check2", "Frame1", "Modifica", 6000, 4560, 1095, 255);
    row("Check1", "Frame1", "Utente", 5760, 2160, 1695, 255);
    row("Text13", "Frame1", "", 600, 3720, 1695, 255);
    row("Text12", "Frame1", "", 7680, 3000, 1695, 255);
    row("Text11", "Frame1", "", 6000, 3000, 1575, 255);
    row("Text10", "Frame1", "", 4200, 3000, 1695, 255);
    row("Text9", "Frame1", "", 600, 3000, 3495, 255);
    row("Text1", "Frame1", "", 8400, 2160, 975, 255);
    row("Text2", "Frame1", "", 600, 720, 8775, 255);
    row("Text3", "Frame1", "", 600, 1200, 8775, 255);
    row("Text4", "Frame1", "", 600, 1680, 7215, 255);
    row("Text5", "Frame1", "", 7920, 1680, 375, 255);
    row("Text7", "Frame1", "", 600, 2160, 2415, 255);
    row("Text8", "Frame1", "", 3120, 2160, 2415, 255);
    row("Text14", "Frame1", "", 2640, 3720, 6855, 360);
    row("Cmd2", "Frame1", "", 2640, 4440, 1695, 375);
    row("Check3", "Frame1", "Elimina", 7200, 4560, 855, 255);
    row("Check6", "Frame1", "Inserisci", 4680, 4560, 1215, 255);
    row("Check8", "Frame1", "Esci", 600, 4440, 615, 255);
    row("Label50", "Frame1", "Password", 600, 3480, 1455, 255);
    row("Label40", "Frame1", "Fax", 7680, 2760, 1455, 255);
    row("Label3", "Frame1", "Cellulare", 6000, 2760, 1455, 255);
    row("Label2", "Frame1", "Telefono", 4200, 2760, 1455, 255);
    row("Label100", "Frame1", "E mail", 600, 2760, 1455, 255);
    row("Label7", "Frame1", "Denominazione\\Cognome Nome", 600, 480, 3735, 255);
    row("Label8", "Frame1", "ID", 8160, 2160, 255, 255);
    row("Label9", "Frame1", "Indirizzo", 600, 960, 3735, 255);
    row("Label12", "Frame1", "CAP", 8400, 1440, 615, 255);
    row("Label13", "Frame1", "Città", 600, 1440, 1455, 255);
    row("Label14", "Frame1", "PR", 7920, 1440, 375, 255);
    row("Label15", "Frame1", "Codice Fiscale", 600, 1920, 1455, 255);
    row("Label16", "Frame1", "Partita IVA", 3120, 1920, 1455, 255);
    row("Label21", "Frame1", "Annotazione", 2640, 3480, 1455, 255);
    row("StatusBar1", "frmAnagrafe", "", 0, 6675, 12120, 375);
    row("Label5", "frmAnagrafe", "ID", 10320, 480, 855, 375);
    row("Label19", "frmAnagrafe", "Anno", 8400, 480, 855, 300);
}

void TestRegistry::controlsHaveTheirNamesCaptionsAndPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QWidget *control = f.w->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    QString shown;
    if (auto *box = qobject_cast<QGroupBox *>(control))
        shown = box->title();
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        shown = button->text();
    else if (auto *label = qobject_cast<QLabel *>(control))
        shown = label->text();
    else if (auto *line = qobject_cast<QLineEdit *>(control))
        shown = line->text();
    QCOMPARE(shown, caption);
}

void TestRegistry::boxesHaveTheirLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");
    QTest::newRow("PR") << "Text5" << 2;
    QTest::newRow("CAP") << "Text6" << 5;
    QTest::newRow("Codice Fiscale") << "Text7" << 16;
    QTest::newRow("Partita IVA") << "Text8" << 11;
    QTest::newRow("code to check") << "Text55" << 16;
}

void TestRegistry::boxesHaveTheirLimits()
{
    QFETCH(QString, name);
    QFETCH(int, limit);
    auto *box = f.w->findChild<QLineEdit *>(name);
    QVERIFY(box);
    // Typing stops at the limit.
    box->setEnabled(true);
    box->window()->show();
    QTest::keyClicks(box, QStringLiteral("12345678901234567890"));
    QCOMPARE(box->text().size(), limit);
}

void TestRegistry::panelsCoverOneAnother()
{
    frmAnagrafe *w = f.w;
    for (QGroupBox *panel : {w->Frame1, w->Frame2, w->Frame3, w->Frame4})
        panel->show();
    w->Frame6->hide();
    // The start panel lies over everything, then the check panel, then the grid.
    QVERIFY(f.seen(w->Check7));
    QVERIFY(!f.seen(w->Text55));
    QVERIFY(!f.seen(w->Text2));
    w->Frame3->hide();
    QVERIFY(f.seen(w->Text55));
    QVERIFY(f.seen(w->Datagrid1) || f.seen(w->Check5));
    QVERIFY(!f.seen(w->Check8));
    w->Frame2->hide();
    QVERIFY(f.seen(w->Check8));
    QVERIFY(f.seen(w->Text2));
    // The cover hides the fields and leaves the buttons below it free.
    w->Frame6->show();
    for (QWidget *field : {static_cast<QWidget *>(w->Text2), static_cast<QWidget *>(w->Check1),
                           static_cast<QWidget *>(w->Text14), static_cast<QWidget *>(w->Label7)})
        QVERIFY2(!f.seen(field), qPrintable(field->objectName()));
    for (QWidget *button : {static_cast<QWidget *>(w->Check8), static_cast<QWidget *>(w->Cmd2),
                            static_cast<QWidget *>(w->Check6), static_cast<QWidget *>(w->Check2),
                            static_cast<QWidget *>(w->Check3)})
        QVERIFY2(f.seen(button), qPrintable(button->objectName()));
    // Label10 lies beyond the grid panel's edge and cannot be seen.
    QVERIFY(!w->Frame2->rect().intersects(w->Label10->geometry()));
}

void TestRegistry::tabFollowsTheWindowsOrder()
{
    frmAnagrafe *w = f.w;
    for (QGroupBox *panel : {w->Frame1, w->Frame2, w->Frame3, w->Frame4})
        panel->show();
    w->Frame6->hide();
    w->Check1->setValue(1);
    w->Text2->setFocus();
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 25; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order.join(QLatin1Char(' ')),
             QStringLiteral("Text2 Text3 Text4 Text5 Text7 Text8 Check1 Text9 Text10 Text11 "
                            "Text12 Text13 Text14 Cmd2 Text1 Datagrid1 Check2 Check3 Check5 "
                            "Check6 Text55 Cmd3 Text6 Check7 Check8 Check4"));
}

void TestRegistry::gestioneShowsMenuWithCoveredFields()
{
    f.click(f.w->Check7);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame1"));
    QVERIFY(f.w->Frame6->isVisible());
    QVERIFY(!f.seen(f.w->Text2));
    QCOMPARE(f.w->Check7->value(), 1);
    // The action button has no mode yet and does nothing.
    QCOMPARE(f.w->Cmd2->text(), QString());
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 0);
    f.click(f.w->Check8);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(togglesOn(f.w), QStringLiteral("Check8"));
}

void TestRegistry::modifyAndDeleteShowTheGridWithEveryToggleOff_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("Modifica") << "Modifica";
    QTest::newRow("Elimina") << "Elimina";
}

void TestRegistry::modifyAndDeleteShowTheGridWithEveryToggleOff()
{
    QFETCH(QString, mode);
    f.openGrid(mode);
    QCOMPARE(togglesOn(f.w), QString());
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame2"));
    // Names in the Italian order: case aside, accented letters beside their base letter.
    QCOMPARE(gridNames(f.w->Datagrid1),
             QStringList({"ÀLVARO ANNA", "BIANCHI SRL", "ROSSI MARIO", "zanetti zeno"}));
    QHeaderView *header = f.w->Datagrid1->horizontalHeader();
    QStringList shown;
    for (int column = 0; column < header->count(); ++column)
        if (!f.w->Datagrid1->isColumnHidden(column))
            shown << f.w->Datagrid1->model()->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(shown, QStringList({"Soggetto", "Codice Fiscale"}));
    QCOMPARE(f.w->Datagrid1->columnWidth(1), twipsToPixels(5000));
    QCOMPARE(f.w->Datagrid1->columnWidth(6), twipsToPixels(2500));
}

void TestRegistry::pickingRowsFillsFieldsAndPassword()
{
    f.openGrid(QStringLiteral("Modifica"));
    f.pickRow(QStringLiteral("ROSSI MARIO"));
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame1"));
    QVERIFY(f.seen(f.w->Text2));
    QCOMPARE(f.w->Text1->text(), QString::number(m_rossi));
    QCOMPARE(f.w->Text2->text(), QStringLiteral("ROSSI MARIO"));
    QCOMPARE(f.w->Text3->text(), QStringLiteral("VIA ROMA 1"));
    QCOMPARE(f.w->Text7->text(), QStringLiteral("RSSMRA80A01H501U"));
    // A stored e-mail in small letters shows in capitals.
    QCOMPARE(f.w->Text9->text(), QStringLiteral("MARIO@ROSSI.IT"));
    QCOMPARE(f.w->Text14->text(), QStringLiteral("NOTA"));
    QCOMPARE(f.w->Check1->value(), 1);
    QVERIFY(f.w->Text13->isEnabled());
    QCOMPARE(f.w->Text13->text(), QStringLiteral("pw"));
    QCOMPARE(f.w->Cmd2->text(), QStringLiteral("Modifica"));

    // A non-user's row after a user's: the password box is emptied and disabled, then
    // shows the stored password (none).
    f.click(f.w->Check2);
    f.pickRow(QStringLiteral("BIANCHI SRL"));
    QCOMPARE(f.w->Check1->value(), 0);
    QVERIFY(!f.w->Text13->isEnabled());
    QCOMPARE(f.w->Text13->text(), QString());
    QCOMPARE(f.w->Text7->text(), QStringLiteral("01234567890"));
}

void TestRegistry::transitionsFromTheEditingPanel_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("toggle");
    QTest::addColumn<QString>("panels");
    QTest::addColumn<QString>("mode");
    const QStringList states = {"Menu", "Insert", "Edit"};
    for (const QString &from : states) {
        QTest::addRow("%s, Esci", qPrintable(from)) << from << "Check8"
                                                    << "Frame3"
                                                    << "keep";
        QTest::addRow("%s, Inserisci", qPrintable(from)) << from << "Check6"
                                                         << "Frame4"
                                                         << "Inserisci";
        QTest::addRow("%s, Modifica", qPrintable(from)) << from << "Check2"
                                                        << "Frame2"
                                                        << "Modifica";
        QTest::addRow("%s, Elimina", qPrintable(from)) << from << "Check3"
                                                       << "Frame2"
                                                       << "Elimina";
    }
}

void TestRegistry::transitionsFromTheEditingPanel()
{
    QFETCH(QString, from);
    QFETCH(QString, toggle);
    QFETCH(QString, panels);
    QFETCH(QString, mode);
    if (from == QLatin1String("Menu")) {
        f.click(f.w->Check7);
    } else if (from == QLatin1String("Insert")) {
        f.openInsertFields(QStringLiteral("NUOVO"));
        typeInto(f.w->Text2, QStringLiteral("NERI"));
    } else {
        f.openGrid(QStringLiteral("Modifica"));
        f.pickRow(QStringLiteral("ROSSI MARIO"));
    }
    const QString before = f.w->Cmd2->text();
    f.click(f.w->findChild<ToggleButton *>(toggle));
    QCOMPARE(f.seenPanels(), panels);
    QCOMPARE(f.w->Cmd2->text(), mode == QLatin1String("keep") ? before : mode);
    // Every way out of the editing panel leaves the fields empty.
    for (QLineEdit *box : {f.w->Text1, f.w->Text2, f.w->Text7, f.w->Text13})
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    QCOMPARE(f.w->Check1->value(), 0);
    QVERIFY(!f.w->Text13->isEnabled());
}

void TestRegistry::esciKeepsTheMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("Modifica") << "Modifica";
    QTest::newRow("Elimina") << "Elimina";
}

void TestRegistry::esciKeepsTheMode()
{
    QFETCH(QString, mode);
    f.openGrid(mode);
    f.click(f.w->Check5);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(f.w->Check5->value(), 1);
    f.click(f.w->Check7);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame1"));
    QCOMPARE(f.w->Cmd2->text(), mode);
    if (mode == QLatin1String("Modifica")) {
        // The covered, empty fields: the name is reported missing.
        f.prompt->answer(PromptAnswer::Ok);
        f.click(f.w->Cmd2);
        QCOMPARE(f.prompt->shown().size(), 1);
        QCOMPARE(f.prompt->shown().at(0).text, QStringLiteral("Inserire il campo Soggetto!"));
    } else {
        // The delete asks, then says that nothing was picked, and deletes nothing.
        f.prompt->answer(PromptAnswer::Yes);
        f.prompt->answer(PromptAnswer::Ok);
        f.click(f.w->Cmd2);
        QCOMPARE(f.prompt->shown().size(), 2);
        QVERIFY(!f.prompt->shown().at(1).text.contains(QLatin1String("successo")));
        QCOMPARE(f.db->count(QStringLiteral("Utente")), 4);
        QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    }
    // "Modifica" again switches "Esci" off before showing the grid.
    f.w->RegistryWindowActivate();
    f.openGrid(QStringLiteral("Modifica"));
    QCOMPARE(f.w->Check5->value(), 0);
}

void TestRegistry::chiudiThenAnagraficaShowsEmptyStartPanel()
{
    f.openGrid(QStringLiteral("Modifica"));
    f.pickRow(QStringLiteral("ROSSI MARIO"));
    QVERIFY(clickToolbar(f.w->tbTop, QStringLiteral("Chiudi")));
    QVERIFY(!f.w->isVisible());
    QTRY_VERIFY(f.window->Frame3->isVisible());
    QVERIFY(clickToolbar(f.window->tbTop, QStringLiteral("Anagrafica")));
    QTRY_COMPARE(f.w->Cmd2->text(), QString());
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(togglesOn(f.w), QString());
    for (QLineEdit *box : f.w->findChildren<QLineEdit *>())
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    QVERIFY(!f.w->Text13->isEnabled());
}

void TestRegistry::gridIsLazyAndNeverEdits()
{
    f.db->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                              "WHERE i < 3000) INSERT INTO Utente (Soggetto, Codice, utente) "
                              "SELECT 'SOGGETTO ' || i, 'C' || i, 'N' FROM n"));
    f.openGrid(QStringLiteral("Modifica"));
    QAbstractItemModel *model = f.w->Datagrid1->model();
    QVERIFY(model->rowCount() < 3000);
    QVERIFY(model->canFetchMore({}));
    QCOMPARE(f.w->Datagrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
}

// Pages continue after the last row read: names equal case aside, names without a
// value and accented names are neither lost nor read twice.
void TestRegistry::gridPagesFollowOneAnotherInOrder()
{
    f.db->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                              "WHERE i < 1400) INSERT INTO Utente (Soggetto, Codice, utente) "
                              "SELECT CASE i % 5 WHEN 0 THEN 'ROSSI' WHEN 1 THEN 'rossi' "
                              "WHEN 2 THEN NULL WHEN 3 THEN 'RÒSSI ' || (i % 7) "
                              "ELSE 'BIANCHI ' || i END, 'C' || i, 'N' FROM n"));
    RowStream<Subject> all = selectRegistryGridRows();
    QVERIFY(all.ok());
    QList<qint64> expected;
    Subject subject;
    while (all.next(&subject))
        expected << subject.id;
    QCOMPARE(expected.size(), 1404);
    f.openGrid(QStringLiteral("Modifica"));
    QAbstractItemModel *model = f.w->Datagrid1->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    QList<qint64> shown;
    for (int row = 0; row < model->rowCount(); ++row)
        shown << model->index(row, 0).data().toLongLong();
    QCOMPARE(shown, expected);
}

void TestRegistry::registryPrintListsEverySubjectByName()
{
    RecordingReportViewerScope preview;
    bool onWhileShown = false;
    preview.viewer().whileShown = [&](const ReportDocument &, QWidget *) {
        onWhileShown = f.w->Check4->value() == 1;
    };
    f.click(f.w->Check4);
    QCOMPARE(preview.viewer().documents().size(), 1);
    QVERIFY(onWhileShown);
    QCOMPARE(f.w->Check4->value(), 0);
    QCOMPARE(preview.viewer().owners().at(0).data(), f.w);
    // Every name is printed, in the Italian order.
    const QStringList printed =
        preview.viewer().documents().at(0).texts(QStringLiteral("TextBox5"));
    QCOMPARE(printed, QStringList({"ÀLVARO ANNA", "BIANCHI SRL", "ROSSI MARIO", "zanetti zeno"}));
    QTRY_COMPARE(f.seenPanels(), QStringLiteral("Frame3"));
}

void TestRegistry::screenReaderNamesAndKeyboard()
{
    frmAnagrafe *w = f.w;
    const QList<QPair<QLineEdit *, QString>> named = {{w->Text1, "ID"},
                                                      {w->Text2, "Denominazione\\Cognome Nome"},
                                                      {w->Text3, "Indirizzo"},
                                                      {w->Text4, "Città"},
                                                      {w->Text5, "PR"},
                                                      {w->Text6, "CAP"},
                                                      {w->Text7, "Codice Fiscale"},
                                                      {w->Text8, "Partita IVA"},
                                                      {w->Text9, "E mail"},
                                                      {w->Text10, "Telefono"},
                                                      {w->Text11, "Cellulare"},
                                                      {w->Text12, "Fax"},
                                                      {w->Text13, "Password"},
                                                      {w->Text14, "Annotazione"},
                                                      {w->Text55, "Controllo Codice Fiscale"}};
    for (const auto &[box, name] : named) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(box);
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Name), name);
    }
    QCOMPARE(w->Label7->buddy(), w->Text2);
    QCOMPARE(w->Label12->buddy(), w->Text6);
    QCOMPARE(QAccessible::queryAccessibleInterface(w->Check6)->text(QAccessible::Name),
             QStringLiteral("Inserisci"));
    // The header reads the chosen user, or says that there is none.
    f.w->RegistryWindowActivate();
    QCOMPARE(QAccessible::queryAccessibleInterface(w->Label1)->text(QAccessible::Name),
             QStringLiteral("Utente scelto: nessuno"));
    // The code check opens and closes from the keyboard: Space on the toggles, Alt+X.
    w->Check7->setFocus();
    QTest::keyClick(w->Check7, Qt::Key_Space);
    QVERIFY(w->Frame1->isVisible());
    w->Check6->setFocus();
    QTest::keyClick(w->Check6, Qt::Key_Space);
    QVERIFY(w->Frame4->isVisible());
    QCOMPARE(QApplication::focusWidget(), w->Text55);
    QTest::keyClick(w->Text55, Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(w->Cmd2->text(), QString());
    // Enter on a grid row picks it; the arrows only move.
    f.openGrid(QStringLiteral("Modifica"));
    w->Datagrid1->setFocus();
    QTest::keyClick(w->Datagrid1, Qt::Key_Down);
    QVERIFY(w->Frame2->isVisible());
    QTest::keyClick(w->Datagrid1, Qt::Key_Return);
    QVERIFY(!w->Frame2->isVisible());
    QVERIFY(!w->Text2->text().isEmpty());
}

TAVELO_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
