// SPDX-License-Identifier: GPL-3.0-or-later
// The entry panel driven as the operator drives it: what is done, what is said, what is
// stored, and where the panel stands afterwards.
#include "main_window_steps.h"

#include "core/dates.h"

namespace {

const char *const M = "MARZO|2026-01-10|2026-03-01|1,2|";
const char *const S = "SENZA SCADENZA|2026-01-11|||";
const char *const F = "FEBBRAIO|2026-01-12|2026-02-01|7|";
const char *const askIns = "-|Tavelo - INSERIMENTO|Vuoi Inserire questi dati ?";
const char *const askMod = "-|Tavelo - INSERIMENTO|Vuoi Modificare questi dati ?";
const char *const askDel = "-|Tavelo - ELIMINA|Vuoi Eliminare questi dati ?";
const char *const doneIns = "i||L' inserimento è avvenuto con successo !";
const char *const doneMod = "i||L' Aggiornamento è avvenuto con successo !";
const char *const doneDel = "i| Tavelo -Eliminazione|L' eliminazione è avvenuta con successo !";
const char *const otherDesk = "x||Un'altra postazione ha %1 questa registrazione dopo che l'avete "
                              "scelta: nulla è stato salvato.";
const char *const noDate = "x|ERRORE - DATA |Data: «*» non è una data valida. Scrivere*";
// The fields, then the action, the Modify and Delete toggles, the grid, the hint, the focus.
const char *const panel =
    "Text1 DataBox1 DataBox2 Check2 Text2 Text3 Cmd1 Check3 Check4 DataGrid3 Label10 @";
const char *const grid = "SENZA SCADENZA,FEBBRAIO,MARZO";
const QString inserting = QStringLiteral("Inserisci|0|0|-:%1|~|").arg(grid);
const QString modifying = QStringLiteral("Modifica|1|0|E:%1|Sel*|").arg(grid);
const QString deleting = QStringLiteral("Elimina|0|1|E:%1|Sel*|").arg(grid);
const QString overview = "Image3;Image4;Command2;ListView1<Down;ListView1<Down;";
const QString today = toStoredDate(QDate::currentDate());
const char *const askDone = "-|Tavelo - FATTA|Vuoi segnare come fatta questa scadenza ?";
const QString askNext = QString(askDone) + "\nLa prossima, con scadenza il %1, sarà registrata.";
const QString doneNext = "i|Tavelo - FATTA|La scadenza è stata chiusa. La prossima, con scadenza "
                         "il %1, è stata registrata.";
const QString monthly = "1,2|oggi|fatta oggi|FREQ=MONTHLY;BYMONTHDAY=16";

} // namespace

class TestEntryEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void operatorSteps_data();
    void operatorSteps();

private:
    MainWindowTest t;
    qint64 m_rossi = 0;
};

void TestEntryEditing::init()
{
    QVERIFY(t.prepare());
    m_rossi = t.db->addSubject(QStringLiteral("ROSSI MARIO"));
    t.db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), "MARZO", "1,2");
    t.db->addEntry(m_rossi, QDate(2026, 1, 11), QDate(), "SENZA SCADENZA");
    t.db->addEntry(m_rossi, QDate(2026, 1, 12), QDate(2026, 2, 1), "FEBBRAIO", "7");
    QVERIFY(t.start());
    QVERIFY(runSteps(t, "user ROSSI MARIO;Image2;Check1"));
}

void TestEntryEditing::cleanup()
{
    QCOMPARE(t.finish(), 0);
}

// clang-format off
void TestEntryEditing::operatorSteps_data()
{
    addStepColumns();
    QTest::addColumn<QStringList>("rows"); // stored in the diary afterwards
    const QString ins = "DataBox1=5/3/2026;Check2;DataBox2=20/04/2026;Text2=rinnovo;Text3=12,5;";
    const QStringList three = {M, S, F};
    QTest::newRow("insert") << ins + "Cmd1" << "YO" << panel << "|oggi||0|||Inserisci|0|0|-:SENZA SCADENZA,FEBBRAIO,MARZO,RINNOVO|~|*" << QStringList{askIns, doneIns} << QStringList{M, S, F, "RINNOVO|2026-03-05|2026-04-20|12,5|oggi"};
    QTest::newRow("insert, no due date, two lines") << "Text2=riga uno\\nriga due;Cmd1" << "YO" << panel << "|oggi||0|||Inserisci|0|0|-:SENZA SCADENZA,RIGA UNO\nRIGA DUE,FEBBRAIO,MARZO|~|*" << QStringList{askIns, doneIns} << QStringList{M, S, F, "RIGA UNO\nRIGA DUE|" + today + "|||oggi"};
    QTest::newRow("insert by Enter, pasted note") << "Text2=;paste prima\\nè più;Cmd1<Return" << "YO" << panel << "*" << QStringList{askIns, doneIns} << QStringList{M, S, F, "PRIMA\nÈ PIÙ|" + today + "|||oggi"};
    QTest::newRow("insert, No") << ins + "Cmd1" << "N" << panel << "|5/3/2026|20/04/2026|1|RINNOVO|12,5|" + inserting + "*" << QStringList{askIns} << three;
    QTest::newRow("insert, due the day before") << "DataBox1=10/01/2026;Check2;DataBox2=09/01/2026;Text2=ordine;Cmd1" << "OYO" << panel << "*" << QStringList{"x|ERRORE - SCADENZA |Attenzione la  data di scadenza è inferiore alla data di inserimento ", askIns, doneIns} << QStringList{M, S, F, "ORDINE|2026-01-10|2026-01-09||oggi"};
    QTest::newRow("insert, due the same day") << "DataBox1=10/01/2026;Check2;DataBox2=10/01/2026;Text2=ordine;Cmd1" << "YO" << panel << "*" << QStringList{askIns, doneIns} << QStringList{M, S, F, "ORDINE|2026-01-10|2026-01-10||oggi"};
    QTest::newRow("insert, later date earlier as text") << "DataBox1=15/01/2013;Check2;DataBox2=02/02/2013;Text2=ordine;Cmd1" << "YO" << panel << "*" << QStringList{askIns, doneIns} << QStringList{M, S, F, "ORDINE|2013-01-15|2013-02-02||oggi"};
    QTest::newRow("due on a Saturday: said beside the box") << "Check2;DataBox2=16/05/2026" << "" << "GiornoNonLavorativo DataBox2" << "sabato: il primo giorno lavorativo è lunedì 18/05/2026|16/05/2026" << QStringList{} << three;
    QTest::newRow("due on a Saturday: kept as typed") << "DataBox1=10/05/2026;Check2;DataBox2=16/05/2026;Text2=versamento;Cmd1" << "YO" << "GiornoNonLavorativo" << "" << QStringList{askIns, doneIns} << QStringList{M, S, F, "VERSAMENTO|2026-05-10|2026-05-16||oggi"};
    QTest::newRow("date of blanks") << "DataBox1=   ;Text2=nota;Cmd1" << "O" << panel << "|   ||0|NOTA||" + inserting + "DataBox1" << QStringList{"x|ERRORE - DATA |Inserire LA DATA"} << three;
    for (const char *bad : {"31/02/2026", "abc", "15/01/26"})
        QTest::newRow(bad) << QStringLiteral("DataBox1=%1;Text2=nota;Cmd1").arg(bad) << "O" << panel << QStringLiteral("|%1||0|NOTA||").arg(bad) + inserting + "DataBox1" << QStringList{noDate} << three;
    QTest::newRow("ticked, no due date") << "Check2;Text2=nota;Cmd1" << "O" << panel << "|oggi||1|NOTA||*|DataBox2" << QStringList{"x|ERRORE - SCADENZA |Inserire la SCADENZA"} << three;
    QTest::newRow("due date no date") << "Check2;DataBox2=30/13/2026;Text2=nota;Cmd1" << "O" << panel << "*|DataBox2" << QStringList{"x|ERRORE - SCADENZA |Avviso/ Scadenza: «30/13/2026» non è una data valida*"} << three;
    QTest::newRow("empty note") << "Cmd1" << "O" << panel << "*|Text2" << QStringList{"x|ERRORE - NOTA |Inserire la NOTA"} << three;
    QTest::newRow("modify") << "Check3;pick FEBBRAIO;DataBox2=15/02/2026;Text2=rinviato;Cmd1" << "YO" << panel << "|oggi||0|||Inserisci|0|0|-:SENZA SCADENZA,RINVIATO,MARZO|~|*" << QStringList{askMod, doneMod} << QStringList{M, S, "RINVIATO|2026-01-12|2026-02-15|7|oggi"};
    QTest::newRow("modify, due date taken away") << "Check3;pick FEBBRAIO;Check2;Cmd1" << "YO" << panel << "|oggi||0|||" + inserting + "*" << QStringList{askMod, doneMod} << QStringList{M, S, "FEBBRAIO|2026-01-12||7|oggi"};
    QTest::newRow("modify, No") << "Check3;pick FEBBRAIO;Text2=cambiata;Cmd1" << "N" << panel << "*|12/01/2026|01/02/2026|1|CAMBIATA|7|" + modifying + "*" << QStringList{askMod} << three;
    QTest::newRow("modify of a gone entry") << "Check3;pick FEBBRAIO;gone FEBBRAIO;Text2=non c'è;Cmd1" << "YO" << panel << "*|NON C'È|7|Modifica|1|0|E:SENZA SCADENZA,MARZO|Sel*|*" << QStringList{askMod, QString(otherDesk).arg("eliminato")} << QStringList{M, S};
    QTest::newRow("modify of an entry changed at another desk") << "Modifica;pick FEBBRAIO;desk UPDATE Tavelo SET ndoc = '9' WHERE Oggetto = 'FEBBRAIO';Oggetto=spostata;Modifica" << "YO" << panel << "*|12/01/2026|01/02/2026|1|SPOSTATA|7|" + modifying + "*" << QStringList{askMod, QString(otherDesk).arg("modificato") + " Riscegliete la riga per vedere i valori attuali."} << QStringList{M, S, "FEBBRAIO|2026-01-12|2026-02-01|9|"};
    QTest::newRow("delete") << "Check4;pick MARZO;Cmd1" << "YO" << panel << "|oggi||0|||Inserisci|0|0|-:SENZA SCADENZA,FEBBRAIO|~|*" << QStringList{askDel, doneDel} << QStringList{S, F};
    QTest::newRow("delete, No") << "Check4;pick MARZO;Cmd1" << "N" << panel << "*|" + deleting + "*" << QStringList{askDel} << three;
    QTest::newRow("delete, no row picked") << "Check4;Cmd1" << "O" << panel << "*|" + deleting + "*" << QStringList{"i| Tavelo -Eliminazione|Nessuna registrazione scelta: selezionare nella griglia la riga da eliminare."} << three;
    QTest::newRow("delete of a gone entry") << "Check4;pick MARZO;gone MARZO;Cmd1" << "YO" << panel << "*|" + deleting + "*" << QStringList{askDel, "i| Tavelo -Eliminazione|La registrazione scelta non esiste più: non è stato eliminato nulla."} << QStringList{S, F};
    QTest::newRow("insert refused") << "Text2=da scrivere;refuse INSERT;Cmd1" << "YO" << panel << "|*|DA SCRIVERE||" + inserting + "*" << QStringList{askIns, "x|*|Errore del database:*scrittura rifiutata*"} << three;
    QTest::newRow("modify refused") << "Check3;pick FEBBRAIO;Text2=da scrivere;refuse UPDATE;Cmd1" << "YO" << panel << "*|DA SCRIVERE|7|" + modifying + "*" << QStringList{askMod, "x|*|Errore del database:*scrittura rifiutata*"} << three;
    QTest::newRow("delete refused") << "Check4;pick FEBBRAIO;refuse DELETE;Cmd1" << "YO" << panel << "*|FEBBRAIO|7|" + deleting + "*" << QStringList{askDel, "x|*|Errore del database:*scrittura rifiutata*"} << three;
    QTest::newRow("pick in Modify") << "Check3;pick MARZO;pick FEBBRAIO" << "" << panel << "*|12/01/2026|01/02/2026|1|FEBBRAIO|7|" + modifying + "*" << QStringList{} << three;
    QTest::newRow("row without due date keeps the tick") << "Check3;pick FEBBRAIO;pick SENZA SCADENZA" << "" << panel << "*|11/01/2026||1|SENZA SCADENZA||*" << QStringList{} << three;
    QTest::newRow("Modify to Delete empties the fields") << "Check3;pick FEBBRAIO;Check4" << "" << panel << "|oggi||0|||" + deleting + "*" << QStringList{} << three;
    QTest::newRow("the same row picked again") << "Check3;pick FEBBRAIO;Check4;pick FEBBRAIO" << "" << panel << "*|12/01/2026|01/02/2026|1|FEBBRAIO|7|" + deleting + "*" << QStringList{} << three;
    QTest::newRow("Modify off") << "Check3;pick FEBBRAIO;Check3" << "" << panel << "|oggi||0|||" + inserting + "*" << QStringList{} << three;
    QTest::newRow("due date ticked") << "Check3;Check2" << "" << panel << "|oggi||1|||" + modifying + "DataBox2" << QStringList{} << three;
    QTest::newRow("focus and arrows pick nothing") << "Check3;Cmd1<Tab;DataGrid3<Down" << "" << panel << "|oggi||0|||" + modifying + "DataGrid3" << QStringList{} << three;
    QTest::newRow("Space picks") << "Check3;Cmd1<Tab;DataGrid3<Down;DataGrid3<Space" << "" << panel << "*|12/01/2026|01/02/2026|1|FEBBRAIO|7|*" << QStringList{} << three;
    QTest::newRow("Enter picks") << "Check4;Cmd1<Tab;DataGrid3<Down;DataGrid3<Return" << "" << panel << "*|12/01/2026|01/02/2026|1|FEBBRAIO|7|*" << QStringList{} << three;
    QTest::newRow("leaving resets the editor") << "Check3;pick FEBBRAIO;Image3;Check1" << "" << panel << "|oggi||0|||" + inserting + "DataBox1" << QStringList{} << three;
    QTest::newRow("Delete stays on after leaving") << "Check4;Image3;Check1" << "" << panel << "*|Inserisci|0|1|-:*" << QStringList{} << three;
    QTest::newRow("note in capitals, caret kept") << "Text2=xy;Text2<Left;Text2+a;Text2+ però" << "" << "Text2" << "XA PERÒY" << QStringList{} << three;
    QTest::newRow("document: digits and commas") << "Text3=n. 4,b-3/+2.5;Text3<Backspace;paste 99" << "" << "Text3" << ",4,32," << QStringList{} << three;
    QTest::newRow("a rule written and shown again") << "Check3;pick MARZO;DataBox2=16/07/2026;Ripeti=Ogni 3 mesi;Cmd1;Check3;pick MARZO" << "YO" << "Ripeti Ripeti? Fatta?" << "*=Ogni 3 mesi|1|1" << QStringList{askMod, doneMod} << QStringList{"MARZO|2026-01-10|2026-07-16|1,2|oggi|FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=16", S, F};
    QTest::newRow("no rule without a due date") << "Check2;Ripeti=Ogni mese;Check2" << "" << "Ripeti Ripeti? Fatta?" << "*=Mai|0|0" << QStringList{} << three;
    QTest::newRow("Fatta only in Modify") << "Check4;pick FEBBRAIO" << "" << "Fatta?" << "0" << QStringList{} << three;
    QTest::newRow("monthly, closed twice over: off the holidays, back on the 16th") << "Check3;pick MARZO;DataBox2=16/07/2026;Ripeti=Ogni mese;Cmd1;Check3;pick MARZO;Fatta;Check3;pick 17/08/2026;Fatta;Check3;pick 16/07/2026;Fatta" << "YOYOYOO" << "closed Fatta?" << ",,Fatta il oggi,Fatta il oggi,|1" << QStringList{askMod, doneMod, askNext.arg("17/08/2026"), doneNext.arg("17/08/2026"), askNext.arg("16/09/2026"), doneNext.arg("16/09/2026"), "i|Tavelo - FATTA|Questa scadenza è già stata chiusa il *."} << QStringList{"MARZO|2026-01-10|2026-07-16|" + monthly, S, F, "MARZO|" + today + "|2026-08-17|" + monthly, "MARZO|" + today + "|2026-09-16|" + QString(monthly).remove("fatta oggi|")};
    QTest::newRow("a moved deadline modified keeps its nominal day") << "Check3;pick MARZO;DataBox2=16/07/2026;Ripeti=Ogni mese;Cmd1;Check3;pick MARZO;Fatta;Check3;pick 17/08/2026;Text3=5;Cmd1" << "YOYOOYO" << "Cmd1" << "Inserisci" << QStringList{askMod, doneMod, askNext.arg("17/08/2026"), doneNext.arg("17/08/2026"), "x|ERRORE - SCADENZA |Attenzione*", askMod, doneMod} << QStringList{"MARZO|2026-01-10|2026-07-16|" + monthly, S, F, "MARZO|" + today + "|2026-08-17|5|oggi|FREQ=MONTHLY;BYMONTHDAY=16"};
    QTest::newRow("closed without a rule, No first") << "Check3;pick FEBBRAIO;Fatta;Fatta" << "NYO" << "panels Cmd1" << "Frame2|Inserisci" << QStringList{askDone, askDone, "i|Tavelo - FATTA|La scadenza è stata chiusa."} << QStringList{M, S, "FEBBRAIO|2026-01-12|2026-02-01|7||fatta oggi"};
    QTest::newRow("closed at another desk first") << "Check3;pick FEBBRAIO;desk UPDATE Tavelo SET Chiusa = '2026-02-02' WHERE Oggetto = 'FEBBRAIO';Fatta" << "YO" << "Fatta? Cmd1" << "1|Modifica" << QStringList{askDone, "i|Tavelo - FATTA|Un'altra postazione ha già chiuso questa scadenza il 02/02/2026: non è stato fatto nulla."} << QStringList{M, S, "FEBBRAIO|2026-01-12|2026-02-01|7||fatta 2026-02-02"};
    QTest::newRow("deleted at another desk first") << "Check3;pick FEBBRAIO;gone FEBBRAIO;Fatta" << "YO" << "Fatta? Cmd1" << "1|Modifica" << QStringList{askDone, "x|Tavelo - FATTA|Un'altra postazione ha eliminato questa registrazione dopo che l'avete scelta: nulla è stato chiuso."} << QStringList{M, S};
    QTest::newRow("typed changes are not dropped") << "Check3;pick FEBBRAIO;Text2=cambiata;Fatta" << "O" << "Text2" << "CAMBIATA" << QStringList{"i|Tavelo - FATTA|I campi non corrispondono più alla registrazione scelta*"} << three;
    QTest::newRow("overview, Enter") << overview + "ListView1<Return" << "" << "panels Label1 Cmd1 Check3 DataBox2 Text2 Text3 @" << "Frame2|ROSSI MARIO|Modifica|1|01/03/2026|MARZO|1,2|Text2" << QStringList{} << three;
    QTest::newRow("overview, entry changed") << overview + "ListView1<Return;Text2=marzo spostato;Cmd1" << "YO" << "panels Cmd1" << "Frame2|Inserisci" << QStringList{askMod, doneMod} << QStringList{"MARZO SPOSTATO|2026-01-10|2026-03-01|1,2|oggi", S, F};
    QTest::newRow("overview, entry gone") << overview + "sql DELETE FROM Tavelo WHERE Oggetto = 'MARZO';ListView1<Return" << "O" << "panels Cmd1 Text1 Text2" << "Frame2|Modifica||" << QStringList{"i||La registrazione scelta non esiste più."} << QStringList{S, F};
}
// clang-format on

void TestEntryEditing::operatorSteps()
{
    checkStepRow(t);
    QFETCH(QStringList, rows);
    for (QString &row : rows)
        row += QLatin1Char('|') + QString::number(m_rossi); // written for the chosen user
    QVERIFY(allMatch(rows, storedDiary()));
}

TAVELO_TEST_MAIN(TestEntryEditing)
#include "tst_entry_editing.moc"
