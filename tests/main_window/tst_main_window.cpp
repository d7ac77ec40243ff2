// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the operator finds it: its panels, the way between them, what it
// tells, its keyboard, its frame, and its way to the registry and out of the program.
#include "main_window_steps.h"
#include "recording_report_viewer.h"

#include "core/dates.h"
#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"
#include "widgets/shell_services.h"
#include "widgets/toggle_button.h"

#include <QLabel>
#include <QPushButton>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void operatorSteps_data();
    void operatorSteps();
    void panelsShowWholeAndTabWalksThem_data();
    void panelsShowWholeAndTabWalksThem();
    void registryComesAndGoes();

private:
    MainWindowTest f;
};

void TestMainWindow::init()
{
    QVERIFY(f.prepare());
    f.db->addSubject(QStringLiteral("D'ANGELO NICOLÒ"));
    const qint64 rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    f.db->addSubject(QStringLiteral("VERDI GIUSEPPE"), QStringLiteral("s"));
    f.db->addEntry(rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"));
    f.db->addEntry(rossi, QDate(2026, 1, 12), QDate(2026, 2, 1), QStringLiteral("FEBBRAIO"));
    f.db->addEntry(rossi, QDate(2026, 1, 13), QDate(), QStringLiteral("SENZA SCADENZA"));
    const qint64 gone = f.db->addSubject(QStringLiteral("CANCELLATO"));
    f.db->addEntry(gone, QDate(2026, 1, 12), QDate(2026, 1, 2), QStringLiteral("DI UN CANCELLATO"));
    QVERIFY(deleteSubject(gone).ok());
    QVERIFY(f.start());
}

void TestMainWindow::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

// clang-format off
void TestMainWindow::operatorSteps_data()
{
    addStepColumns();
    QTest::addColumn<QString>("opened"); // what the desktop was asked to open
    QTest::addColumn<QString>("report"); // the report shown, and the panels behind it
    const QString users = "D'ANGELO NICOLÒ,ROSSI MARIO,VERDI GIUSEPPE=";
    QTest::newRow("activated") << "" << "" << "panels Cbo1 Label1 Label8 Label25 @" << "Frame3|" + users + "|||" + todayScreenDate() + " *:*:*|Cbo1" << QStringList{} << "" << "";
    QTest::newRow("stamp shown at activation") << "sql UPDATE Versione SET Versione = '2013-04-30T18:05:42';activate" << "" << "Label3 Label25" << "Versione|30/04/2013 18:05:42" << QStringList{} << "" << "";
    QTest::newRow("stamp unreadable") << "sql DROP TABLE Versione;activate" << "O" << "Label25" << "" << QStringList{"x|*|Errore del database:*"} << "" << "";
    QTest::newRow("Accedi without a user") << "Image2" << "O" << "panels" << "Frame3" << QStringList{"i| Tavelo- ERRORE | Attenzione occorre selezionare  un Utente   ! "} << "" << "";
    QTest::newRow("quote and accent") << "user D'ANGELO NICOLÒ" << "" << "Label1 Label8" << "D'ANGELO NICOLÒ|1" << QStringList{} << "" << "";
    QTest::newRow("flag in lower case") << "user VERDI GIUSEPPE" << "" << "Label1 Label8" << "VERDI GIUSEPPE|3" << QStringList{} << "" << "";
    QTest::newRow("a user removed meanwhile") << "user ROSSI MARIO;sql DELETE FROM Utente WHERE ID = 2;user ROSSI MARIO" << "" << "Label1 Label8" << "|" << QStringList{} << "" << "";
    QTest::newRow("activation clears the name") << "user ROSSI MARIO;activate" << "" << "Cbo1 Label1 Label8" << users + "||2" << QStringList{} << "" << "";
    QTest::newRow("Accedi") << "user ROSSI MARIO;Image2" << "" << "panels @" << "Frame1|Check1" << QStringList{} << "" << "";
    QTest::newRow("Accedi by Enter") << "user ROSSI MARIO;Image2<Return;activate" << "" << "panels" << "Frame3" << QStringList{} << "" << "";
    QTest::newRow("back from the menu") << "user ROSSI MARIO;Image2;Image4<Space" << "" << "panels @" << "Frame3|Cbo1" << QStringList{} << "" << "";
    QTest::newRow("Gestione") << "user ROSSI MARIO;Image2;Check1" << "" << "panels Cmd1 DataGrid3 DataBox1 DataBox2 @" << "Frame2|Inserisci|-:SENZA SCADENZA,FEBBRAIO,MARZO|oggi||DataBox1" << QStringList{} << "" << "";
    QTest::newRow("a diary without entries") << "user VERDI GIUSEPPE;Image2;Check1" << "O" << "panels Cmd1 DataGrid3" << "Frame2|Inserisci|-:" << QStringList{"i| Tavelo - ERRORE | Attenzione non ci sono dati  disponibili  ! "} << "" << "";
    QTest::newRow("leaving the entry panel") << "user ROSSI MARIO;Image2;Check1;Image3" << "" << "panels Check1 @" << "Frame1|0|Check1" << QStringList{} << "" << "";
    QTest::newRow("overview") << "Command2" << "" << "panels ListView1 Check6 @" << "Frame3 Frame4|E:FEBBRAIO,MARZO|0|ListView1" << QStringList{} << "" << "";
    QTest::newRow("overview, a snapshot") << "Command2;sql INSERT INTO Tavelo (data, scadenza, Oggetto, Utente) VALUES ('2026-01-01', '2026-01-20', 'NUOVA', 2)" << "" << "ListView1" << "E:FEBBRAIO,MARZO" << QStringList{} << "" << "";
    QTest::newRow("overview, opened again") << "Command2;sql INSERT INTO Tavelo (data, scadenza, Oggetto, Utente) VALUES ('2026-01-01', '2026-01-20', 'NUOVA', 2);Check6;Command2" << "" << "ListView1" << "E:NUOVA,FEBBRAIO,MARZO" << QStringList{} << "" << "";
    QTest::newRow("overview, Esci") << "Command2;Check6" << "" << "panels Check6 Check7 @" << "Frame3|1|0|Cbo1" << QStringList{} << "" << "";
    QTest::newRow("overview, activated again") << "Command2;activate" << "" << "panels" << "Frame3" << QStringList{} << "" << "";
    QTest::newRow("Istruzioni") << "tool Istruzioni" << "" << "panels" << "Frame3" << QStringList{} << frmRegistra::guidePath() << "";
    QTest::newRow("F1") << "Cbo1<F1" << "" << "panels" << "Frame3" << QStringList{} << frmRegistra::guidePath() << "";
    QTest::newRow("user card") << "user ROSSI MARIO;Image2;Check1;Check3;pick MARZO;Check5" << "" << "panels Check3 Check5 Cbo1 Label1 Label8" << "Frame3|0|0|ANTONELLI ANNA," + users + "||2" << QStringList{} << "" << "Scheda|Frame2|Inserisci|1";
    QTest::newRow("all users' deadlines") << "Command2;Check7" << "" << "panels Check7 Cbo1" << "Frame3|0|ANTONELLI ANNA," + users << QStringList{} << "" << "SchedaUtenti|Frame3 Frame4";
    QTest::newRow("user card not made") << "user ROSSI MARIO;Image2;Check1;sql ALTER TABLE Tavelo RENAME TO Rotto;Check5" << "O" << "panels Check5" << "Frame3|0" << QStringList{"x||Errore del database:*"} << "" << "";
    QTest::newRow("web link") << "Image5" << "" << "panels" << "Frame3" << QStringList{} << QString::fromLatin1(authorWebAddress) << "";
}
// clang-format on

void TestMainWindow::operatorSteps()
{
    UrlRecorder urls;
    RecordingReportViewerScope reports;
    QString report;
    reports.viewer().whileShown = [&](const ReportDocument &document, QWidget *) {
        // The entry panel's controls once it has been opened.
        const bool entered = f.window->findChild<QWidget *>("Frame2");
        report = document.name + "|" + snapshot(f, entered ? "panels Cmd1 Check5" : "panels");
        f.db->addSubject(QStringLiteral("ANTONELLI ANNA")); // listed at the next activation
    };
    checkStepRow(f);
    QStringList opened;
    for (const QUrl &url : urls.urls())
        opened << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    QTEST(opened.join(QLatin1Char(' ')), "opened");
    QTEST(report, "report");
}

// clang-format off
void TestMainWindow::panelsShowWholeAndTabWalksThem_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("chain"); // each control as the screen reader names it
    QTest::newRow("user choice") << "" << "Cbo1=Utente Image2=Accedi Command2=Scadenze per Utenti Image5=Vai al sito";
    QTest::newRow("diary menu") << "user ROSSI MARIO;Image2" << "Check1=Gestione Image4=Indietro Image5=Vai al sito";
    QTest::newRow("entry panel") << "user ROSSI MARIO;Image2;Check1;Check2;Check3" << "DataBox1=Data Check2=Con scadenza DataBox2=Avviso/ Scadenza Text1=ID Oper Text3=N_Doc Text2=Oggetto Cmd1=Modifica DataGrid3=Registrazioni dell'utente Check3=Modifica Check4=Elimina Check5=Stampa Ripeti=Mai Image3=Indietro Image5=Vai al sito";
    QTest::newRow("overview") << "Command2" << "Check7=Stampa Check6=Esci ListView1=Scadenze di tutti gli utenti Cerca=Cerca Image5=Vai al sito";
}
// clang-format on

// No control is cut by its panel or its window, nor its caption by the control; Tab walks
// every field of the panel shown, in reading order.
void TestMainWindow::panelsShowWholeAndTabWalksThem()
{
    QFETCH(QString, steps);
    QVERIFY(runSteps(f, steps));
    for (QWidget *child : f.window->findChildren<QWidget *>()) {
        QWidget *parent = child->parentWidget();
        const QString name = child->objectName();
        if (!child->isVisible() || name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        QVERIFY2(parent->rect().contains(child->geometry()), qPrintable(name + " leaves"));
        auto *label = qobject_cast<QLabel *>(child);
        auto *button = qobject_cast<QPushButton *>(child);
        const int room = label ? child->width() : child->width() - 8;
        const QString text = label ? label->text() : button ? button->text() : QString();
        if (!qobject_cast<TickBox *>(child))
            QVERIFY2(child->fontMetrics().horizontalAdvance(text) <= room, qPrintable(name));
    }
    QFETCH(QString, chain);
    const QStringList links = chain.split(QRegularExpression(QStringLiteral(" (?=\\w+=)")));
    f.at(qPrintable(links.first().section(QLatin1Char('='), 0, 0)))->setFocus();
    for (const QString &link : links) {
        QWidget *focus = QApplication::focusWidget();
        QCOMPARE(focus->objectName() + "=" + readerName(focus), link);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
}

// "Anagrafica" hides the main window and shows the registry with the chosen user's labels;
// the registry's "Chiudi" or close box hands them back and the main window starts afresh,
// as the registry does when it comes again.
void TestMainWindow::registryComesAndGoes()
{
    QWidget *main = f.window;
    QVERIFY(runSteps(f, "user ROSSI MARIO;tool Anagrafica"));
    frmAnagrafe *registry = f.windows->registryWindow();
    QVERIFY(registry && registry->isVisible() && registry->isWindow() && !main->isVisible());
    f.db->addSubject(QStringLiteral("ANTONELLI ANNA"));
    f.window = registry;
    QTRY_COMPARE(snapshot(f, "Label1 Label4 Label5"), QStringLiteral("ROSSI MARIO|Data|ID"));
    main->findChild<QLabel *>("Label4")->setText(QStringLiteral("altro"));
    // Closed with a subject picked for editing.
    QVERIFY(runSteps(f, "Check7;Check2;pick ROSSI MARIO;?Text2=ROSSI MARIO;tool Chiudi"));
    QVERIFY(!registry->isVisible() && main->isVisible());
    f.window = main;
    QCOMPARE(snapshot(f, "Label1 Label4 Label5"), QStringLiteral("ROSSI MARIO|Data|ID"));
    QTRY_COMPARE(snapshot(f, "panels Cbo1 Label1"),
                 "Frame3|ANTONELLI ANNA,D'ANGELO NICOLÒ,ROSSI MARIO,VERDI GIUSEPPE=|");
    QVERIFY(runSteps(f, "tool Anagrafica"));
    QCOMPARE(f.windows->registryWindow(), registry);
    // Shown again: the header of that moment, the start panel, nothing filled in, no mode.
    f.window = registry;
    QTRY_COMPARE(f.at<QLabel>("Label1")->text(), QString());
    QCOMPARE(snapshot(f, "Text2 Check2 Cmd2 @"), "|0||Check7");
    QVERIFY(!registry->close() && !registry->isVisible() && main->isVisible());
}

TAVELO_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
