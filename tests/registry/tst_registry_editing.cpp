// SPDX-License-Identifier: GPL-3.0-or-later
// What the operator does on the registry window, the message boxes that follow, the
// subjects stored and where the window ends: the moves between panels, what the boxes
// let in, insert, modify and delete, and the fiscal-code check that keeps codes unique.
#include "registry_fixture.h"

#include <QClipboard>
#include <QRegularExpression>

namespace {

// The message boxes by a short name: title, "|", text; "*" stands for any text.
const QString noField = "ERRORE - CAMPO   VUOTO|";
const QString deleting = "Brandola - ELIMINA SOGGETTO|";
const QHash<QString, QString> messages = {
    {"noName", noField + "Inserire il campo Soggetto!"},
    {"noCode", noField + "Inserire il campo Codice Fiscale"},
    {"noPassword", noField + "Inserire la Password"},
    {"passwordOfNonUser",
     noField + "Attenzione, è presente una password ma non è stata selezionata la voce UTENTE "},
    {"askInsert", "Brandola - INSERIMENTO|Vuoi Inserire questi dati ?"},
    {"inserted", "Brandola - INSERIMENTO|L' inserimento è avvenuto con successo !"},
    {"askModify", "Brandola - MODIFICA|Vuoi Modificare questi dati ?"},
    {"modified", "|L' Aggiornamento è avvenuto con successo !"},
    {"goneModify",
     "Brandola - MODIFICA|Il Soggetto non è più in archivio: non è stato modificato nulla."},
    {"askDelete", deleting + "Sei sicuro di voler eliminare il Soggetto selezionato"},
    {"deleted",
     "Brandola- ELIMINA SOGGETTO|Eliminazione  di       ROSSI MARIO   effettuata con successo ! "},
    {"goneDelete", deleting + "Il Soggetto non è più in archivio: non è stato eliminato nulla."},
    {"noneDelete",
     deleting + "Nessun Soggetto è stato scelto nell'elenco: non è stato eliminato nulla."},
    {"taken", " Quendar - ERRORE |Esiste già un medesimo Soggetto con lo stesso Codice Fiscale"},
    {"dbError", "*|Errore del database:*disco pieno*"}};

} // namespace

class TestRegistryEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void operatorDoes_data();
    void operatorDoes();

private:
    RegistryFixture f;
};

void TestRegistryEditing::init()
{
    f.start();
    const qint64 id = f.db->addSubject("ROSSI MARIO", "S", "rssmra80a01h501u");
    f.db->addSubject("BIANCHI SRL", "N", "01234567890");
    f.db->addEntry(id, QDate(2026, 1, 10), QDate(2026, 3, 1), "MARZO");
    QGuiApplication::clipboard()->setText("piazza dùomo");
}

void TestRegistryEditing::cleanup()
{
    f.stop();
}

// A row: the operator's steps (";" between them) # the message boxes by name, ":Yes" or
// ":No" for the reply # stored rows, columns after the ID ("|" between them, ";" between
// rows; "-NAME": none stored) # where the window ends (see RegistryFixture::where).
void TestRegistryEditing::operatorDoes_data()
{
    QTest::addColumn<QString>("row");
    auto row = [](const QString &name, const QString &row) {
        QTest::newRow(qPrintable(name)) << row;
    };
    const QString rossi = "ROSSI MARIO|||||rssmra80a01h501u||S|||||pw|";
    // Every way out of the editing panel leaves the fields empty; "Esci" keeps the mode.
    for (const QString from : {"Menu|click Check7|", "Insert|insert NUOVO;Text2=neri|Inserisci",
                               "Edit|modify ROSSI MARIO|Modifica"}) {
        const QString name = from.section('|', 0, 0);
        const QString start = from.section('|', 1, 1) + ";click ";
        row(name + ", Esci",
            start + "Check8;?empty # # # Frame3 / " + from.section('|', 2) + " / Check7");
        row(name + ", Inserisci", start + "Check6;?empty;?seen=Text2;?Frame1.enabled=false # # # "
                                          "Frame4 / Inserisci / Text55");
        row(name + ", Modifica", start + "Check2;?empty # # # Frame2 / Modifica / Datagrid1");
        row(name + ", Elimina", start + "Check3;?empty # # # Frame2 / Elimina / Datagrid1");
    }
    row("grid, Esci twice", "click Check7;click Check2;click Check5;click Check7;click Check2;"
                            "click Check5 # # # Frame3 / Modifica / Check7");
    row("check, X", "click Check7;click Check6;Text55=abc;click Label67;?empty;click Check7;"
                    "?covered=Text2 # # # Frame1 /  / Check6");
    row("check, Alt+X",
        "click Check7;click Check6;Text55=abc;altx;?empty # # # Frame3 /  / Check7");
    row("insert, every column, what the boxes let in",
        "insert vrdgpp80a01l219k;Text2=nicolò d'àngelo;Text3=via \x16;Text4=forlì;Text5=fc9;"
        "Text6=1 a+/(23456;Text8=123456789012;click Check1;Text9=a.b@c.it;"
        "Text10=12.3\x16\b\x02\x7f\x01"
        "9\t;?focus=Text11;Text11=-3,,3-;Text12=0è5;Text13=Pw9è;"
        "Text14=perché sì\x02\x02xy;click Cmd2;click Check7 # askInsert:Yes inserted # "
        "NICOLÒ D'ÀNGELO|VIA PIAZZA DÙOMO|FORLÌ|FC|12345|VRDGPP80A01L219K|12345678901|S|"
        "A.B@C.IT|912|-3,,3-|05|Pw9è|PERCHÉ XYSÌ # Frame1 /  / Check6");
    row("insert, no name", "insert;click Cmd2 # noName # - # Frame1 / Inserisci / Text2");
    row("insert, blank name",
        "insert X1;Text2=   ;click Cmd2 # noName # - # Frame1 / Inserisci / Text2");
    row("insert, no code",
        "insert;Text2=anna;click Check1;click Cmd2 # noCode # -ANNA # Frame1 / Inserisci / Text7");
    row("insert, user without password", "insert X1;Text2=anna;click Check1;click Cmd2 # "
                                         "noPassword # -ANNA # Frame1 / Inserisci / Text13");
    row("insert, No", "insert NNN;Text2=neri;click Cmd2;click Cmd2;?Text2=NERI # "
                      "askInsert:No askInsert:No # -NERI # Frame1 / Inserisci / Cmd2");
    row("insert, failed write", "refuse;insert NNN;Text2=neri;click Cmd2;?Text2=NERI # "
                                "askInsert:Yes dbError # -NERI # Frame1 / Inserisci / Cmd2");
    row("insert of a non-user drops the password",
        "insert nnn;Text2=neri;click Check1;Text13=pw;click Check1;click Cmd2 # "
        "askInsert:Yes inserted # NERI|||||NNN||N|||||| # Frame3 /  / Check7");
    row("insert, code changed to a taken one",
        "insert LIBERO;Text2=neri;Text7:=RSSMRA80A01H501U;click Cmd2;?Text2=NERI # "
        "askInsert:Yes taken # -NERI # Frame1 / Inserisci / Text7");
    row("check, taken codes", "insert 01234567890;?Text55=;Text55=rssmra80a01h501u;click Cmd3 # "
                              "taken taken # # Frame4 / Inserisci / Text55");
    row("check by Enter, taken code", "click Check7;click Check6;Text55=01234567890\r;?Text55= # "
                                      "taken # # Frame4 / Inserisci / Text55");
    for (const QString code : {"%", "0123456789_", "D'A"})
        row("check, free code " + code,
            QString("insert %1;?Text7=%1;?focus=Text2;Text2=nuovo;click Cmd2 # askInsert:Yes "
                    "inserted # NUOVO|||||%1||N|||||| # Frame3 /  / Check7")
                .arg(code));
    row("modify, every column in capitals",
        "sql UPDATE Utente SET email = 'i@b.it', cap = '20100' WHERE Soggetto = 'BIANCHI SRL';"
        "modify BIANCHI SRL;Text4= milano;click Cmd2 # askModify:Yes modified # "
        "BIANCHI SRL|| MILANO||20100|01234567890||N|I@B.IT||||| # Frame3 /  / Check7");
    row("modify, password of a non-user",
        "sql UPDATE Utente SET Pwd = 'old' WHERE Soggetto = 'BIANCHI SRL';modify BIANCHI SRL;"
        "?Text13=old;click Cmd2;click Check1;Text13=x;click Cmd2 # passwordOfNonUser "
        "askModify:Yes modified # BIANCHI SRL|||||01234567890||S|||||oldx| # Frame3 /  / Check7");
    row("modify, subject gone meanwhile",
        "modify BIANCHI SRL;sql DELETE FROM Utente WHERE Soggetto = 'BIANCHI SRL';click Cmd2;"
        "?Text2=BIANCHI SRL # askModify:Yes goneModify # -BIANCHI SRL # Frame1 / Modifica / Cmd2");
    row("modify, code of another subject",
        "modify BIANCHI SRL;Text7:=rssmra80a01h501u;click Cmd2 # askModify:Yes taken # "
        "BIANCHI SRL|||||01234567890||N|||||| # Frame1 / Modifica / Text7");
    row("modify, code stored twice",
        "sql INSERT INTO Utente (Soggetto, Codice, utente) VALUES ('BIS', 'RSSMRA80A01H501U', "
        "'N');modify BIS;Text3=via verdi;click Cmd2 # askModify:Yes modified # "
        "BIS|VIA VERDI||||RSSMRA80A01H501U||N|||||| # Frame3 /  / Check7");
    row("modify, user flag stored in small letters",
        "sql UPDATE Utente SET utente = 's' WHERE Soggetto = 'ROSSI MARIO';modify ROSSI MARIO;"
        "click Cmd2 # askModify:Yes modified # ROSSI MARIO|||||RSSMRA80A01H501U||S|||||pw| # "
        "Frame3 /  / Check7");
    row("modify, long stored code kept, limit back",
        "sql UPDATE Utente SET Codice = 'ABCDEFGHIJKLMNOPQRS' WHERE Soggetto = 'BIANCHI SRL';"
        "modify BIANCHI SRL;click Cmd2;insert;Text7=abcdefghijklmnopqrs;Text2=neri;click Cmd2 # "
        "askModify:Yes modified askInsert:Yes inserted # "
        "BIANCHI SRL|||||ABCDEFGHIJKLMNOPQRS||N||||||;NERI|||||ABCDEFGHIJKLMNOP||N|||||| # "
        "Frame3 /  / Check7");
    row("delete keeps the diary", "delete ROSSI MARIO;click Cmd2 # askDelete:Yes deleted # -ROSSI "
                                  "MARIO # Frame3 /  / Check7");
    row("delete, No", "delete ROSSI MARIO;click Cmd2;?Text2= # askDelete:No # " + rossi +
                          " # Frame3 /  / Check7");
    row("delete, subject gone meanwhile",
        "delete ROSSI MARIO;sql DELETE FROM Utente WHERE Soggetto = 'ROSSI MARIO';click Cmd2 # "
        "askDelete:Yes goneDelete # -ROSSI MARIO # Frame3 /  / Check7");
    row("delete, none picked", "click Check7;click Check3;click Check5;click Check7;click Cmd2 # "
                               "askDelete:Yes noneDelete # " +
                                   rossi + " # Frame3 /  / Check7");
    row("modify, none picked", "click Check7;click Check2;click Check5;click Check7;click Cmd2 # "
                               "noName # # Frame1 / Modifica / Text2");
}

void TestRegistryEditing::operatorDoes()
{
    QFETCH(QString, row);
    QStringList field = row.split('#');
    for (QString &text : field)
        text = text.trimmed();
    const QStringList boxes = field.at(1).split(' ', Qt::SkipEmptyParts);
    for (const QString &box : boxes)
        f.prompt->answer(box.endsWith(":Yes")  ? PromptAnswer::Yes
                         : box.endsWith(":No") ? PromptAnswer::No
                                               : PromptAnswer::Ok);
    f.run(field.at(0));
    QCOMPARE(f.prompt->shown().size(), boxes.size());
    for (int i = 0; i < boxes.size(); ++i) {
        const PromptRequest &box = f.prompt->shown().at(i);
        QStringList parts = messages.value(boxes.at(i).section(':', 0, 0)).split('*');
        for (QString &part : parts)
            part = QRegularExpression::escape(part);
        const QRegularExpression pattern('^' + parts.join(".*") + '$',
                                         QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(pattern.match(box.title + '|' + box.text).hasMatch(), qPrintable(box.text));
    }
    for (const QString &stored : field.at(2).split(';', Qt::SkipEmptyParts)) {
        const bool none = stored.startsWith('-');
        QCOMPARE(f.storedRow(stored.section('|', 0, 0).mid(none ? 1 : 0)),
                 none ? QString() : stored);
    }
    QCOMPARE(f.db->count("Tavelo"), 1);
    QCOMPARE(f.where(), field.at(3));
}

TAVELO_TEST_MAIN(TestRegistryEditing)
#include "tst_registry_editing.moc"
