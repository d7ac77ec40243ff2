// SPDX-License-Identifier: GPL-3.0-or-later
// Writing subjects from the registry window: the field checks, insert, modify and
// delete, and the fiscal-code check that keeps codes unique.
#include "registry_fixture.h"

#include "widgets/toggle_button.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QToolBar>

namespace {

// The boxes and the text typed into each, in the order of the table's columns.
struct TypedSubject
{
    QString name = QStringLiteral("verdi giuseppe");
    QString address = QStringLiteral("via po 3");
    QString town = QStringLiteral("torino");
    QString province = QStringLiteral("to");
    QString cap = QStringLiteral("10100");
    QString vat = QStringLiteral("12345678901");
    QString email = QStringLiteral("g@verdi.it");
    QString phone = QStringLiteral("011,1");
    QString mobile = QStringLiteral("333-1");
    QString fax = QStringLiteral("011,2");
    QString note = QStringLiteral("cliente dal 2020");
};

void typeSubject(frmAnagrafe *w, const TypedSubject &s)
{
    typeInto(w->Text2, s.name);
    typeInto(w->Text3, s.address);
    typeInto(w->Text4, s.town);
    typeInto(w->Text5, s.province);
    typeInto(w->Text6, s.cap);
    typeInto(w->Text8, s.vat);
    typeInto(w->Text9, s.email);
    typeInto(w->Text10, s.phone);
    typeInto(w->Text11, s.mobile);
    typeInto(w->Text12, s.fax);
    typeInto(w->Text14, s.note);
}

QStringList rowTexts(const QSqlRecord &record)
{
    QStringList texts;
    for (int i = 1; i < record.count(); ++i)
        texts << record.value(i).toString();
    return texts;
}

qint64 idOf(const QString &name)
{
    QSqlQuery query(QSqlDatabase::database(QStringLiteral("tavelo")));
    query.prepare(QStringLiteral("SELECT ID FROM Utente WHERE Soggetto = :name"));
    query.bindValue(QStringLiteral(":name"), name);
    return query.exec() && query.next() ? query.value(0).toLongLong() : 0;
}

} // namespace

class TestRegistryEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fieldChecksInOrder_data();
    void fieldChecksInOrder();
    void insertWritesFourteenColumnsAndReturnsToStart();
    void insertOfNonUserWritesNAndNoPassword();
    void answeringNoChangesNothingAndAsksAgain();
    void failedInsertSaysWhyAndKeepsFields();
    void modifyWritesEveryColumnInCapitals();
    void modifyWarnsOfPasswordOfNonUser();
    void modifyOfSubjectGoneMeanwhileIsTold();
    void modifyKeepsAUserFlagStoredInSmallLetters();
    void registeredCodeIsRefusedAtTheCheck_data();
    void registeredCodeIsRefusedAtTheCheck();
    void freeCodeOpensTheFields_data();
    void freeCodeOpensTheFields();
    void closingTheCheckPanelLeavesNoMode();
    void codeChangedAfterTheCheckIsCheckedAgain();
    void modifyChangingCodeToATakenOneIsRefused();
    void modifyKeepingACodeStoredTwiceIsAllowed();
    void deleteRemovesSubjectButNotItsDiary();
    void deleteAnsweredNoReturnsToStart();
    void deleteOfSubjectGoneMeanwhileIsTold();
    void newUserShowsInMainWindowAfterChiudi();

private:
    RegistryFixture f;
    qint64 m_rossi = 0;
    qint64 m_bianchi = 0;
};

void TestRegistryEditing::init()
{
    f.start();
    m_rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"), QStringLiteral("S"),
                               QStringLiteral("rssmra80a01h501u"));
    m_bianchi = f.db->addSubject(QStringLiteral("BIANCHI SRL"), QStringLiteral("N"),
                                 QStringLiteral("01234567890"));
}

void TestRegistryEditing::cleanup()
{
    f.stop();
}

void TestRegistryEditing::fieldChecksInOrder_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("user");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString noName = QStringLiteral("Inserire il campo Soggetto!");
    const QString noCode = QStringLiteral("Inserire il campo Codice Fiscale");
    const QString noPassword = QStringLiteral("Inserire la Password");
    QTest::newRow("insert, all empty") << "Inserisci"
                                       << ""
                                       << "" << false << noName << "Text2";
    QTest::newRow("insert, blank name") << "Inserisci"
                                        << "   "
                                        << "X1" << false << noName << "Text2";
    QTest::newRow("insert, no code") << "Inserisci"
                                     << "ANNA"
                                     << "" << true << noCode << "Text7";
    QTest::newRow("insert, user without password") << "Inserisci"
                                                   << "ANNA"
                                                   << "X1" << true << noPassword << "Text13";
    QTest::newRow("modify, blank code") << "Modifica"
                                        << "ANNA"
                                        << " " << false << noCode << "Text7";
    QTest::newRow("modify, user without password") << "Modifica"
                                                   << "ANNA"
                                                   << "X1" << true << noPassword << "Text13";
}

void TestRegistryEditing::fieldChecksInOrder()
{
    QFETCH(QString, mode);
    QFETCH(QString, name);
    QFETCH(QString, code);
    QFETCH(bool, user);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    if (mode == QLatin1String("Inserisci")) {
        f.openInsertFields(QString());
    } else {
        f.openGrid(mode);
        f.pickRow(QStringLiteral("BIANCHI SRL"));
        f.w->Text2->clear();
        f.w->Text7->clear();
    }
    typeInto(f.w->Text2, name);
    typeInto(f.w->Text7, code);
    if (user)
        f.click(f.w->Check1);
    const int before = f.db->count(QStringLiteral("Utente"));
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 1);
    QCOMPARE(f.prompt->shown().at(0).text, message);
    QCOMPARE(f.prompt->shown().at(0).title, QStringLiteral("ERRORE - CAMPO   VUOTO"));
    QCOMPARE(f.prompt->shown().at(0).icon, PromptIcon::Information);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(f.db->count(QStringLiteral("Utente")), before);
    QCOMPARE(f.w->Cmd2->text(), mode);
}

void TestRegistryEditing::insertWritesFourteenColumnsAndReturnsToStart()
{
    f.openInsertFields(QStringLiteral("vrdgpp80a01l219k"));
    QCOMPARE(f.w->Text7->text(), QStringLiteral("VRDGPP80A01L219K"));
    typeSubject(f.w, {});
    f.click(f.w->Check1);
    typeInto(f.w->Text13, QStringLiteral("Segreta"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 2);
    QCOMPARE(f.prompt->shown().at(0).text, QStringLiteral("Vuoi Inserire questi dati ?"));
    QCOMPARE(f.prompt->shown().at(0).title, QStringLiteral("Brandola - INSERIMENTO"));
    QCOMPARE(f.prompt->shown().at(0).buttons, PromptButtons::YesNo);
    QCOMPARE(f.prompt->shown().at(0).icon, PromptIcon::None);
    QCOMPARE(f.prompt->shown().at(1).text,
             QStringLiteral("L' inserimento è avvenuto con successo !"));
    QCOMPARE(f.prompt->shown().at(1).title, QStringLiteral("Brandola - INSERIMENTO"));
    QCOMPARE(f.prompt->shown().at(1).icon, PromptIcon::Information);
    const QSqlRecord row = f.storedRow(idOf(QStringLiteral("VERDI GIUSEPPE")));
    QCOMPARE(rowTexts(row),
             QStringList({"VERDI GIUSEPPE", "VIA PO 3", "TORINO", "TO", "10100", "VRDGPP80A01L219K",
                          "12345678901", "S", "G@VERDI.IT", "011,1", "333-1", "011,2", "Segreta",
                          "CLIENTE DAL 2020"}));
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(f.w->Cmd2->text(), QString());
    QCOMPARE(f.w->Check7->value(), 0);
    QCOMPARE(f.w->Text2->text(), QString());
}

void TestRegistryEditing::insertOfNonUserWritesNAndNoPassword()
{
    f.openInsertFields(QStringLiteral("NNN"));
    typeInto(f.w->Text2, QStringLiteral("NERI"));
    // A password typed while the subject was a user goes when it is unmarked.
    f.click(f.w->Check1);
    typeInto(f.w->Text13, QStringLiteral("pw"));
    f.click(f.w->Check1);
    QVERIFY(!f.w->Text13->isEnabled());
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    const QSqlRecord row = f.storedRow(idOf(QStringLiteral("NERI")));
    QCOMPARE(row.value(QStringLiteral("utente")).toString(), QStringLiteral("N"));
    QCOMPARE(row.value(QStringLiteral("Pwd")).toString(), QString());
    QCOMPARE(row.value(QStringLiteral("Codice")).toString(), QStringLiteral("NNN"));
}

void TestRegistryEditing::answeringNoChangesNothingAndAsksAgain()
{
    f.openInsertFields(QStringLiteral("NNN"));
    typeInto(f.w->Text2, QStringLiteral("NERI"));
    f.prompt->answer(PromptAnswer::No);
    f.click(f.w->Cmd2);
    QCOMPARE(f.db->count(QStringLiteral("Utente")), 2);
    QCOMPARE(f.w->Text2->text(), QStringLiteral("NERI"));
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame1"));
    f.prompt->answer(PromptAnswer::No);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 2);
    QCOMPARE(f.prompt->shown().at(1).text, QStringLiteral("Vuoi Inserire questi dati ?"));
}

void TestRegistryEditing::failedInsertSaysWhyAndKeepsFields()
{
    QVERIFY(f.db->refuseWrites(QStringLiteral("Utente"), QStringLiteral("INSERT"),
                               QStringLiteral("disco pieno")));
    f.openInsertFields(QStringLiteral("NNN"));
    typeInto(f.w->Text2, QStringLiteral("NERI"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 2);
    QVERIFY(f.prompt->shown().at(1).text.startsWith(QLatin1String("Errore del database:")));
    QVERIFY(f.prompt->shown().at(1).text.contains(QLatin1String("disco pieno")));
    QCOMPARE(f.db->count(QStringLiteral("Utente")), 2);
    QCOMPARE(f.w->Text2->text(), QStringLiteral("NERI"));
    QCOMPARE(f.w->Cmd2->text(), QStringLiteral("Inserisci"));
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame1"));
}

void TestRegistryEditing::modifyWritesEveryColumnInCapitals()
{
    f.db->exec(QStringLiteral("UPDATE Utente SET email = 'info@bianchi.it', cap = '20100' "
                              "WHERE Soggetto = 'BIANCHI SRL'"));
    f.openGrid(QStringLiteral("Modifica"));
    f.pickRow(QStringLiteral("BIANCHI SRL"));
    typeInto(f.w->Text4, QStringLiteral(" milano"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().at(0).text, QStringLiteral("Vuoi Modificare questi dati ?"));
    QCOMPARE(f.prompt->shown().at(0).title, QStringLiteral("Brandola - MODIFICA"));
    QCOMPARE(f.prompt->shown().at(1).text,
             QStringLiteral("L' Aggiornamento è avvenuto con successo !"));
    // No title of its own: the box carries the application title.
    QCOMPARE(f.prompt->shown().at(1).title, QString());
    const QSqlRecord row = f.storedRow(m_bianchi);
    QCOMPARE(rowTexts(row), QStringList({"BIANCHI SRL", "", " MILANO", "", "20100", "01234567890",
                                         "", "N", "INFO@BIANCHI.IT", "", "", "", "", ""}));
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(f.w->Cmd2->text(), QString());
}

void TestRegistryEditing::modifyWarnsOfPasswordOfNonUser()
{
    f.db->exec(QStringLiteral("UPDATE Utente SET Pwd = 'vecchia' WHERE Soggetto = 'BIANCHI SRL'"));
    f.openGrid(QStringLiteral("Modifica"));
    f.pickRow(QStringLiteral("BIANCHI SRL"));
    QCOMPARE(f.w->Text13->text(), QStringLiteral("vecchia"));
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 1);
    QCOMPARE(f.prompt->shown().at(0).text,
             QStringLiteral("Attenzione, è presente una password ma non è stata selezionata la "
                            "voce UTENTE "));
    QCOMPARE(f.prompt->shown().at(0).title, QStringLiteral("ERRORE - CAMPO   VUOTO"));
    QCOMPARE(f.storedRow(m_bianchi).value(QStringLiteral("Pwd")).toString(),
             QStringLiteral("vecchia"));
    // Marking the subject as a user lets the modify go on.
    f.click(f.w->Check1);
    typeInto(f.w->Text13, QStringLiteral("x"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.storedRow(m_bianchi).value(QStringLiteral("utente")).toString(),
             QStringLiteral("S"));
    QCOMPARE(f.storedRow(m_bianchi).value(QStringLiteral("Pwd")).toString(),
             QStringLiteral("vecchiax"));
}

void TestRegistryEditing::modifyOfSubjectGoneMeanwhileIsTold()
{
    f.openGrid(QStringLiteral("Modifica"));
    f.pickRow(QStringLiteral("BIANCHI SRL"));
    f.db->exec(QStringLiteral("DELETE FROM Utente WHERE Soggetto = 'BIANCHI SRL'"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 2);
    QVERIFY(!f.prompt->shown().at(1).text.contains(QLatin1String("successo")));
    QCOMPARE(f.db->count(QStringLiteral("Utente")), 1);
    QCOMPARE(f.w->Text2->text(), QStringLiteral("BIANCHI SRL"));
}

void TestRegistryEditing::modifyKeepsAUserFlagStoredInSmallLetters()
{
    f.db->exec(QStringLiteral("UPDATE Utente SET utente = 's' WHERE Soggetto = 'ROSSI MARIO'"));
    f.openGrid(QStringLiteral("Modifica"));
    f.pickRow(QStringLiteral("ROSSI MARIO"));
    QCOMPARE(f.w->Check1->value(), 1);
    QCOMPARE(f.w->Text13->text(), QStringLiteral("pw"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.storedRow(m_rossi).value(QStringLiteral("utente")).toString(), QStringLiteral("S"));
    QCOMPARE(f.storedRow(m_rossi).value(QStringLiteral("Pwd")).toString(), QStringLiteral("pw"));
}

void TestRegistryEditing::registeredCodeIsRefusedAtTheCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("same case as typed") << "01234567890";
    QTest::newRow("stored in small letters") << "RSSMRA80A01H501U";
}

void TestRegistryEditing::registeredCodeIsRefusedAtTheCheck()
{
    QFETCH(QString, typed);
    f.click(f.w->Check7);
    f.click(f.w->Check6);
    // The check panel lies over the editing panel, which is in view but takes no input.
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame4"));
    QVERIFY(f.seen(f.w->Text2));
    QVERIFY(!f.w->Frame1->isEnabled());
    QCOMPARE(f.w->Cmd2->text(), QStringLiteral("Inserisci"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        typeInto(f.w->Text55, typed);
        f.prompt->answer(PromptAnswer::Ok);
        f.click(f.w->Cmd3);
        QCOMPARE(f.prompt->shown().size(), attempt + 1);
        const PromptRequest &box = f.prompt->shown().last();
        QCOMPARE(box.text,
                 QStringLiteral("Esiste già un medesimo Soggetto con lo stesso Codice Fiscale"));
        QCOMPARE(box.title, QStringLiteral(" Quendar - ERRORE "));
        QCOMPARE(box.icon, PromptIcon::None);
        QCOMPARE(f.w->Text55->text(), QString());
        QCOMPARE(QApplication::focusWidget(), f.w->Text55);
        QVERIFY(f.w->Frame4->isVisible());
    }
}

void TestRegistryEditing::freeCodeOpensTheFields_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("three letters") << "abc"
                                   << "ABC";
    QTest::newRow("a quote") << "D'A"
                             << "D'A";
    QTest::newRow("wildcards are characters") << "%"
                                              << "%";
    QTest::newRow("underscore") << "0123456789_"
                                << "0123456789_";
}

void TestRegistryEditing::freeCodeOpensTheFields()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    f.openInsertFields(typed);
    QCOMPARE(f.prompt->shown().size(), 0);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame1"));
    QVERIFY(f.w->Frame1->isEnabled());
    QVERIFY(f.seen(f.w->Text2));
    QCOMPARE(f.w->Text7->text(), shown);
    QCOMPARE(f.w->Cmd2->text(), QStringLiteral("Inserisci"));
    QCOMPARE(f.w->Check6->value(), 0);
    QCOMPARE(QApplication::focusWidget(), f.w->Text2);
    // The code is written as it stands.
    typeInto(f.w->Text2, QStringLiteral("NUOVO"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.storedRow(idOf(QStringLiteral("NUOVO"))).value(QStringLiteral("Codice")).toString(),
             shown);
}

void TestRegistryEditing::closingTheCheckPanelLeavesNoMode()
{
    // Enter in the code box checks it like "Controlla".
    f.click(f.w->Check7);
    f.click(f.w->Check6);
    typeInto(f.w->Text55, QStringLiteral("01234567890"));
    f.prompt->answer(PromptAnswer::Ok);
    QTest::keyClick(f.w->Text55, Qt::Key_Return);
    QCOMPARE(f.prompt->shown().size(), 1);
    QCOMPARE(f.w->Text55->text(), QString());
    f.click(f.w->Label67);

    f.click(f.w->Check7);
    f.click(f.w->Check6);
    typeInto(f.w->Text55, QStringLiteral("ABC"));
    f.click(f.w->Label67);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(f.w->Cmd2->text(), QString());
    QCOMPARE(f.w->Text55->text(), QString());
    QCOMPARE(f.w->Check6->value(), 0);
    QVERIFY(f.w->Frame1->isEnabled());
    f.click(f.w->Check7);
    QVERIFY(f.w->Frame6->isVisible());
    QVERIFY(!f.seen(f.w->Text2));
}

void TestRegistryEditing::codeChangedAfterTheCheckIsCheckedAgain()
{
    f.openInsertFields(QStringLiteral("LIBERO"));
    typeInto(f.w->Text2, QStringLiteral("NERI"));
    f.w->Text7->clear();
    typeInto(f.w->Text7, QStringLiteral("RSSMRA80A01H501U"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 2);
    QCOMPARE(f.prompt->shown().at(1).text,
             QStringLiteral("Esiste già un medesimo Soggetto con lo stesso Codice Fiscale"));
    QCOMPARE(f.db->count(QStringLiteral("Utente")), 2);
    QCOMPARE(QApplication::focusWidget(), f.w->Text7);
    QCOMPARE(f.w->Text2->text(), QStringLiteral("NERI"));
}

void TestRegistryEditing::modifyChangingCodeToATakenOneIsRefused()
{
    f.openGrid(QStringLiteral("Modifica"));
    f.pickRow(QStringLiteral("BIANCHI SRL"));
    f.w->Text7->clear();
    typeInto(f.w->Text7, QStringLiteral("rssmra80a01h501u"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().at(1).text,
             QStringLiteral("Esiste già un medesimo Soggetto con lo stesso Codice Fiscale"));
    QCOMPARE(f.storedRow(m_bianchi).value(QStringLiteral("Codice")).toString(),
             QStringLiteral("01234567890"));
}

void TestRegistryEditing::modifyKeepingACodeStoredTwiceIsAllowed()
{
    // An earlier version let two subjects share a code: they can still be edited.
    const qint64 twin = f.db->addSubject(QStringLiteral("ROSSI MARIO BIS"), QStringLiteral("N"),
                                         QStringLiteral("RSSMRA80A01H501U"));
    f.openGrid(QStringLiteral("Modifica"));
    f.pickRow(QStringLiteral("ROSSI MARIO BIS"));
    typeInto(f.w->Text3, QStringLiteral("via verdi"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().at(1).text,
             QStringLiteral("L' Aggiornamento è avvenuto con successo !"));
    QCOMPARE(f.storedRow(twin).value(QStringLiteral("indirizzo")).toString(),
             QStringLiteral("VIA VERDI"));
}

void TestRegistryEditing::deleteRemovesSubjectButNotItsDiary()
{
    f.db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"));
    f.openGrid(QStringLiteral("Elimina"));
    f.pickRow(QStringLiteral("ROSSI MARIO"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 2);
    QCOMPARE(f.prompt->shown().at(0).text,
             QStringLiteral("Sei sicuro di voler eliminare il Soggetto selezionato"));
    QCOMPARE(f.prompt->shown().at(0).title, QStringLiteral("Brandola - ELIMINA SOGGETTO"));
    QCOMPARE(f.prompt->shown().at(1).text,
             QStringLiteral("Eliminazione  di       ROSSI MARIO   effettuata con successo ! "));
    QCOMPARE(f.prompt->shown().at(1).title, QStringLiteral("Brandola- ELIMINA SOGGETTO"));
    QVERIFY(f.storedRow(m_rossi).isEmpty());
    QCOMPARE(f.db->count(QStringLiteral("Tavelo")), 1);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(f.w->Cmd2->text(), QString());
    QCOMPARE(f.w->Check3->value(), 0);
}

void TestRegistryEditing::deleteAnsweredNoReturnsToStart()
{
    f.openGrid(QStringLiteral("Elimina"));
    f.pickRow(QStringLiteral("ROSSI MARIO"));
    f.prompt->answer(PromptAnswer::No);
    f.click(f.w->Cmd2);
    QCOMPARE(f.db->count(QStringLiteral("Utente")), 2);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
    QCOMPARE(f.w->Text2->text(), QString());
    QCOMPARE(f.w->Cmd2->text(), QString());
}

void TestRegistryEditing::deleteOfSubjectGoneMeanwhileIsTold()
{
    f.openGrid(QStringLiteral("Elimina"));
    f.pickRow(QStringLiteral("ROSSI MARIO"));
    f.db->exec(QStringLiteral("DELETE FROM Utente WHERE Soggetto = 'ROSSI MARIO'"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QCOMPARE(f.prompt->shown().size(), 2);
    QCOMPARE(f.prompt->shown().at(1).text,
             QStringLiteral("Il Soggetto non è più in archivio: non è stato eliminato nulla."));
    QCOMPARE(f.db->count(QStringLiteral("Utente")), 1);
    QCOMPARE(f.seenPanels(), QStringLiteral("Frame3"));
}

void TestRegistryEditing::newUserShowsInMainWindowAfterChiudi()
{
    f.openInsertFields(QStringLiteral("GLLNNA90"));
    typeInto(f.w->Text2, QStringLiteral("gialli anna"));
    f.click(f.w->Check1);
    typeInto(f.w->Text13, QStringLiteral("pw"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    f.click(f.w->Cmd2);
    QVERIFY(clickToolbar(f.w->tbTop, QStringLiteral("Chiudi")));
    QTRY_VERIFY(f.at<QComboBox>("Cbo1")->findText(QStringLiteral("GIALLI ANNA")) >= 0);
    QCOMPARE(f.at<QComboBox>("Cbo1")->itemText(0), QStringLiteral("GIALLI ANNA"));
}

TAVELO_TEST_MAIN(TestRegistryEditing)
#include "tst_registry_editing.moc"
