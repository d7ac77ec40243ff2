// SPDX-License-Identifier: GPL-3.0-or-later
// The registry window on its own on a fresh data file, driven by the operator: its
// controls and keyboard order, the grid of subjects, the print, the Italian order of
// names; the moves between panels, what the boxes let in, insert, modify and delete, the
// message boxes that follow and the subjects stored.
#include "main_window_steps.h"
#include "recording_report_viewer.h"

#include "registry/frm_anagrafe.h"
#include "widgets/data_grid.h"
#include "widgets/toggle_button.h"

#include <QClipboard>
#include <QLabel>
#include <QSqlRecord>

namespace {

const QStringList seeded = {"ÀLVARO ANNA", "BIANCHI SRL", "ROSSI MARIO", "zanetti zeno"};

// The message boxes by a short name: title, "|", text; "*" stands for any text.
const QString noField = "ERRORE - CAMPO   VUOTO|";
const QString deleting = "Brandola - ELIMINA SOGGETTO|";
// clang-format off
const QHash<QString, QString> messages = {
    {"noName", noField + "Inserire il campo Soggetto!"},
    {"noCode", noField + "Inserire il campo Codice Fiscale"},
    {"noPassword", noField + "Inserire la Password"},
    {"passwordOfNonUser", noField + "Attenzione, è presente una password ma non è stata selezionata la voce UTENTE "},
    {"askInsert", "Brandola - INSERIMENTO|Vuoi Inserire questi dati ?"},
    {"inserted", "Brandola - INSERIMENTO|L' inserimento è avvenuto con successo !"},
    {"askModify", "Brandola - MODIFICA|Vuoi Modificare questi dati ?"},
    {"modified", "|L' Aggiornamento è avvenuto con successo !"},
    {"goneModify", "Brandola - MODIFICA|Un'altra postazione ha eliminato questo Soggetto dopo che l'avete scelto: nulla è stato salvato."},
    {"changedModify", "Brandola - MODIFICA|Un'altra postazione ha modificato questo Soggetto dopo che l'avete scelto: nulla è stato salvato. Per vedere i valori attuali riscegliete il Soggetto con «Modifica»."},
    {"askDelete", deleting + "Sei sicuro di voler eliminare il Soggetto selezionato"},
    {"deleted", "Brandola- ELIMINA SOGGETTO|Eliminazione  di       ROSSI MARIO   effettuata con successo ! "},
    {"goneDelete", deleting + "Il Soggetto non è più in archivio: non è stato eliminato nulla."},
    {"noneDelete", deleting + "Nessun Soggetto è stato scelto nell'elenco: non è stato eliminato nulla."},
    {"taken", " Quendar - ERRORE |Esiste già un medesimo Soggetto con lo stesso Codice Fiscale"},
    {"dbError", "*|Errore del database:*disco pieno*"},
};
// clang-format on

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(f.prepare());
        const qint64 id = f.db->addSubject("ROSSI MARIO", "S", "rssmra80a01h501u");
        f.db->addSubject("BIANCHI SRL", "N", "01234567890");
        f.db->addSubject("zanetti zeno", "N");
        f.db->addSubject("ÀLVARO ANNA", "N");
        f.db->addEntry(id, QDate(2026, 1, 10), QDate(2026, 3, 1), "MARZO");
        QGuiApplication::clipboard()->setText("piazza dùomo");
        f.window = (w = std::make_unique<frmAnagrafe>()).get();
        w->setChosenUserSource([] { return ChosenUserLabels{"ROSSI MARIO", "Data", "ID"}; });
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        activateLater(w.get());
        QTRY_COMPARE(text("Label1"), "ROSSI MARIO");
        QCOMPARE(where(), "Frame3 /  / Check7");
    }

    void cleanup()
    {
        f.window = nullptr;
        w.reset();
        QCOMPARE(f.finish(), 0);
    }

    void controlsLieInsideAndTabFollowsTheWindowsOrder()
    {
        // Only the grid panel's "X" lies beyond its panel's edge, out of sight.
        for (QWidget *control : w->findChildren<QWidget *>(QRegularExpression("^[A-Z][a-z]+\\d"))) {
            const bool inside = control->parentWidget()->rect().contains(control->geometry());
            QVERIFY2(inside != (control->objectName() == "Label10"),
                     qPrintable(control->objectName()));
            if (auto *label = qobject_cast<QLabel *>(control); label && label->buddy())
                QCOMPARE(label->buddy()->accessibleName(), label->text());
        }
        run("insert X;Check1");
        for (const char *panel : {"Frame2", "Frame3", "Frame4"})
            f.at(panel)->show();
        QStringList order;
        for (f.at("Text2")->setFocus(); order.size() < 26;
             QTest::keyClick(w->focusWidget(), Qt::Key_Tab))
            order << w->focusWidget()->objectName();
        QCOMPARE(order.join(' '), "Text2 Text3 Text4 Text5 Text7 Text8 Check1 Text9 Text10 Text11 "
                                  "Text12 Text13 Text14 Cmd2 Text1 Datagrid1 Check2 Check3 Check5 "
                                  "Check6 Text55 Cmd3 Text6 Check7 Check8 Check4");
    }

    // Pages continue after the last row read: names equal case aside, names without a
    // value and accented names are neither lost nor read twice.
    void gridPagesFollowOneAnotherInItalianOrder()
    {
        run("sql WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1400) "
            "INSERT INTO Utente (Soggetto, Codice, utente) SELECT CASE i % 5 WHEN 0 THEN 'ROSSI' "
            "WHEN 1 THEN 'rossi' WHEN 2 THEN NULL WHEN 3 THEN 'RÒSSI ' || (i % 7) ELSE 'BIANCHI ' "
            "|| i END, 'C' || i, 'N' FROM n;Check7;Check2");
        RowStream<Subject> all = selectRegistryGridRows();
        QList<qint64> expected;
        for (Subject subject; all.next(&subject);)
            expected << subject.id;
        QCOMPARE(expected.size(), 1404);
        QAbstractItemModel *model = f.at<DataGrid>("Datagrid1")->model();
        QVERIFY(model->rowCount() < 1404 && model->canFetchMore({}));
        while (model->canFetchMore({}))
            model->fetchMore({});
        QList<qint64> shown;
        for (int row = 0; row < model->rowCount(); ++row)
            shown << model->index(row, 0).data().toLongLong();
        QCOMPARE(shown, expected);
    }

    void registryPrintListsEverySubjectByName()
    {
        RecordingReportViewerScope preview;
        auto *print = f.at<ToggleButton>("Check4");
        QStringList shown; // the print toggle while the preview is open, its owner, the names
        preview.viewer().whileShown = [&](const ReportDocument &document, QWidget *owner) {
            shown << QString::number(print->value()) << (owner ? owner->objectName() : "-")
                  << document.texts("TextBox5");
        };
        run("Check4");
        QCOMPARE(shown, QStringList({"1", w->objectName()}) + seeded);
        QCOMPARE(print->value(), 0);
        QTRY_COMPARE(where(), "Frame3 /  / Check7");
    }

    // A row: the operator's steps (";" between them) # the message boxes by name, ":Yes" or
    // ":No" for the reply # stored rows, columns after the ID ("|" between them, ";" between
    // rows; "-NAME": none stored) # where the window ends (see RegistryFixture::where).
    // clang-format off
    void operatorDoes_data()
    {
        QTest::addColumn<QString>("row");
        auto row = [](const QString &name, const QString &row) {
            QTest::newRow(qPrintable(name)) << row;
        };
        const QString rossi = "ROSSI MARIO|||||rssmra80a01h501u||S|||||pw|";
        // Every way out of the editing panel leaves the fields empty; "Esci" keeps the mode.
        for (const QString from : {"Menu|Check7|", "Insert|insert NUOVO;Text2+neri|Inserisci", "Edit|modify ROSSI MARIO|Modifica"}) {
            const QString name = from.section('|', 0, 0);
            const QString start = from.section('|', 1, 1) + ";";
            row(name + ", Esci", start + "Check8;?empty # # # Frame3 / " + from.section('|', 2) + " / Check7");
            row(name + ", Inserisci", start + "Check6;?empty;?seen=Text2;?Frame1.enabled=false # # # Frame4 / Inserisci / Text55");
            row(name + ", Modifica", start + "Check2;?empty # # # Frame2 / Modifica / Datagrid1");
            row(name + ", Elimina", start + "Check3;?empty # # # Frame2 / Elimina / Datagrid1");
        }
        row("grid, Esci twice", "Check7;Check2;Check5;Check7;Check2;Check5 # # # Frame3 / Modifica / Check7");
        row("check, X", "Check7;Check6;Text55+abc;Label67;?empty;Check7;?covered=Text2 # # # Frame1 /  / Check6");
        row("check, Alt+X", "Check7;Check6;Text55+abc;altx;?empty # # # Frame3 /  / Check7");
        row("insert, every column, what the boxes let in", "insert vrdgpp80a01l219k;Text2+nicolò d'àngelo;Text3+via ;paste piazza dùomo;Text4+forlì;Text5+fc9;Text6+1 a+/(23456;Text8+123456789012;Check1;Text9+a.b@c.it;Text10+12.3;paste piazza dùomo;Text10<Backspace;Text10<Left;Text10<Del;Text10<Home;Text10+9;Text10<Tab;?@=Text11;Text11+-3,,3-;Text12+0è5;Text13+Pw9è;Text14+perché sì;Text14<Left;Text14<Left;Text14+xy;Cmd2;Check7 # askInsert:Yes inserted # NICOLÒ D'ÀNGELO|VIA PIAZZA DÙOMO|FORLÌ|FC|12345|VRDGPP80A01L219K|12345678901|S|A.B@C.IT|912|-3,,3-|05|Pw9è|PERCHÉ XYSÌ # Frame1 /  / Check6");
        row("insert, blank name", "insert X1;Text2+   ;Cmd2 # noName # - # Frame1 / Inserisci / Text2");
        row("insert, no code", "insert;Text2+anna;Check1;Cmd2 # noCode # -ANNA # Frame1 / Inserisci / Text7");
        row("insert, user without password", "insert X1;Text2+anna;Check1;Cmd2 # noPassword # -ANNA # Frame1 / Inserisci / Text13");
        row("insert, No", "insert NNN;Text2+neri;Cmd2;Cmd2;?Text2=NERI # askInsert:No askInsert:No # -NERI # Frame1 / Inserisci / Cmd2");
        row("insert, failed write", "refuse;insert NNN;Text2+neri;Cmd2;?Text2=NERI # askInsert:Yes dbError # -NERI # Frame1 / Inserisci / Cmd2");
        row("insert of a non-user drops the password", "insert nnn;Text2+neri;Check1;Text13+pw;Check1;Cmd2 # askInsert:Yes inserted # NERI|||||NNN||N|||||| # Frame3 /  / Check7");
        row("insert, code changed to a taken one", "insert LIBERO;Text2+neri;Text7=RSSMRA80A01H501U;Cmd2;?Text2=NERI # askInsert:Yes taken # -NERI # Frame1 / Inserisci / Text7");
        row("check, taken codes", "insert 01234567890;?Text55=;Text55+rssmra80a01h501u;Cmd3 # taken taken # # Frame4 / Inserisci / Text55");
        row("check by Enter, taken code", "Check7;Check6;Text55+01234567890;Text55<Return;?Text55= # taken # # Frame4 / Inserisci / Text55");
        for (const QString code : {"%", "0123456789_", "D'A"}) row("check, free code " + code, QString("insert %1;?Text7=%1;?@=Text2;Text2+nuovo;Cmd2 # askInsert:Yes inserted # NUOVO|||||%1||N|||||| # Frame3 /  / Check7") .arg(code));
        row("modify, every column in capitals", "sql UPDATE Utente SET email = 'i@b.it', cap = '20100' WHERE Soggetto = 'BIANCHI SRL';modify BIANCHI SRL;Text4+ milano;Cmd2 # askModify:Yes modified # BIANCHI SRL|| MILANO||20100|01234567890||N|I@B.IT||||| # Frame3 /  / Check7");
        row("modify, password of a non-user", "sql UPDATE Utente SET Pwd = 'old' WHERE Soggetto = 'BIANCHI SRL';modify BIANCHI SRL;?Text13=old;Cmd2;Check1;Text13+x;Cmd2 # passwordOfNonUser askModify:Yes modified # BIANCHI SRL|||||01234567890||S|||||oldx| # Frame3 /  / Check7");
        row("modify, subject gone meanwhile", "modify BIANCHI SRL;sql DELETE FROM Utente WHERE Soggetto = 'BIANCHI SRL';Cmd2;?Text2=BIANCHI SRL # askModify:Yes goneModify # -BIANCHI SRL # Frame1 / Modifica / Cmd2");
        row("modify, subject changed at another desk", "modify BIANCHI SRL;desk UPDATE Utente SET fax = '06' WHERE Soggetto = 'BIANCHI SRL';Città=roma;Modifica;?Città=ROMA # askModify:Yes changedModify # BIANCHI SRL|||||01234567890||N||||06|| # Frame1 / Modifica / Cmd2");
        row("code hints: wrong check characters, inserted all the same", QString("insert X;Codice Fiscale=rssmra85t10a562k;?CodeHint.text=%1;?Codice Fiscale.toolTip=;?Codice Fiscale.accessibleDescription=%1;Partita IVA=12345678900;?VatHint.text=Cifra di controllo errata: attesa 3;Text2+neri;Inserisci # askInsert:Yes inserted # NERI|||||RSSMRA85T10A562K|12345678900|N|||||| # Frame3 /  / Check7").arg("Carattere di controllo errato: atteso S"));
        row("code hints: right codes, a birth in the tool tip", "insert X;Codice Fiscale=RSSMRA85T10A562S;?CodeHint.text=;?Codice Fiscale.toolTip=Nato il 10/12/1985, maschio;Partita IVA=12345678903;?VatHint.text= # # # Frame1 / Inserisci / Text8");
        row("modify, code of another subject", "modify BIANCHI SRL;Text7=rssmra80a01h501u;Cmd2 # askModify:Yes taken # BIANCHI SRL|||||01234567890||N|||||| # Frame1 / Modifica / Text7");
        row("modify, code stored twice", "sql INSERT INTO Utente (Soggetto, Codice, utente) VALUES ('BIS', 'RSSMRA80A01H501U', 'N');modify BIS;Text3+via verdi;Cmd2 # askModify:Yes modified # BIS|VIA VERDI||||RSSMRA80A01H501U||N|||||| # Frame3 /  / Check7");
        row("modify, user flag stored in small letters", "sql UPDATE Utente SET utente = 's' WHERE Soggetto = 'ROSSI MARIO';modify ROSSI MARIO;Cmd2 # askModify:Yes modified # ROSSI MARIO|||||RSSMRA80A01H501U||S|||||pw| # Frame3 /  / Check7");
        row("modify, long stored code kept, limit back", "sql UPDATE Utente SET Codice = 'ABCDEFGHIJKLMNOPQRS' WHERE Soggetto = 'BIANCHI SRL';modify BIANCHI SRL;Cmd2;insert;Text7+abcdefghijklmnopqrs;Text2+neri;Cmd2 # askModify:Yes modified askInsert:Yes inserted # BIANCHI SRL|||||ABCDEFGHIJKLMNOPQRS||N||||||;NERI|||||ABCDEFGHIJKLMNOP||N|||||| # Frame3 /  / Check7");
        row("delete keeps the diary", "delete ROSSI MARIO;Cmd2 # askDelete:Yes deleted # -ROSSI MARIO # Frame3 /  / Check7");
        row("delete, No", "delete ROSSI MARIO;Cmd2;?Text2= # askDelete:No # " + rossi + " # Frame3 /  / Check7");
        row("delete, subject gone meanwhile", "delete ROSSI MARIO;sql DELETE FROM Utente WHERE Soggetto = 'ROSSI MARIO';Cmd2 # askDelete:Yes goneDelete # -ROSSI MARIO # Frame3 /  / Check7");
        row("delete, none picked", "Check7;Check3;Check5;Check7;Cmd2 # askDelete:Yes noneDelete # " + rossi + " # Frame3 /  / Check7");
        row("modify, none picked", "Check7;Check2;Check5;Check7;Cmd2 # noName # # Frame1 / Modifica / Text2");
    }
    // clang-format on

    void operatorDoes()
    {
        QFETCH(QString, row);
        const QStringList field = row.split(QRegularExpression(" *# *"));
        QStringList patterns;
        for (const QString &box : field.at(1).split(' ', Qt::SkipEmptyParts)) {
            patterns << "*|" + messages.value(box.section(':', 0, 0));
            f.prompt->answer(box.endsWith(":Yes")  ? PromptAnswer::Yes
                             : box.endsWith(":No") ? PromptAnswer::No
                                                   : PromptAnswer::Ok);
        }
        run(field.at(0));
        QVERIFY(allMatch(patterns, shownBoxes(*f.prompt)));
        for (const QString &stored : field.at(2).split(';', Qt::SkipEmptyParts)) {
            const bool none = stored.startsWith('-');
            QCOMPARE(storedRow(stored.section('|', 0, 0).mid(none ? 1 : 0)),
                     none ? QString() : stored);
        }
        QCOMPARE(f.db->count("Tavelo"), 1);
        QCOMPARE(where(), field.at(3));
    }

private:
    QString text(const char *name) const { return f.at(name)->property("text").toString(); }

    // The shared steps, and "insert CODE" (the fields opened through the code check), "modify
    // NAME" and "delete NAME" (the subject picked in the grid), "?empty" (fields empty, no user,
    // no password), "?seen=NAME" and "?covered=NAME", "refuse" (inserts of subjects fail),
    // "altx" (Alt+X on the focused control).
    void run(QString steps)
    {
        steps
            .replace(QRegularExpression("(^|;)insert ?([^;]*)"), "\\1Check7;Check6;Text55+\\2;Cmd3")
            .replace(QRegularExpression("(^|;)modify "), "\\1Check7;Check2;pick ")
            .replace(QRegularExpression("(^|;)delete "), "\\1Check7;Check3;pick ")
            .replace("?empty", "?Text1=;?Text2=;?Text7=;?Text13=;?Text55=;?Check1.checked=false;"
                               "?Text13.enabled=false");
        for (const QString &step : steps.split(';')) {
            const QString name = step.section('=', 1);
            if (step.startsWith("?seen=") || step.startsWith("?covered="))
                QVERIFY2(operatorSees(f.at(qPrintable(name))) == step.startsWith("?seen"),
                         qPrintable(step));
            else if (step == "refuse")
                QVERIFY(f.db->refuseWrites("Utente", "INSERT", "disco pieno"));
            else if (step == "altx") // a mnemonic clicks the button a moment later
                QTest::keyClick(w->focusWidget(), Qt::Key_X, Qt::AltModifier), QTest::qWait(250);
            else
                QVERIFY(runSteps(f, step));
        }
    }

    // The panels that can be seen, topmost first, the action button's caption and the control
    // with the focus, " / " between them.
    QString where() const
    {
        QStringList panels;
        for (const char *panel : {"Frame3", "Frame4", "Frame2", "Frame1"})
            if (operatorSees(f.at(panel)))
                panels << panel;
        const QWidget *focus = w->focusWidget();
        return panels.join(' ') + " / " + text("Cmd2") + " / " + (focus ? focus->objectName() : "");
    }

    // The subject's stored columns after the ID, "|" between them; empty when none.
    QString storedRow(const QString &name) const
    {
        QSqlQuery query(DbConnection::instance().database());
        query.prepare("SELECT * FROM Utente WHERE Soggetto = :name");
        query.bindValue(":name", name);
        QStringList texts;
        if (query.exec() && query.next())
            for (int column = 1; column < query.record().count(); ++column)
                texts << query.value(column).toString();
        return texts.join('|');
    }

    MainWindowTest f;
    std::unique_ptr<frmAnagrafe> w;
};

TAVELO_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
