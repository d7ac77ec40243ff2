// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as the operator drives it.
#include "main_window_steps.h"
#include "recording_print_surface.h"
#include "recording_report_viewer.h"
#include "test_support.h"

#include "widgets/activation.h"
#include "core/dates.h"
#include "widgets/shell_services.h"
#include "widgets/twips.h"
#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"
#include "storage/db_connection.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/note_box.h"
#include "widgets/picture_button.h"
#include "widgets/status_panels.h"
#include "widgets/toggle_button.h"
#include "widgets/window_toolbar.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QToolBar>
#include <QTreeView>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsHaveTheirNamesCaptionsAndPlaces_data();
    void controlsHaveTheirNamesCaptionsAndPlaces();
    void panelsAreStackedAndNothingIsClipped();
    void activationShowsUserChoiceWithUsersRefilled();
    void enteringWithoutUserIsRefused();
    void choosingUserSetsSelectedUser_data();
    void choosingUserSetsSelectedUser();
    void removedUserLeavesSelectionEmpty();
    void gestioneOpensEntryPanelWithTheUsersDiary();
    void userWithoutEntriesGetsNoticeAndEmptyGrid();
    void pickingRowFillsFieldsOnlyInModifyAndDelete();
    void rowWithoutDueDateKeepsTickAndEmptiesDueDate();
    void leavingEntryPanelResetsEditor();
    void backToUserChoice();
    void closeRequestsAreRefused();
    void chiudiWritesStampClosesFileAndEnds();
    void chiudiWithEmptyVersionTableWritesNothing();
    void versionStampShownAtActivation();
    void webLinkOpensAuthorPageAndKeepsBorder();
    void istruzioniOpensTheGuide();
    void overviewPanelLiesOverUserChoice();
    void registryRoundTripRefillsUserList();
    void registryCloseBoxActsAsChiudi();
    void diaryGridIsLazy();
    void keyboardAndScreenReader();
    void statusBarShowsDateAndTime();
    void desktopLauncherPlacedAtLoad();

    void userCardShowsSelectedUsersDatedEntries();
    void userCardOfUserWithoutEntries();
    void userCardIsFreshAtEveryLaunch();
    void allUsersReportListsLiveDeadlines();
    void reportFailureIsToldAndToggleReleased();

    void listPrintEmptyListIsOnePage();
    void listPrintBreaksAfterEightyLines_data();
    void listPrintBreaksAfterEightyLines();
    void listPrintPlacesColumnsByShare_data();
    void listPrintPlacesColumnsByShare();
    void listPrintCutsCellsAndRoundsLines();
    void listPrintFailureCancelsAndTells_data();
    void listPrintFailureCancelsAndTells();

private:
    MainWindowTest f;
    qint64 m_rossi = 0;
    qint64 m_verdi = 0;
    qint64 m_bianchi = 0;
};

void TestMainWindow::init()
{
    QVERIFY(f.prepare());
    m_rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    m_verdi = f.db->addSubject(QStringLiteral("VERDI GIUSEPPE"), QStringLiteral("s"));
    m_bianchi = f.db->addSubject(QStringLiteral("BIANCHI SRL"), QStringLiteral("N"));
    f.db->addSubject(QStringLiteral("D'ANGELO NICOLÒ"));
    f.db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"),
                   QStringLiteral("1,2"));
    f.db->addEntry(m_rossi, QDate(2026, 1, 11), QDate(), QStringLiteral("SENZA SCADENZA"));
    f.db->addEntry(m_rossi, QDate(2026, 1, 12), QDate(2026, 2, 1), QStringLiteral("FEBBRAIO"),
                   QStringLiteral("7"));
    QVERIFY(f.start());
}

void TestMainWindow::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

void TestMainWindow::controlsHaveTheirNamesCaptionsAndPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Frame4") << "Frame4"
                            << "frmRegistra"
                            << "Scadenze";
    QTest::newRow("Check7") << "Check7"
                            << "Frame4"
                            << "Stampa";
    QTest::newRow("Check6") << "Check6"
                            << "Frame4"
                            << "Esci";
    QTest::newRow("ListView1") << "ListView1"
                               << "Frame4"
                               << "";
    QTest::newRow("Frame2") << "Frame2"
                            << "frmRegistra"
                            << "***** Gestione";
    QTest::newRow("Text3") << "Text3"
                           << "Frame2"
                           << "";
    QTest::newRow("Cmd1") << "Cmd1"
                          << "Frame2"
                          << "Inserisci";
    QTest::newRow("Text2") << "Text2"
                           << "Frame2"
                           << "";
    QTest::newRow("Check2") << "Check2"
                            << "Frame2"
                            << "XPCheck1";
    QTest::newRow("DataBox1") << "DataBox1"
                              << "Frame2"
                              << "";
    QTest::newRow("Text1") << "Text1"
                           << "Frame2"
                           << "";
    QTest::newRow("DataBox2") << "DataBox2"
                              << "Frame2"
                              << "";
    QTest::newRow("DataGrid3") << "DataGrid3"
                               << "Frame2"
                               << "";
    QTest::newRow("Check3") << "Check3"
                            << "Frame2"
                            << "Modifica";
    QTest::newRow("Check4") << "Check4"
                            << "Frame2"
                            << "Elimina";
    QTest::newRow("Check5") << "Check5"
                            << "Frame2"
                            << "Stampa";
    QTest::newRow("Label10") << "Label10"
                             << "Frame2"
                             << "Seleziona  la riga ";
    QTest::newRow("Label9") << "Label9"
                            << "Frame2"
                            << "N_Doc";
    QTest::newRow("Label7") << "Label7"
                            << "Frame2"
                            << "ID Oper";
    QTest::newRow("Label6") << "Label6"
                            << "Frame2"
                            << "Avviso/ Scadenza";
    QTest::newRow("Label4") << "Label4"
                            << "Frame2"
                            << "Data";
    QTest::newRow("Image3") << "Image3"
                            << "Frame2"
                            << "";
    QTest::newRow("Frame3") << "Frame3"
                            << "frmRegistra"
                            << "Seleziona";
    QTest::newRow("Command2") << "Command2"
                              << "Frame3"
                              << "Scadenze per Utenti";
    QTest::newRow("Cbo1") << "Cbo1"
                          << "Frame3"
                          << "";
    QTest::newRow("Label11") << "Label11"
                             << "Frame3"
                             << "Accedi";
    QTest::newRow("Image2") << "Image2"
                            << "Frame3"
                            << "";
    QTest::newRow("Label2") << "Label2"
                            << "Frame3"
                            << "Utente";
    QTest::newRow("Frame1") << "Frame1"
                            << "frmRegistra"
                            << "Tavelo Lumbretto";
    QTest::newRow("Check1") << "Check1"
                            << "Frame1"
                            << "Gestione";
    QTest::newRow("Image4") << "Image4"
                            << "Frame1"
                            << "";
    QTest::newRow("tbTop") << "tbTop"
                           << "frmRegistra"
                           << "";
    QTest::newRow("StatusBar1") << "StatusBar1"
                                << "frmRegistra"
                                << "";
    QTest::newRow("Label12") << "Label12"
                             << "frmRegistra"
                             << "Vai al sito";
    QTest::newRow("Image5") << "Image5"
                            << "frmRegistra"
                            << "";
    QTest::newRow("Label8") << "Label8"
                            << "frmRegistra"
                            << "";
    QTest::newRow("Image1") << "Image1"
                            << "frmRegistra"
                            << "";
    QTest::newRow("Label3") << "Label3"
                            << "frmRegistra"
                            << "Versione";
    QTest::newRow("Label5") << "Label5"
                            << "frmRegistra"
                            << "ID";
    QTest::newRow("Label1") << "Label1"
                            << "frmRegistra"
                            << "";
}

void TestMainWindow::controlsHaveTheirNamesCaptionsAndPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    auto *control = f.window->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->parentWidget()->objectName(), container);
    QString text;
    if (auto *label = qobject_cast<QLabel *>(control))
        text = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        text = qobject_cast<PictureButton *>(control) ? QString() : button->text();
    else if (auto *frame = qobject_cast<QGroupBox *>(control))
        text = frame->title();
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        text = name.startsWith(QLatin1String("DataBox")) ? QString() : edit->text();
    QCOMPARE(text, caption);
}

void TestMainWindow::panelsAreStackedAndNothingIsClipped()
{
    QCOMPARE(f.window->size(), QSize(twipsToPixels(12120), twipsToPixels(7050)));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Registrazione"));
    QCOMPARE(f.window->Frame4->geometry(), twipsRect(360, 960, 8415, 3495));
    QCOMPARE(f.window->Frame2->geometry(), twipsRect(0, 600, 12015, 6015));
    QCOMPARE(f.window->Frame3->geometry(), twipsRect(480, 960, 6615, 3015));
    QCOMPARE(f.window->Frame1->geometry(), twipsRect(480, 960, 6615, 2895));
    // Topmost first: the overview, the entry panel, the user choice, the diary menu.
    const QObjectList children = f.window->children();
    auto stackIndex = [&](QWidget *w) { return children.indexOf(w); };
    QVERIFY(stackIndex(f.window->Frame4) > stackIndex(f.window->Frame2));
    QVERIFY(stackIndex(f.window->Frame2) > stackIndex(f.window->Frame3));
    QVERIFY(stackIndex(f.window->Frame3) > stackIndex(f.window->Frame1));

    const QList<QWidget *> all = f.window->findChildren<QWidget *>();
    for (QWidget *child : all) {
        QWidget *parent = child->parentWidget();
        if (child->isWindow() || !parent || child->objectName().isEmpty() ||
            child->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QVERIFY2(
            parent->rect().contains(child->geometry()),
            qPrintable(child->objectName() + QLatin1String(" leaves ") + parent->objectName()));
        if (auto *label = qobject_cast<QLabel *>(child); label && !label->text().isEmpty())
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(child->objectName() + QLatin1String(" is cut")));
        if (auto *button = qobject_cast<QPushButton *>(child);
            button && !qobject_cast<TickBox *>(child))
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width(),
                     qPrintable(child->objectName() + QLatin1String(" is cut")));
    }
}

void TestMainWindow::activationShowsUserChoiceWithUsersRefilled()
{
    QCOMPARE(visiblePanels(*f.window), QStringLiteral("Frame3"));
    QCOMPARE(comboItems(f.window->Cbo1),
             QStringList({"D'ANGELO NICOLÒ", "ROSSI MARIO", "VERDI GIUSEPPE"}));
    QCOMPARE(f.window->Cbo1->currentText(), QString());
    QVERIFY(chooseUser(*f.window, QStringLiteral("ROSSI MARIO")));
    f.db->addSubject(QStringLiteral("ANTONELLI ANNA"));
    f.window->MainWindowActivate();
    QCOMPARE(comboItems(f.window->Cbo1),
             QStringList({"ANTONELLI ANNA", "D'ANGELO NICOLÒ", "ROSSI MARIO", "VERDI GIUSEPPE"}));
    // The name is cleared at every activation; the ID stays until the next choice.
    QCOMPARE(f.window->Label1->text(), QString());
    QCOMPARE(f.window->Label8->text(), QString::number(m_rossi));
}

void TestMainWindow::enteringWithoutUserIsRefused()
{
    f.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(f.window->Image2, Qt::LeftButton);
    QCOMPARE(f.prompt->shown().size(), 1);
    const PromptRequest box = f.prompt->shown().at(0);
    QCOMPARE(box.text, QStringLiteral(" Attenzione occorre selezionare  un Utente   ! "));
    QCOMPARE(box.title, QStringLiteral(" Tavelo- ERRORE "));
    QCOMPARE(box.icon, PromptIcon::Information);
    QCOMPARE(box.buttons, PromptButtons::Ok);
    QCOMPARE(visiblePanels(*f.window), QStringLiteral("Frame3"));
}

void TestMainWindow::choosingUserSetsSelectedUser_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "ROSSI MARIO";
    QTest::newRow("flag in lower case") << "VERDI GIUSEPPE";
    QTest::newRow("quote and accent") << "D'ANGELO NICOLÒ";
}

void TestMainWindow::choosingUserSetsSelectedUser()
{
    QFETCH(QString, name);
    QVERIFY(chooseUser(*f.window, name));
    QCOMPARE(f.window->SelectedUserName(), name);
    const qint64 expected = findSubjectByName(name).value->id;
    QCOMPARE(f.window->SelectedUserId(), QString::number(expected));
    QCOMPARE(f.prompt->shown().size(), 0);
    // The keyboard chooses as well as the mouse.
    f.window->Cbo1->setFocus();
    QTest::keyClick(f.window->Cbo1, Qt::Key_Home);
    QCOMPARE(f.window->SelectedUserName(), QStringLiteral("D'ANGELO NICOLÒ"));
}

void TestMainWindow::removedUserLeavesSelectionEmpty()
{
    QVERIFY(chooseUser(*f.window, QStringLiteral("ROSSI MARIO")));
    QVERIFY(f.db->exec(QStringLiteral("DELETE FROM Utente WHERE Soggetto = 'VERDI GIUSEPPE'")));
    QVERIFY(chooseUser(*f.window, QStringLiteral("VERDI GIUSEPPE")));
    QCOMPARE(f.window->SelectedUserId(), QString());
    QCOMPARE(f.window->SelectedUserName(), QString());
    // With nobody selected the diary cannot open on someone else's entries.
    QTest::mouseClick(f.window->Image2, Qt::LeftButton);
    f.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(f.window->Check1, Qt::LeftButton);
    QCOMPARE(f.prompt->shown().size(), 1);
    QCOMPARE(f.prompt->shown().at(0).text,
             QStringLiteral(" Attenzione non ci sono dati  disponibili  ! "));
    QCOMPARE(f.window->DataGrid3->model(), nullptr);
}

void TestMainWindow::gestioneOpensEntryPanelWithTheUsersDiary()
{
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("ROSSI MARIO")));
    frmRegistra &w = *f.window;
    QCOMPARE(visiblePanels(w), QStringLiteral("Frame2"));
    QCOMPARE(w.Check1->value(), 1);
    QCOMPARE(w.Cmd1->text(), QStringLiteral("Inserisci"));
    QVERIFY(!w.Label10->isVisible());
    QCOMPARE(w.DataBox1->text(), todayScreenDate());
    QCOMPARE(w.DataBox2->text(), QString());
    QVERIFY(!w.DataBox2->isEnabled());
    QCOMPARE(w.DataBox2->backgroundColor(), w.palette().color(QPalette::Window));
    QVERIFY(!w.DataGrid3->isEnabled());
    QCOMPARE(w.DataGrid3->backgroundColor(), QColor(255, 255, 255));
    QCOMPARE(w.focusWidget(), w.DataBox1);

    QAbstractItemModel *model = w.DataGrid3->model();
    QVERIFY(model);
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->columnCount(), 7);
    QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Oggetto"));
    QStringList notes;
    for (int row = 0; row < 3; ++row)
        notes << model->index(row, 3).data().toString();
    QCOMPARE(notes, QStringList({"SENZA SCADENZA", "FEBBRAIO", "MARZO"}));
    QCOMPARE(model->index(1, 2).data().toString(), QStringLiteral("01/02/2026"));
    QCOMPARE(model->index(0, 2).data().toString(), QString());
    const QList<bool> hidden = {true, false, false, false, false, true, false};
    for (int column = 0; column < 7; ++column)
        QCOMPARE(w.DataGrid3->isColumnHidden(column), hidden.at(column));
    QCOMPARE(w.DataGrid3->columnWidth(1), twipsToPixels(1000));
    QCOMPARE(w.DataGrid3->columnWidth(3), twipsToPixels(4500));
    QCOMPARE(w.DataGrid3->columnWidth(4), twipsToPixels(900));
    QCOMPARE(f.prompt->shown().size(), 0);
}

void TestMainWindow::userWithoutEntriesGetsNoticeAndEmptyGrid()
{
    f.prompt->answer(PromptAnswer::Ok);
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("VERDI GIUSEPPE")));
    QCOMPARE(f.prompt->shown().size(), 1);
    const PromptRequest box = f.prompt->shown().at(0);
    QCOMPARE(box.text, QStringLiteral(" Attenzione non ci sono dati  disponibili  ! "));
    QCOMPARE(box.title, QStringLiteral(" Tavelo - ERRORE "));
    QCOMPARE(box.icon, PromptIcon::Information);
    QCOMPARE(f.window->DataGrid3->model(), nullptr);
    QCOMPARE(f.window->Cmd1->text(), QStringLiteral("Inserisci"));
    QVERIFY(f.window->Frame2->isVisible());
}

void TestMainWindow::pickingRowFillsFieldsOnlyInModifyAndDelete()
{
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("ROSSI MARIO")));
    frmRegistra &w = *f.window;
    w.DataGrid3->setEnabled(true);
    const int rowOfFebbraio = 1;
    auto clickRow = [&](int row) {
        const QRect cell = w.DataGrid3->visualRect(w.DataGrid3->model()->index(row, 3));
        QTest::mouseClick(w.DataGrid3->viewport(), Qt::LeftButton, {}, cell.center());
    };
    // Insert mode: the fields keep what they hold.
    w.Text2->setText(QStringLiteral("NUOVA"));
    clickRow(rowOfFebbraio);
    QCOMPARE(w.Text2->text(), QStringLiteral("NUOVA"));
    QCOMPARE(w.Text1->text(), QString());

    for (const QString &mode : {QStringLiteral("Modifica"), QStringLiteral("Elimina")}) {
        w.Cmd1->setText(mode);
        clickRow(0);
        clickRow(rowOfFebbraio);
        QCOMPARE(w.Text2->text(), QStringLiteral("FEBBRAIO"));
        QCOMPARE(w.DataBox1->text(), QStringLiteral("12/01/2026"));
        QCOMPARE(w.DataBox2->text(), QStringLiteral("01/02/2026"));
        QCOMPARE(w.Check2->value(), 1);
        QCOMPARE(w.Text3->text(), QStringLiteral("7"));
        QCOMPARE(w.Text1->text(), w.DataGrid3->model()->index(rowOfFebbraio, 0).data().toString());
        // The arrow keys only move; Enter picks the row reached.
        w.DataGrid3->setFocus();
        QTest::keyClick(w.DataGrid3->viewport(), Qt::Key_Down);
        QCOMPARE(w.Text2->text(), QStringLiteral("FEBBRAIO"));
        QTest::keyClick(w.DataGrid3->viewport(), Qt::Key_Return);
        QCOMPARE(w.Text2->text(), QStringLiteral("MARZO"));
        QCOMPARE(w.Text3->text(), QStringLiteral("1,2"));
    }
}

void TestMainWindow::rowWithoutDueDateKeepsTickAndEmptiesDueDate()
{
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("ROSSI MARIO")));
    frmRegistra &w = *f.window;
    w.DataGrid3->setEnabled(true);
    w.Cmd1->setText(QStringLiteral("Modifica"));
    auto clickRow = [&](int row) {
        const QRect cell = w.DataGrid3->visualRect(w.DataGrid3->model()->index(row, 3));
        QTest::mouseClick(w.DataGrid3->viewport(), Qt::LeftButton, {}, cell.center());
    };
    clickRow(2);
    QCOMPARE(w.Check2->value(), 1);
    clickRow(0);
    QCOMPARE(w.Text2->text(), QStringLiteral("SENZA SCADENZA"));
    QCOMPARE(w.Check2->value(), 1);
    QCOMPARE(w.DataBox2->text(), QString());
}

void TestMainWindow::leavingEntryPanelResetsEditor()
{
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("ROSSI MARIO")));
    frmRegistra &w = *f.window;
    w.DataBox1->setText(QStringLiteral("01/01/2020"));
    w.DataBox2->setEnabled(true);
    w.DataBox2->setText(QStringLiteral("02/02/2020"));
    w.Text1->setText(QStringLiteral("9"));
    w.Text2->setText(QStringLiteral("NOTA"));
    w.Text3->setText(QStringLiteral("3"));
    w.Label10->show();
    w.Check2->setValue(1);
    w.Check3->setValue(1);
    QTest::mouseClick(w.Image3, Qt::LeftButton);
    QCOMPARE(visiblePanels(w), QStringLiteral("Frame1"));
    QCOMPARE(w.Check1->value(), 0);
    QCOMPARE(w.DataBox1->text(), todayScreenDate());
    QCOMPARE(w.DataBox2->text(), QString());
    QVERIFY(!w.DataBox2->isEnabled());
    for (QLineEdit *field : {w.Text1, w.Text3})
        QCOMPARE(field->text(), QString());
    QCOMPARE(w.Text2->text(), QString());
    QVERIFY(w.Label10->isHidden());
    QCOMPARE(w.Check2->value(), 0);
    QCOMPARE(w.Check3->value(), 0);
    // The diary opens again from the menu.
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    QCOMPARE(visiblePanels(w), QStringLiteral("Frame2"));
}

void TestMainWindow::backToUserChoice()
{
    QVERIFY(chooseUser(*f.window, QStringLiteral("ROSSI MARIO")));
    QTest::mouseClick(f.window->Image2, Qt::LeftButton);
    QCOMPARE(visiblePanels(*f.window), QStringLiteral("Frame1"));
    f.window->Image4->setFocus();
    QTest::keyClick(f.window->Image4, Qt::Key_Space);
    QCOMPARE(visiblePanels(*f.window), QStringLiteral("Frame3"));
}

void TestMainWindow::closeRequestsAreRefused()
{
    ProgramEndRecorder ended;
    QVERIFY(!f.window->close());
    QCloseEvent event;
    QCoreApplication::sendEvent(f.window.get(), &event);
    QVERIFY(!event.isAccepted());
    QVERIFY(f.window->isVisible());
    QVERIFY(DbConnection::instance().isOpen());
    QCOMPARE(ended.statuses().size(), 0);
}

void TestMainWindow::chiudiWritesStampClosesFileAndEnds()
{
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("ROSSI MARIO")));
    ProgramEndRecorder ended;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QString path = f.db->path();
    QVERIFY(clickToolbar(f.window->tbTop, QStringLiteral("Chiudi")));
    QVERIFY(!f.window->isVisible());
    QVERIFY(!DbConnection::instance().isOpen());
    QCOMPARE(ended.statuses(), QList<int>({0}));
    QString problem;
    QVERIFY(DbConnection::instance().open(path, &problem));
    const QDateTime stamp = fromStoredDateTime(*readVersionStamp().value);
    QVERIFY(stamp >= before && stamp <= QDateTime::currentDateTime());
}

void TestMainWindow::chiudiWithEmptyVersionTableWritesNothing()
{
    QVERIFY(f.db->exec(QStringLiteral("DELETE FROM Versione")));
    const QDate before = QDate::currentDate();
    f.window->ShowVersionStamp();
    QVERIFY(isTodaySince(fromScreenDate(f.window->Label25->text().left(10)), before));
    ProgramEndRecorder ended;
    const QString path = f.db->path();
    f.window->ToolbarButtonClick(toolbarButton(f.window->tbTop, QStringLiteral("Chiudi")));
    QCOMPARE(ended.statuses(), QList<int>({0}));
    QString problem;
    QVERIFY(DbConnection::instance().open(path, &problem));
    QCOMPARE(f.db->count(QStringLiteral("Versione")), 0);
}

void TestMainWindow::versionStampShownAtActivation()
{
    QVERIFY(writeVersionStamp(QStringLiteral("2013-04-30T18:05:42")).ok());
    QCOMPARE(f.window->Label25->text().size(), 19);
    activateLater(f.window.get());
    QTRY_COMPARE(f.window->Label25->text(), QStringLiteral("30/04/2013 18:05:42"));
    QCOMPARE(f.window->Label3->text(), QStringLiteral("Versione"));
}

void TestMainWindow::webLinkOpensAuthorPageAndKeepsBorder()
{
    UrlRecorder urls;
    QVERIFY(!f.window->Image5->singleBorder());
    QTest::mousePress(f.window->Image5, Qt::LeftButton);
    // The page opens as the button goes down.
    QCOMPARE(urls.urls(), QList<QUrl>({QUrl(QString::fromLatin1(authorWebAddress))}));
    QTest::mouseRelease(f.window->Image5, Qt::LeftButton);
    QVERIFY(f.window->Image5->singleBorder());
    f.window->MainWindowActivate();
    QVERIFY(f.window->Image5->singleBorder());
    QCOMPARE(f.window->Image5->toolTip(), QStringLiteral("Vai al il mio sito !"));
}

void TestMainWindow::istruzioniOpensTheGuide()
{
    UrlRecorder urls;
    QVERIFY(clickToolbar(f.window->tbTop, QStringLiteral("Istruzioni")));
    QCOMPARE(urls.urls().size(), 1);
    QCOMPARE(QFileInfo(urls.urls().at(0).toLocalFile()).fileName(),
             QStringLiteral("Istruzioni.pdf"));
    QCOMPARE(urls.urls().at(0).toLocalFile(), frmRegistra::guidePath());
}

void TestMainWindow::overviewPanelLiesOverUserChoice()
{
    f.window->Check6->setChecked(true);
    QTest::mouseClick(f.window->Command2, Qt::LeftButton);
    QCOMPARE(visiblePanels(*f.window), QStringLiteral("Frame3 Frame4"));
    QVERIFY(!f.window->Check6->isChecked());
    f.window->MainWindowActivate();
    QCOMPARE(visiblePanels(*f.window), QStringLiteral("Frame3"));
}

void TestMainWindow::registryRoundTripRefillsUserList()
{
    QVERIFY(chooseUser(*f.window, QStringLiteral("ROSSI MARIO")));
    QVERIFY(clickToolbar(f.window->tbTop, QStringLiteral("Anagrafica")));
    frmAnagrafe *registry = f.window->registryWindow();
    QVERIFY(registry);
    QVERIFY(registry->isVisible());
    QVERIFY(registry->isWindow());
    QVERIFY(!f.window->isVisible());
    QTRY_COMPARE(registry->findChild<QLabel *>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("ROSSI MARIO"));
    QCOMPARE(registry->findChild<QLabel *>(QStringLiteral("Label4"))->text(),
             QStringLiteral("Data"));
    QCOMPARE(registry->findChild<QLabel *>(QStringLiteral("Label5"))->text(), QStringLiteral("ID"));
    QCOMPARE(registry->findChild<QLabel *>(QStringLiteral("Label19"))->text(),
             QStringLiteral("Anno"));

    f.db->addSubject(QStringLiteral("ANTONELLI ANNA"));
    QVERIFY(clickToolbar(registry->findChild<QToolBar *>(QStringLiteral("tbTop")),
                         QStringLiteral("Chiudi")));
    QVERIFY(!registry->isVisible());
    QVERIFY(f.window->isVisible());
    // Copied back at once, then cleared by the queued activation.
    QCOMPARE(f.window->Label1->text(), QStringLiteral("ROSSI MARIO"));
    QTRY_COMPARE(f.window->Cbo1->count(), 4);
    QCOMPARE(f.window->Label1->text(), QString());
    QCOMPARE(f.window->Label4->text(), QStringLiteral("Data"));
    QCOMPARE(f.window->Label5->text(), QStringLiteral("ID"));
    QCOMPARE(visiblePanels(*f.window), QStringLiteral("Frame3"));

    // The same window comes back the next time, with the header of that moment.
    QVERIFY(clickToolbar(f.window->tbTop, QStringLiteral("Anagrafica")));
    QCOMPARE(f.window->registryWindow(), registry);
    QTRY_COMPARE(registry->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QString());
}

void TestMainWindow::registryCloseBoxActsAsChiudi()
{
    QVERIFY(clickToolbar(f.window->tbTop, QStringLiteral("Anagrafica")));
    frmAnagrafe *registry = f.window->registryWindow();
    QVERIFY(registry->isVisible());
    QVERIFY(!registry->close());
    QVERIFY(!registry->isVisible());
    QVERIFY(f.window->isVisible());
    QTRY_VERIFY(f.window->Frame3->isVisible());
}

void TestMainWindow::diaryGridIsLazy()
{
    const int total = 20000;
    QVERIFY(addManyEntries(*f.db, total, QDate(2020, 1, 1), 3000, [&](int) { return m_verdi; }));
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("VERDI GIUSEPPE")));
    QAbstractItemModel *model = f.window->DataGrid3->model();
    QVERIFY(model);
    QVERIFY(model->rowCount() > 0);
    QVERIFY2(model->rowCount() < total, qPrintable(QString::number(model->rowCount())));
    QVERIFY(model->canFetchMore({}));
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("01/01/2020"));
}

void TestMainWindow::keyboardAndScreenReader()
{
    frmRegistra &w = *f.window;
    QCOMPARE(w.Label2->buddy(), w.Cbo1);
    QCOMPARE(w.Label11->buddy(), w.Image2);
    QCOMPARE(w.Label12->buddy(), w.Image5);
    QCOMPARE(w.Label4->buddy(), w.DataBox1);
    QCOMPARE(w.Label6->buddy(), w.DataBox2);
    QCOMPARE(w.Label7->buddy(), w.Text1);
    QCOMPARE(w.Label9->buddy(), w.Text3);
    QCOMPARE(w.Image2->accessibleName(), QStringLiteral("Accedi"));
    QCOMPARE(w.Image5->accessibleName(), QStringLiteral("Vai al sito"));
    QCOMPARE(w.Image3->accessibleName(), QStringLiteral("Indietro"));
    QCOMPARE(w.Image4->accessibleName(), QStringLiteral("Indietro"));
    for (QWidget *picture : {static_cast<QWidget *>(w.Image2), static_cast<QWidget *>(w.Image3),
                             static_cast<QWidget *>(w.Image4), static_cast<QWidget *>(w.Image5)})
        QVERIFY(picture->focusPolicy() & Qt::TabFocus);
    // Tab walks the user choice in reading order.
    w.Cbo1->setFocus();
    QCOMPARE(QApplication::focusWidget(), w.Cbo1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Image2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Command2);
    // Enter on the focused picture enters the diary, like a click.
    QVERIFY(chooseUser(*f.window, QStringLiteral("ROSSI MARIO")));
    w.Image2->setFocus();
    QTest::keyClick(w.Image2, Qt::Key_Return);
    QTRY_COMPARE(visiblePanels(w), QStringLiteral("Frame1"));
    // The toolbar answers its shortcuts.
    UrlRecorder urls;
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(urls.urls().size(), 1);
}

void TestMainWindow::statusBarShowsDateAndTime()
{
    StatusPanels *bar = f.window->StatusBar1;
    QCOMPARE(bar->panel(1)->text(), QStringLiteral("BLOC NUM"));
    QCOMPARE(bar->panel(2)->text(), QStringLiteral("BLOC MAIUSC"));
    QCOMPARE(bar->panel(3)->text(), todayScreenDate());
    const QTime shown = QTime::fromString(bar->panel(4)->text(), QStringLiteral("HH:mm:ss"));
    QVERIFY(shown.isValid());
    QVERIFY(qAbs(shown.secsTo(QTime::currentTime())) <= 2);
    bar->panel(4)->setText(QString());
    QTRY_VERIFY_WITH_TIMEOUT(!bar->panel(4)->text().isEmpty(), 2500);
    QVERIFY(bar->panel(0)->text().contains(QLatin1String("Tavelo")));
}

void TestMainWindow::desktopLauncherPlacedAtLoad()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString link = QDir(desktop).filePath(QStringLiteral("Quorvalia.desktop"));
    QVERIFY2(QFileInfo::exists(link), qPrintable(link));
    QCOMPARE(f.window->AppFilePath, QCoreApplication::applicationFilePath());
    QFile file(link);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(file.readAll()).contains(QCoreApplication::applicationFilePath()));
}

void TestMainWindow::userCardShowsSelectedUsersDatedEntries()
{
    RecordingReportViewerScope scope;
    f.db->addEntry(m_rossi, QDate(), QDate(2026, 6, 1), QStringLiteral("SENZA DATA"));
    f.db->addEntry(m_verdi, QDate(2026, 1, 1), QDate(2026, 6, 1), QStringLiteral("DI VERDI"));
    QVERIFY(openEntryPanel(*f.window, QStringLiteral("ROSSI MARIO")));
    frmRegistra &w = *f.window;
    {
        const QSignalBlocker quiet(w.Check5);
        w.Check5->setValue(1);
    }
    int toggleWhileShown = -1;
    scope.viewer().whileShown = [&](const ReportDocument &, QWidget *owner) {
        toggleWhileShown = w.Check5->value();
        QCOMPARE(owner, &w);
    };
    w.ShowUserCardReport();
    QCOMPARE(scope.viewer().documents().size(), 1);
    const ReportDocument &card = scope.viewer().documents().at(0);
    QCOMPARE(card.name, QStringLiteral("Scheda"));
    QCOMPARE(card.texts(QStringLiteral("Label2")), QStringList({"ROSSI MARIO"}));
    QCOMPARE(card.texts(QStringLiteral("TextBox2")),
             QStringList({"SENZA SCADENZA", "FEBBRAIO", "MARZO"}));
    QCOMPARE(card.texts(QStringLiteral("TextBox4")), QStringList({"", "01/02/2026", "01/03/2026"}));
    QCOMPARE(toggleWhileShown, 1);
    // At once: toggle released, entry panel shown, the user's labels as they were.
    QCOMPARE(w.Check5->value(), 0);
    QVERIFY(w.Frame2->isVisible());
    QCOMPARE(w.Label1->text(), QStringLiteral("ROSSI MARIO"));
    // Then the queued activation: back to the user choice, the name cleared, the ID kept.
    QTRY_VERIFY(w.Frame3->isVisible());
    QVERIFY(!w.Frame2->isVisible());
    QCOMPARE(w.Label1->text(), QString());
    QCOMPARE(w.Label8->text(), QString::number(m_rossi));
}

void TestMainWindow::userCardOfUserWithoutEntries()
{
    RecordingReportViewerScope scope;
    f.db->addEntry(m_verdi, QDate(), QDate(2026, 6, 1), QStringLiteral("SENZA DATA"));
    QVERIFY(chooseUser(*f.window, QStringLiteral("VERDI GIUSEPPE")));
    f.window->ShowUserCardReport();
    QCOMPARE(scope.viewer().documents().size(), 1);
    const ReportDocument &card = scope.viewer().documents().at(0);
    QCOMPARE(card.pageCount(), 1);
    QCOMPARE(card.texts(QStringLiteral("Label2")), QStringList({"VERDI GIUSEPPE"}));
    QCOMPARE(card.pages.at(0).bandCount(ReportSectionKind::Detail), 0);
    QCOMPARE(card.pages.at(0).bandCount(ReportSectionKind::ReportFooter), 1);
    QCOMPARE(f.prompt->shown().size(), 0);
}

void TestMainWindow::userCardIsFreshAtEveryLaunch()
{
    RecordingReportViewerScope scope;
    QVERIFY(chooseUser(*f.window, QStringLiteral("ROSSI MARIO")));
    f.window->ShowUserCardReport();
    QVERIFY(chooseUser(*f.window, QStringLiteral("D'ANGELO NICOLÒ")));
    f.window->ShowUserCardReport();
    QCOMPARE(scope.viewer().documents().size(), 2);
    QCOMPARE(scope.viewer().documents().at(1).texts(QStringLiteral("Label2")),
             QStringList({"D'ANGELO NICOLÒ"}));
    QCOMPARE(scope.viewer().documents().at(1).texts(QStringLiteral("TextBox2")), QStringList());
    QCOMPARE(scope.viewer().documents().at(0).pageLayout,
             scope.viewer().documents().at(1).pageLayout);
}

void TestMainWindow::allUsersReportListsLiveDeadlines()
{
    RecordingReportViewerScope scope;
    const qint64 gone = f.db->addSubject(QStringLiteral("ELIMINATO"));
    f.db->addEntry(gone, QDate(2026, 1, 1), QDate(2026, 1, 5), QStringLiteral("DI UN ELIMINATO"));
    f.db->addEntry(m_verdi, QDate(2026, 1, 1), QDate(2026, 2, 15), QStringLiteral("DI VERDI"));
    QVERIFY(deleteSubject(gone).ok());
    {
        // Ticked without its handler: the launcher is what is tested here.
        const QSignalBlocker quiet(f.window->Check7);
        f.window->Check7->setChecked(true);
    }
    bool checkedWhileShown = false;
    scope.viewer().whileShown = [&](const ReportDocument &, QWidget *) {
        checkedWhileShown = f.window->Check7->isChecked();
    };
    f.window->ShowAllUsersReport();
    QCOMPARE(scope.viewer().documents().size(), 1);
    const ReportDocument &report = scope.viewer().documents().at(0);
    QCOMPARE(report.name, QStringLiteral("SchedaUtenti"));
    const QString all = report.pages.at(0).items.isEmpty() ? QString() : [&] {
        QStringList texts;
        for (const ReportPage &page : report.pages)
            for (const ReportItem &item : page.items)
                texts << item.text();
        return texts.join(QLatin1Char('|'));
    }();
    QVERIFY(all.contains(QLatin1String("FEBBRAIO")));
    QVERIFY(all.contains(QLatin1String("DI VERDI")));
    QVERIFY(all.contains(QLatin1String("MARZO")));
    QVERIFY(!all.contains(QLatin1String("SENZA SCADENZA")));
    QVERIFY(!all.contains(QLatin1String("DI UN ELIMINATO")));
    QVERIFY(all.indexOf(QLatin1String("FEBBRAIO")) < all.indexOf(QLatin1String("DI VERDI")));
    QVERIFY(all.indexOf(QLatin1String("DI VERDI")) < all.indexOf(QLatin1String("MARZO")));
    QVERIFY(checkedWhileShown);
    QVERIFY(!f.window->Check7->isChecked());
    QTRY_VERIFY(!f.window->Frame4->isVisible());
}

void TestMainWindow::reportFailureIsToldAndToggleReleased()
{
    RecordingReportViewerScope scope;
    QVERIFY(chooseUser(*f.window, QStringLiteral("ROSSI MARIO")));
    {
        const QSignalBlocker quiet(f.window->Check5);
        f.window->Check5->setValue(1);
    }
    {
        // Ticked without its handler: the launcher is what is tested here.
        const QSignalBlocker quiet(f.window->Check7);
        f.window->Check7->setChecked(true);
    }
    QVERIFY(f.db->exec(QStringLiteral("ALTER TABLE Tavelo RENAME TO Rotto")));
    f.prompt->answer(PromptAnswer::Ok);
    f.prompt->answer(PromptAnswer::Ok);
    f.window->ShowUserCardReport();
    f.window->ShowAllUsersReport();
    QCOMPARE(scope.viewer().documents().size(), 0);
    QCOMPARE(f.prompt->shown().size(), 2);
    for (const PromptRequest &box : f.prompt->shown()) {
        QVERIFY2(box.text.startsWith(QLatin1String("Errore del database:")), qPrintable(box.text));
        QCOMPARE(box.icon, PromptIcon::Critical);
    }
    QCOMPARE(f.window->Check5->value(), 0);
    QVERIFY(!f.window->Check7->isChecked());
    QCOMPARE(f.window->Label1->text(), QStringLiteral("ROSSI MARIO"));
    QVERIFY(f.db->exec(QStringLiteral("ALTER TABLE Rotto RENAME TO Tavelo")));
    f.prompt->answer(PromptAnswer::Ok);
    QTRY_VERIFY(f.window->Frame3->isVisible());
}

namespace {

// A list view with the given column widths (0 hides a column) and rows of texts.
struct TestList
{
    QStandardItemModel model;
    QTreeView view;

    TestList(const QList<int> &widths, int rows, const QString &cell = QString())
    {
        model.setColumnCount(int(widths.size()));
        for (int j = 0; j < widths.size(); ++j)
            model.setHeaderData(j, Qt::Horizontal, QStringLiteral("Col%1").arg(j + 1));
        for (int row = 0; row < rows; ++row) {
            QList<QStandardItem *> items;
            for (int j = 0; j < widths.size(); ++j)
                items << new QStandardItem(
                    cell.isEmpty() ? QStringLiteral("r%1c%2").arg(row).arg(j + 1) : cell);
            model.appendRow(items);
        }
        view.setModel(&model);
        view.header()->setStretchLastSection(false);
        view.header()->setMinimumSectionSize(1);
        for (int j = 0; j < widths.size(); ++j) {
            if (widths.at(j) == 0)
                view.header()->hideSection(j);
            else
                view.header()->resizeSection(j, widths.at(j));
        }
    }
};

QStringList textsAtY(const QList<RecordingPrintSurface::Text> &texts, double y)
{
    QStringList found;
    for (const auto &t : texts)
        if (qFuzzyCompare(t.y + 1, y + 1))
            found << t.text;
    return found;
}

int itemLines(const QList<RecordingPrintSurface::Text> &texts)
{
    int count = 0;
    for (const auto &t : texts)
        if (t.text.startsWith(QLatin1Char('r')) && t.text.endsWith(QLatin1String("c1")))
            ++count;
    return count;
}

} // namespace

void TestMainWindow::listPrintEmptyListIsOnePage()
{
    const QDate before = QDate::currentDate();
    RecordingPrintSurface *paper = RecordingPrintSurface::install();
    TestList list({100, 300}, 0);
    QString title = QStringLiteral("  scadenze di tutti ");
    {
        // Ticked without its handler: the launcher is what is tested here.
        const QSignalBlocker quiet(f.window->Check7);
        f.window->Check7->setChecked(true);
    }
    f.window->ImprimerListView(&list.view, title, QStringLiteral("Sottotitolo"),
                               QStringLiteral("Liberation Sans"), 9);
    QCOMPARE(title, QStringLiteral("SCADENZE DI TUTTI"));
    QVERIFY(paper->ended);
    QVERIFY(!paper->aborted);
    QCOMPARE(paper->pages, 1);
    QCOMPARE(paper->face, QStringLiteral("Liberation Sans"));
    QCOMPARE(paper->pointSize, 9);
    QCOMPARE(paper->scaleWidth, 100.0);
    QCOMPARE(paper->scaleHeight, 100.0);
    QCOMPARE(paper->texts.size(), 7);
    const auto &t = paper->texts;
    QCOMPARE(t.at(0).text, title);
    QCOMPARE(t.at(0).x, 50 - title.size() / 2.0);
    QCOMPARE(t.at(0).y, 3.0);
    QVERIFY(t.at(0).bold);
    QCOMPARE(t.at(1).text, QStringLiteral("Page 1/1"));
    QCOMPARE(t.at(1).x, 90.0);
    QVERIFY(!t.at(1).bold);
    QCOMPARE(t.at(2).text, QStringLiteral("Sottotitolo"));
    QCOMPARE(t.at(2).x, 50 - 11 / 2.0);
    QCOMPARE(t.at(2).y, 5.0);
    QCOMPARE(textsAtY(t, 10), QStringList({"Col1", "Col2"}));
    QCOMPARE(t.at(3).x, 0.0);
    QCOMPARE(t.at(4).x, 25.0);
    QVERIFY(t.at(3).bold && t.at(4).bold);
    QCOMPARE(t.at(5).text, QStringLiteral("Tavelo v1.0.14"));
    QCOMPARE(t.at(5).x, 5.0);
    QCOMPARE(t.at(5).y, 93.0);
    QVERIFY(t.at(5).bold);
    QVERIFY(isTodaySince(QDate::fromString(t.at(6).text, QStringLiteral("dd/MM/yyyy")), before));
    QCOMPARE(t.at(6).x, 85.0);
    QVERIFY(!t.at(6).bold);
    QCOMPARE(paper->lines.size(), 2);
    QCOMPARE(paper->lines.at(0).y1, 13.0);
    QCOMPARE(paper->lines.at(0).x2, 100.0);
    QCOMPARE(paper->lines.at(1).y1, 90.0);
    QVERIFY(!f.window->Check7->isChecked());
    RecordingPrintSurface::uninstall();
}

void TestMainWindow::listPrintBreaksAfterEightyLines_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("onFirst");
    QTest::addColumn<int>("onLast");
    QTest::newRow("79") << 79 << 1 << 79 << 79;
    QTest::newRow("80") << 80 << 2 << 80 << 0;
    QTest::newRow("81") << 81 << 2 << 80 << 1;
    QTest::newRow("160") << 160 << 3 << 80 << 0;
}

void TestMainWindow::listPrintBreaksAfterEightyLines()
{
    QFETCH(int, items);
    QFETCH(int, pages);
    QFETCH(int, onFirst);
    QFETCH(int, onLast);
    RecordingPrintSurface *paper = RecordingPrintSurface::install();
    paper->lineHeight = 0.5;
    TestList list({50, 50}, items);
    QString title = QStringLiteral("Elenco");
    f.window->ImprimerListView(&list.view, title, QString(), QStringLiteral("Liberation Sans"), 8);
    QCOMPARE(paper->pages, pages);
    QCOMPARE(itemLines(paper->textsOnPage(1)), onFirst);
    QCOMPARE(itemLines(paper->textsOnPage(pages)), onLast);
    for (int page = 1; page <= pages; ++page) {
        const QList<RecordingPrintSurface::Text> texts = paper->textsOnPage(page);
        QVERIFY(textsAtY(texts, 3).contains(QStringLiteral("Page %1/%2").arg(page).arg(pages)));
        QCOMPARE(textsAtY(texts, 10), QStringList({"Col1", "Col2"}));
        QCOMPARE(textsAtY(texts, 93).size(), 2);
    }
    QCOMPARE(paper->lines.size(), 2 * pages);
    RecordingPrintSurface::uninstall();
}

void TestMainWindow::listPrintPlacesColumnsByShare_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<double>>("headerX");
    QTest::addColumn<QStringList>("headers");
    QTest::newRow("hidden first column")
        << QList<int>({0, 50, 50}) << QList<double>({0, 50}) << QStringList({"Col2", "Col3"});
    QTest::newRow("hidden middle column")
        << QList<int>({30, 0, 70}) << QList<double>({0, 30}) << QStringList({"Col1", "Col3"});
    QTest::newRow("shares round to whole units")
        << QList<int>({1, 2, 3}) << QList<double>({0, 100.0 / 6, 17 + 200.0 / 6})
        << QStringList({"Col1", "Col2", "Col3"});
}

void TestMainWindow::listPrintPlacesColumnsByShare()
{
    QFETCH(QList<int>, widths);
    QFETCH(QList<double>, headerX);
    QFETCH(QStringList, headers);
    RecordingPrintSurface *paper = RecordingPrintSurface::install();
    TestList list(widths, 1, QStringLiteral("X"));
    QString title = QStringLiteral("T");
    f.window->ImprimerListView(&list.view, title, QString(), QStringLiteral("Liberation Sans"), 8);
    QList<double> xs;
    QList<double> cellXs;
    for (const auto &t : paper->texts) {
        if (qFuzzyCompare(t.y, 10.0))
            xs << t.x;
        if (t.text == QLatin1String("X"))
            cellXs << t.x;
    }
    QCOMPARE(textsAtY(paper->texts, 10), headers);
    QCOMPARE(xs.size(), headerX.size());
    for (int i = 0; i < xs.size(); ++i) {
        QVERIFY2(qAbs(xs.at(i) - headerX.at(i)) < 1e-9, qPrintable(QString::number(xs.at(i))));
        QCOMPARE(cellXs.at(i), std::nearbyint(headerX.at(i)));
    }
    RecordingPrintSurface::uninstall();
}

void TestMainWindow::listPrintCutsCellsAndRoundsLines()
{
    RecordingPrintSurface *paper = RecordingPrintSurface::install();
    paper->lineHeight = 2.5;
    // Shares 10, 0.5 and 89.5: ten letters, none, and the whole text.
    TestList list({20, 1, 179}, 3, QStringLiteral("ABCDEFGHIJKLMN"));
    QString title = QStringLiteral("T");
    f.window->ImprimerListView(&list.view, title, QString(), QStringLiteral("Liberation Sans"), 8);
    QStringList cells;
    QList<double> lineYs;
    for (const auto &t : paper->texts) {
        if (t.y < 14 || t.y >= 90)
            continue;
        cells << t.text;
        if (!lineYs.contains(t.y))
            lineYs << t.y;
    }
    QCOMPARE(cells.mid(0, 3), QStringList({"ABCDEFGHIJ", "", "ABCDEFGHIJKLMN"}));
    // Each line starts where the previous one ended, halves going to the even unit.
    QCOMPARE(lineYs, QList<double>({14, 16, 18}));
    RecordingPrintSurface::uninstall();
}

void TestMainWindow::listPrintFailureCancelsAndTells_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<bool>("failBegin");
    QTest::addColumn<bool>("failEnd");
    QTest::addColumn<QString>("message");
    QTest::newRow("columns without width")
        << QList<int>({0, 0}) << false << false
        << "Divisione per zero: le colonne dell'elenco non hanno larghezza.";
    QTest::newRow("no printer") << QList<int>({10}) << true << false << "stampante di prova guasta";
    QTest::newRow("printer fails at the end")
        << QList<int>({10}) << false << true << "stampante di prova guasta";
}

void TestMainWindow::listPrintFailureCancelsAndTells()
{
    QFETCH(QList<int>, widths);
    QFETCH(bool, failBegin);
    QFETCH(bool, failEnd);
    QFETCH(QString, message);
    RecordingPrintSurface *paper = RecordingPrintSurface::install();
    paper->failBegin = failBegin;
    paper->failEnd = failEnd;
    TestList list(widths, 2);
    QString title = QStringLiteral("T");
    {
        // Ticked without its handler: the launcher is what is tested here.
        const QSignalBlocker quiet(f.window->Check7);
        f.window->Check7->setChecked(true);
    }
    f.prompt->answer(PromptAnswer::Ok);
    f.window->ImprimerListView(&list.view, title, QString(), QStringLiteral("Liberation Sans"), 8);
    QVERIFY(paper->aborted);
    QVERIFY(!paper->ended);
    QCOMPARE(f.prompt->shown().size(), 1);
    QCOMPARE(f.prompt->shown().at(0).text, message);
    QCOMPARE(f.prompt->shown().at(0).icon, PromptIcon::Critical);
    QCOMPARE(f.prompt->shown().at(0).title, QString());
    QVERIFY(f.window->Check7->isChecked());
    RecordingPrintSurface::uninstall();
}

TAVELO_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
