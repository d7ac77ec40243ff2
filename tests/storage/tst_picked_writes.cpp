// SPDX-License-Identifier: GPL-3.0-or-later
// A modify or delete of a row that the operator picked, while another desk writes the same
// row: it goes through only on the row as picked.
#include "test_support.h"

class TestPickedWrites : public QObject
{
    Q_OBJECT

private slots:
    void otherDeskFirst_data();
    void otherDeskFirst();
};

// A row: the table # what the other desk sets before the pick (odd stored forms) # what it
// sets after the pick, or "delete" # the write # what the write finds (None, Changed,
// Deleted) # the name or note stored afterwards, "-" for none.
void TestPickedWrites::otherDeskFirst_data()
{
    QTest::addColumn<QString>("row");
    // clang-format off
    QTest::newRow("entry, modify after the other's modify") << "Tavelo # # Oggetto = 'ALTRA' # modify # C # ALTRA";
    QTest::newRow("entry, delete after the other's modify") << "Tavelo # # ndoc = NULL # delete # C # NOTA";
    QTest::newRow("entry, modify after the other's delete") << "Tavelo # # delete # modify # D # -";
    QTest::newRow("entry, nobody else, modify") << "Tavelo # # # modify # N # MIA";
    QTest::newRow("entry, nobody else, delete") << "Tavelo # # # delete # N # -";
    QTest::newRow("entry, only the note's case changed") << "Tavelo # # Oggetto = 'nota' # modify # C # nota";
    QTest::newRow("entry, due date moved") << "Tavelo # # scadenza = '2026-03-02' # modify # C # NOTA";
    QTest::newRow("entry, stamped again") << "Tavelo # # AGG = '2026-01-11' # delete # C # NOTA";
    QTest::newRow("entry, given to another user") << "Tavelo # # Utente = Utente + 1 # modify # C # NOTA";
    QTest::newRow("entry, NULLs and empty texts") << "Tavelo # scadenza = NULL, ndoc = '', AGG = NULL # # modify # N # MIA";
    if (testServerConnection().isEmpty())
        QTest::newRow("entry, a day with its time, an empty day") << "Tavelo # data = '2026-01-10 08:30:00', AGG = '' # # modify # N # MIA";
    QTest::newRow("subject, modify after the other's modify") << "Utente # # Annotazione = 'NUOVA' # modify # C # ROSSI";
    QTest::newRow("subject, delete after the other's modify") << "Utente # # Pwd = 'altra' # delete # C # ROSSI";
    QTest::newRow("subject, modify after the other's delete") << "Utente # # delete # modify # D # -";
    QTest::newRow("subject, delete after the other's delete") << "Utente # # delete # delete # D # -";
    QTest::newRow("subject, nobody else, empty texts, modify") << "Utente # indirizzo = '' # # modify # N # MIO";
    QTest::newRow("subject, nobody else, delete") << "Utente # # # delete # N # -";
    QTest::newRow("subject, only the name's case changed") << "Utente # # Soggetto = 'Rossi' # modify # C # Rossi";
    // clang-format on
}

void TestPickedWrites::otherDeskFirst()
{
    QFETCH(QString, row);
    QStringList f = row.split('#');
    for (QString &part : f)
        part = part.trimmed();
    TestDatabase db;
    const qint64 user = db.addSubject("ROSSI", "S", "RSSMRA80A01H501U");
    QVERIFY(db.addEntry(user, QDate(2026, 1, 10), QDate(2026, 3, 1), "NOTA", "7") > 0);
    SecondDesk desk;
    const QString update = "UPDATE " + f[0] + " SET ";
    QVERIFY(f[1].isEmpty() || desk.exec(update + f[1]));
    DiaryEntry entry;
    QVERIFY(selectDiaryGridRows(user).next(&entry));
    const Subject subject = findSubjectById(user).value.value_or(Subject());
    QVERIFY(f[2].isEmpty() || desk.exec(f[2] == "delete" ? "DELETE FROM " + f[0] : update + f[2]));
    WriteResult written;
    if (f[0] == "Utente" && f[3] == "modify") {
        Subject mine = subject;
        mine.soggetto = "MIO";
        const SubjectWriteResult rewritten = updatePickedSubjectWithFreeCode(mine, subject);
        written = {rewritten.rowsAffected, rewritten.conflict, rewritten.error};
    } else if (f[0] == "Utente") {
        written = deletePickedSubject(subject);
    } else {
        DiaryEntry mine = entry;
        mine.oggetto = "MIA";
        written =
            f[3] == "modify" ? updatePickedDiaryEntry(mine, entry) : deletePickedDiaryEntry(entry);
    }
    QVERIFY(written.ok());
    QCOMPARE(QString("NCD").at(int(written.conflict)), f[4].at(0));
    QCOMPARE(written.rowsAffected, f[4] == "N" ? 1 : 0);
    QSqlQuery stored(DbConnection::instance().database());
    QVERIFY(stored.exec(f[0] == "Utente" ? "SELECT Soggetto FROM Utente"
                                         : "SELECT Oggetto FROM Tavelo"));
    QCOMPARE(stored.next() ? stored.value(0).toString() : "-", f[5]);
}

TAVELO_TEST_MAIN(TestPickedWrites)
#include "tst_picked_writes.moc"
