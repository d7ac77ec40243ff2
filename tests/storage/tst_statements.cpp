// SPDX-License-Identifier: GPL-3.0-or-later
// Every statement of the program, on a fresh data file.
#include "test_support.h"

#include "core/dates.h"
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>

namespace {

QStringList names(const QVector<Subject> &subjects)
{
    QStringList list;
    for (const Subject &s : subjects)
        list << s.soggetto;
    return list;
}

QStringList columnTexts(QSqlQuery &query, int column)
{
    QStringList texts;
    while (query.next())
        texts << query.value(column).toString();
    return texts;
}

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void usersAreFlaggedSubjectsByName();
    void nameLookupIsLiteral_data();
    void nameLookupIsLiteral();
    void diaryGridRowsOfOneUserByDueDate();
    void versionStampReadAndWrite();
    void versionStampWithoutRowWritesNothing();
    void versionStampWritesFirstRowOnly();
    void diaryEntryInsertUpdateDelete();
    void writesOnMissingRowsTouchNothing();
    void subjectInsertUpdateDelete();
    void deadlineListsJoinLiveUsers();
    void userCardRowsNeedEntryDate();
    void registryRowsAreEverySubjectByName();
    void fiscalCodeLookupIsLiteral();
    void statementsFailWhenFileIsClosed();
    void legacyFileReadsThroughStatements();

private:
    ScriptedPrompt *m_prompt = nullptr;
};

void TestStatements::init()
{
    m_prompt = ScriptedPrompt::install();
}

void TestStatements::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    DbConnection::instance().close();
    Prompt::install(nullptr);
}

void TestStatements::usersAreFlaggedSubjectsByName()
{
    TestDatabase db;
    db.addSubject(QStringLiteral("VERDI GIUSEPPE"), QStringLiteral("s"));
    db.addSubject(QStringLiteral("BIANCHI SRL"), QStringLiteral("N"));
    db.addSubject(QStringLiteral("ROSSI MARIO"));
    db.addSubject(QStringLiteral("ANTONELLI ANNA"));
    db.addSubject(QStringLiteral("VERDI GIUSEPPE"), QStringLiteral("S"), QStringLiteral("ALTRO"));
    const Result<QVector<Subject>> users = selectUsers();
    QVERIFY(users.ok());
    QCOMPARE(names(users.value),
             QStringList({"ANTONELLI ANNA", "ROSSI MARIO", "VERDI GIUSEPPE", "VERDI GIUSEPPE"}));
}

void TestStatements::nameLookupIsLiteral_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("quote") << "D'ANGELO NICOLÒ";
    QTest::newRow("percent and underscore") << "100% SCONTI_SRL";
    QTest::newRow("look-alike of the wildcards") << "100X SCONTIASRL";
    QTest::newRow("statement breaker") << "X'; DROP TABLE Utente; --";
}

void TestStatements::nameLookupIsLiteral()
{
    QFETCH(QString, name);
    TestDatabase db;
    const QStringList all = {"D'ANGELO NICOLÒ", "100X SCONTIASRL", "100% SCONTI_SRL",
                             "X'; DROP TABLE Utente; --"};
    QHash<QString, qint64> ids;
    for (const QString &each : all)
        ids[each] = db.addSubject(each);
    const Result<std::optional<Subject>> found = findSubjectByName(name);
    QVERIFY(found.ok());
    QVERIFY(found.value.has_value());
    QCOMPARE(found.value->id, ids.value(name));
    QCOMPARE(found.value->soggetto, name);
    const Result<std::optional<Subject>> lower = findSubjectByName(name.toLower());
    QVERIFY(lower.ok());
    // Case is ignored for the letters that the file compares without regard to case.
    if (name.toLower() != name && !name.contains(QStringLiteral("Ò")))
        QCOMPARE(lower.value ? lower.value->id : 0, ids.value(name));
    QVERIFY(!findSubjectByName(QStringLiteral("%")).value.has_value());
    QVERIFY(!findSubjectByName(QStringLiteral("100_ SCONTI%")).value.has_value());
    QCOMPARE(db.count(QStringLiteral("Utente")), 4);
}

void TestStatements::diaryGridRowsOfOneUserByDueDate()
{
    TestDatabase db;
    const qint64 rossi = db.addSubject(QStringLiteral("ROSSI"));
    const qint64 verdi = db.addSubject(QStringLiteral("VERDI"));
    db.addEntry(rossi, QDate(2026, 1, 1), QDate(2026, 5, 1), QStringLiteral("MAGGIO"));
    db.addEntry(rossi, QDate(2026, 1, 2), QDate(), QStringLiteral("SENZA SCADENZA"));
    db.addEntry(verdi, QDate(2026, 1, 3), QDate(2026, 2, 1), QStringLiteral("ALTRO UTENTE"));
    db.addEntry(rossi, QDate(2026, 1, 4), QDate(1999, 12, 31), QStringLiteral("MILLENNIO"));
    RowsResult rows = selectDiaryGridRows(rossi);
    QVERIFY(rows.ok());
    QCOMPARE(rows.value.record().count(), 7);
    QCOMPARE(columnTexts(rows.value, 3), QStringList({"SENZA SCADENZA", "MILLENNIO", "MAGGIO"}));
    RowsResult none = selectDiaryGridRows(0);
    QVERIFY(none.ok());
    QVERIFY(!none.value.next());
}

void TestStatements::versionStampReadAndWrite()
{
    TestDatabase db;
    Result<std::optional<QString>> stamp = readVersionStamp();
    QVERIFY(stamp.ok());
    QVERIFY(!stamp.value.has_value());
    const WriteResult written = writeVersionStamp(QStringLiteral("2026-12-07T10:11:12"));
    QVERIFY(written.ok());
    QCOMPARE(written.rowsAffected, 1);
    stamp = readVersionStamp();
    QVERIFY(stamp.value.has_value());
    QCOMPARE(*stamp.value, QStringLiteral("2026-12-07T10:11:12"));
    QCOMPARE(db.count(QStringLiteral("Versione")), 1);
}

void TestStatements::versionStampWithoutRowWritesNothing()
{
    TestDatabase db;
    QVERIFY(db.exec(QStringLiteral("DELETE FROM Versione")));
    const WriteResult written = writeVersionStamp(QStringLiteral("2026-12-07T10:11:12"));
    QVERIFY(written.ok());
    QCOMPARE(written.rowsAffected, 0);
    QCOMPARE(db.count(QStringLiteral("Versione")), 0);
    QVERIFY(!readVersionStamp().value.has_value());
}

void TestStatements::versionStampWritesFirstRowOnly()
{
    TestDatabase db;
    QVERIFY(
        db.exec(QStringLiteral("INSERT INTO Versione (Versione) VALUES ('2001-01-01T00:00:00')")));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Versione (Versione) VALUES (NULL)")));
    const WriteResult written = writeVersionStamp(QStringLiteral("2026-12-07T10:11:12"));
    QVERIFY(written.ok());
    QCOMPARE(written.rowsAffected, 1);
    QSqlQuery rows(DbConnection::instance().database());
    QVERIFY(rows.exec(QStringLiteral("SELECT Versione FROM Versione ORDER BY %1")
                          .arg(DbConnection::instance().isServer() ? "Riga" : "rowid")));
    QStringList stamps;
    while (rows.next())
        stamps << (rows.value(0).isNull() ? QStringLiteral("NULL")
                                          : rows.value(0).toDateTime().toString(Qt::ISODate));
    QCOMPARE(stamps, QStringList({"2026-12-07T10:11:12", "2001-01-01T00:00:00", "NULL"}));
}

void TestStatements::diaryEntryInsertUpdateDelete()
{
    TestDatabase db;
    const qint64 user = db.addSubject(QStringLiteral("ROSSI"));
    DiaryEntry entry;
    entry.data = QDate(2024, 2, 29);
    entry.oggetto = QStringLiteral("NOTA CON 'APICI' E 100%");
    entry.ndoc = QStringLiteral("1,2");
    entry.utente = user;
    entry.agg = QDate(2026, 12, 7);
    const Result<qint64> first = insertDiaryEntry(entry);
    const Result<qint64> second = insertDiaryEntry(entry);
    QVERIFY(first.ok() && second.ok());
    QVERIFY(second.value > first.value);

    QSqlQuery raw(DbConnection::instance().database());
    QVERIFY(raw.exec(QStringLiteral("SELECT data, scadenza IS NULL, Oggetto, AGG FROM Tavelo "
                                    "WHERE ID = %1")
                         .arg(first.value)) &&
            raw.next());
    QCOMPARE(raw.value(0).toString(), QStringLiteral("2024-02-29"));
    QCOMPARE(raw.value(1).toInt(), 1);
    QCOMPARE(raw.value(2).toString(), entry.oggetto);
    QCOMPARE(raw.value(3).toString(), QStringLiteral("2026-12-07"));

    entry.id = first.value;
    entry.scadenza = QDate(2025, 1, 1);
    entry.oggetto = QStringLiteral("CAMBIATA");
    WriteResult updated = updateDiaryEntry(entry);
    QVERIFY(updated.ok());
    QCOMPARE(updated.rowsAffected, 1);
    RowsResult rows = selectDiaryGridRows(user);
    QCOMPARE(columnTexts(rows.value, 3), QStringList({"NOTA CON 'APICI' E 100%", "CAMBIATA"}));

    entry.scadenza = QDate();
    QVERIFY(updateDiaryEntry(entry).ok());
    QVERIFY(raw.exec(QStringLiteral("SELECT COUNT(*) FROM Tavelo WHERE scadenza IS NULL")) &&
            raw.next());
    QCOMPARE(raw.value(0).toInt(), 2);

    const WriteResult deleted = deleteDiaryEntry(first.value);
    QVERIFY(deleted.ok());
    QCOMPARE(deleted.rowsAffected, 1);
    QCOMPARE(db.count(QStringLiteral("Tavelo")), 1);
    // A deleted ID is never handed out again.
    QVERIFY(deleteDiaryEntry(second.value).ok());
    const Result<qint64> third = insertDiaryEntry(entry);
    QVERIFY(third.value > second.value);
}

void TestStatements::writesOnMissingRowsTouchNothing()
{
    TestDatabase db;
    const qint64 user = db.addSubject(QStringLiteral("ROSSI"));
    db.addEntry(user, QDate(2026, 1, 1), QDate(), QStringLiteral("RESTA"));
    DiaryEntry ghost;
    ghost.id = 4242;
    ghost.data = QDate(2026, 1, 1);
    ghost.oggetto = QStringLiteral("FANTASMA");
    QCOMPARE(updateDiaryEntry(ghost).rowsAffected, 0);
    QCOMPARE(deleteDiaryEntry(4242).rowsAffected, 0);
    QCOMPARE(deleteSubject(4242).rowsAffected, 0);
    Subject nobody;
    nobody.id = 4242;
    QCOMPARE(updateSubject(nobody).rowsAffected, 0);
    QCOMPARE(db.count(QStringLiteral("Tavelo")), 1);
    QCOMPARE(db.count(QStringLiteral("Utente")), 1);
}

void TestStatements::subjectInsertUpdateDelete()
{
    TestDatabase db;
    Subject s;
    s.soggetto = QStringLiteral("BIANCHI & FIGLI S.R.L.");
    s.indirizzo = QStringLiteral("CORSO ITALIA 10/B");
    s.comune = QStringLiteral("TORINO");
    s.pr = QStringLiteral("TO");
    s.cap = QStringLiteral("10121");
    s.codice = QStringLiteral("09876543210");
    s.partita = QStringLiteral("09876543210");
    s.utente = QStringLiteral("N");
    s.email = QStringLiteral("INFO@BIANCHI.IT");
    s.telefono = QStringLiteral("011 1234");
    s.cell = QStringLiteral("333");
    s.fax = QStringLiteral("011 5678");
    s.pwd = QStringLiteral("Segreta'1");
    s.annotazione = QStringLiteral("FORNITORE");
    const Result<qint64> id = insertSubject(s);
    QVERIFY(id.ok());
    s.id = id.value;
    Result<std::optional<Subject>> back = findSubjectByName(s.soggetto);
    QVERIFY(back.value.has_value());
    const Subject &b = *back.value;
    QCOMPARE(QStringList({b.soggetto, b.indirizzo, b.comune, b.pr, b.cap, b.codice, b.partita,
                          b.utente, b.email, b.telefono, b.cell, b.fax, b.pwd, b.annotazione}),
             QStringList({s.soggetto, s.indirizzo, s.comune, s.pr, s.cap, s.codice, s.partita,
                          s.utente, s.email, s.telefono, s.cell, s.fax, s.pwd, s.annotazione}));

    const qint64 user = db.addSubject(QStringLiteral("ROSSI"));
    db.addEntry(user, QDate(2026, 1, 1), QDate(2026, 2, 1), QStringLiteral("RESTA"));
    s.comune = QStringLiteral("MILANO");
    QCOMPARE(updateSubject(s).rowsAffected, 1);
    QCOMPARE(findSubjectByName(s.soggetto).value->comune, QStringLiteral("MILANO"));
    const Result<std::optional<Subject>> byId = findSubjectById(s.id);
    QVERIFY(byId.ok() && byId.value);
    QCOMPARE(byId.value->soggetto, s.soggetto);
    QVERIFY(!findSubjectById(s.id + 1000).value.has_value());
    QCOMPARE(deleteSubject(user).rowsAffected, 1);
    QCOMPARE(db.count(QStringLiteral("Utente")), 1);
    QCOMPARE(db.count(QStringLiteral("Tavelo")), 1);
}

void TestStatements::deadlineListsJoinLiveUsers()
{
    TestDatabase db;
    const qint64 rossi = db.addSubject(QStringLiteral("ROSSI"));
    const qint64 gone = db.addSubject(QStringLiteral("ELIMINATO"));
    db.addEntry(rossi, QDate(2026, 1, 1), QDate(2026, 3, 1), QStringLiteral("MARZO"));
    db.addEntry(rossi, QDate(2026, 1, 1), QDate(), QStringLiteral("SENZA"));
    db.addEntry(gone, QDate(2026, 1, 1), QDate(2026, 1, 15), QStringLiteral("DI UN ELIMINATO"));
    db.addEntry(rossi, QDate(2026, 1, 1), QDate(2026, 2, 1), QStringLiteral("FEBBRAIO"));
    QCOMPARE(deleteSubject(gone).rowsAffected, 1);

    RowsResult deadlines = selectDeadlines();
    QVERIFY(deadlines.ok());
    const QSqlRecord header = deadlines.value.record();
    QCOMPARE(header.count(), 5);
    // A server hands the names over folded to lower case.
    QCOMPARE(header.fieldName(3).toLower(), QStringLiteral("soggetto"));
    QCOMPARE(header.fieldName(4).toLower(), QStringLiteral("id")); // the entry's, to open it
    QStringList seen;
    while (deadlines.value.next())
        seen << deadlines.value.value(0).toString() + QLatin1Char(' ') +
                    deadlines.value.value(1).toString() + QLatin1Char(' ') +
                    deadlines.value.value(3).toString();
    QCOMPARE(seen, QStringList({"2026-02-01 FEBBRAIO ROSSI", "2026-03-01 MARZO ROSSI"}));

    RowsResult all = selectAllUsersDeadlines();
    QVERIFY(all.ok());
    QCOMPARE(all.value.record().count(), 6);
    QVERIFY(all.value.next());
    QCOMPARE(all.value.value(0).toLongLong(), rossi);
    QCOMPARE(all.value.value(1).toString(), QStringLiteral("ROSSI"));
    QCOMPARE(all.value.value(3).toString(), QStringLiteral("FEBBRAIO"));
    QCOMPARE(all.value.value(5).toString(), QStringLiteral("ROSSI"));
}

void TestStatements::userCardRowsNeedEntryDate()
{
    TestDatabase db;
    const qint64 rossi = db.addSubject(QStringLiteral("ROSSI"));
    const qint64 verdi = db.addSubject(QStringLiteral("VERDI"));
    db.addEntry(rossi, QDate(2026, 1, 1), QDate(2026, 3, 1), QStringLiteral("CON DATA"));
    db.addEntry(rossi, QDate(), QDate(2026, 1, 1), QStringLiteral("SENZA DATA"));
    db.addEntry(rossi, QDate(2026, 1, 1), QDate(), QStringLiteral("SENZA SCADENZA"));
    db.addEntry(verdi, QDate(2026, 1, 1), QDate(2026, 1, 1), QStringLiteral("ALTRO"));
    RowsResult card = selectUserCardRows(rossi);
    QVERIFY(card.ok());
    QCOMPARE(card.value.record().count(), 7);
    QCOMPARE(columnTexts(card.value, 3), QStringList({"SENZA SCADENZA", "CON DATA"}));
}

void TestStatements::registryRowsAreEverySubjectByName()
{
    TestDatabase db;
    db.addSubject(QStringLiteral("ZETA"), QStringLiteral("N"));
    db.addSubject(QStringLiteral("alfa"), QStringLiteral("S"));
    db.addSubject(QStringLiteral("BETA"), QStringLiteral("N"));
    RowsResult report = selectRegistryReportRows();
    QVERIFY(report.ok());
    QCOMPARE(report.value.record().count(), 15);
    QCOMPARE(columnTexts(report.value, 1), QStringList({"alfa", "BETA", "ZETA"}));
    RowsResult grid = selectRegistryGridRows();
    QVERIFY(grid.ok());
    QCOMPARE(grid.value.record().count(), 15);
    QCOMPARE(columnTexts(grid.value, 1), QStringList({"alfa", "BETA", "ZETA"}));
}

void TestStatements::fiscalCodeLookupIsLiteral()
{
    TestDatabase db;
    const qint64 first =
        db.addSubject(QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("RSSMRA80A01F205X"));
    db.addSubject(QStringLiteral("B"), QStringLiteral("N"), QStringLiteral("RSSMRA80A01F205_"));
    db.addSubject(QStringLiteral("C"), QStringLiteral("N"), QStringLiteral("O'CODE"));
    Result<QVector<Subject>> found = findSubjectsByFiscalCode(QStringLiteral("rssmra80a01f205x"));
    QVERIFY(found.ok());
    QCOMPARE(found.value.size(), 1);
    QCOMPARE(found.value.at(0).id, first);
    QCOMPARE(findSubjectsByFiscalCode(QStringLiteral("RSSMRA80A01F205%")).value.size(), 0);
    QCOMPARE(findSubjectsByFiscalCode(QStringLiteral("O'CODE")).value.size(), 1);
    QCOMPARE(findSubjectsByFiscalCode(QString()).value.size(), 0);
}

void TestStatements::statementsFailWhenFileIsClosed()
{
    DbConnection::instance().close();
    QVERIFY(!selectUsers().ok());
    QVERIFY(!readVersionStamp().ok());
    QVERIFY(!writeVersionStamp(QStringLiteral("x")).ok());
    DiaryEntry e;
    QVERIFY(!insertDiaryEntry(e).ok());
    QVERIFY(!databaseErrorMessage(insertDiaryEntry(e).error).isEmpty());
    QVERIFY(databaseErrorMessage(insertDiaryEntry(e).error)
                .startsWith(QLatin1String("Errore del database:")));
}

void TestStatements::legacyFileReadsThroughStatements()
{
    TestDatabase db;
    QString problem;
    QVERIFY2(importLegacyDatabase(legacyDatabasePath(), &problem), qPrintable(problem));
    QCOMPARE(db.count(QStringLiteral("Utente")), 10);
    QCOMPARE(db.count(QStringLiteral("Tavelo")), 11);

    const QStringList users = names(selectUsers().value);
    // Names in the Italian order: the accented initial beside its base letter.
    QCOMPARE(users, QStringList({"100% SCONTI_SRL", "ÀLVARO ÉMILE", "D'ANGELO NICOLÒ",
                                 "ROSSI MARIO", "VERDI GIUSEPPE", "VERDI GIUSEPPE"}));
    const Result<std::optional<Subject>> verdi =
        findSubjectByName(QStringLiteral("VERDI GIUSEPPE"));
    QCOMPARE(verdi.value->id, 7);
    QCOMPARE(findSubjectByName(QStringLiteral("D'ANGELO NICOLÒ")).value->id, 2);
    QCOMPARE(findSubjectByName(QStringLiteral("100% SCONTI_SRL")).value->id, 4);

    RowsResult deadlines = selectDeadlines();
    QStringList owners;
    while (deadlines.value.next())
        owners << deadlines.value.value(2).toString();
    QVERIFY(!owners.contains(QStringLiteral("99")));
    QCOMPARE(owners.size(), 9);
    QCOMPARE(fromStoredDateTime(*readVersionStamp().value),
             QDateTime(QDate(2013, 4, 30), QTime(18, 5, 42)));
    RowsResult card = selectUserCardRows(1);
    QCOMPARE(
        columnTexts(card.value, 3),
        QStringList({"NOTA SENZA SCADENZA", "RINNOVO CONTRATTO AFFITTO", "SCADENZA BISESTILE"}));
}

TAVELO_TEST_MAIN(TestStatements)
#include "tst_statements.moc"
