// SPDX-License-Identifier: GPL-3.0-or-later
// A modify, delete or close of a row that the operator picked, while another desk writes
// the same row: it goes through only on the row as picked, and an entry is closed once. (A
// subject's modify: tst_registry.)
#include "test_support.h"

class TestPickedWrites : public QObject
{
    Q_OBJECT

private slots:
    void otherDeskFirst_data();
    void otherDeskFirst();
};

// A row: the table # what the other desk sets before the pick (odd stored forms) # what it
// sets after it, or "delete" # the write # what the write finds (None, Changed, Deleted,
// closed alreadY) #
// the note or name stored afterwards, "-" for none.
void TestPickedWrites::otherDeskFirst_data()
{
    QTest::addColumn<QString>("row");
    // clang-format off
    QTest::newRow("modify after the other's modify") << "Tavelo # # Oggetto = 'ALTRA' # modify # C # ALTRA";
    QTest::newRow("delete after the other's modify") << "Tavelo # # ndoc = NULL # delete # C # NOTA";
    QTest::newRow("modify after the other's delete") << "Tavelo # # delete # modify # D # -";
    QTest::newRow("nobody else, modify") << "Tavelo # # # modify # N # MIA";
    QTest::newRow("nobody else, delete") << "Tavelo # # # delete # N # -";
    QTest::newRow("only the note's case changed") << "Tavelo # # Oggetto = 'nota' # modify # C # nota";
    QTest::newRow("due date moved") << "Tavelo # # scadenza = '2026-03-02' # delete # C # NOTA";
    QTest::newRow("given to another user") << "Tavelo # # Utente = Utente + 1 # modify # C # NOTA";
    QTest::newRow("NULLs and empty texts as picked") << "Tavelo # scadenza = NULL, ndoc = '', AGG = NULL # # modify # N # MIA";
    if (testServerConnection().isEmpty())
        QTest::newRow("a day with its time, an empty day") << "Tavelo # data = '2026-01-10 08:30:00', AGG = '' # # modify # N # MIA";
    QTest::newRow("close after the other's close") << "Tavelo # # Chiusa = '2026-03-02' # close # Y # NOTA";
    QTest::newRow("close after the other's delete") << "Tavelo # # delete # close # D # -";
    QTest::newRow("close after the other's modify") << "Tavelo # # Oggetto = 'ALTRA' # close # C # ALTRA";
    QTest::newRow("nobody else, close") << "Tavelo # # # close # N # NOTA";
    QTest::newRow("subject, delete after the other's modify") << "Utente # # Annotazione = 'NUOVA' # delete # C # ROSSI";
    QTest::newRow("subject, delete after the other's delete") << "Utente # # delete # delete # D # -";
    QTest::newRow("subject, nobody else, empty texts") << "Utente # indirizzo = '' # # delete # N # -";
    // clang-format on
}

void TestPickedWrites::otherDeskFirst()
{
    QFETCH(QString, row);
    const QStringList f = row.split(QRegularExpression(" *# *"));
    TestDatabase db;
    const QDate today = QDate::currentDate();
    const qint64 user = db.addSubject("ROSSI", "S", "RSSMRA80A01H501U");
    db.addEntry(user, QDate(2026, 1, 10), QDate(2026, 3, 1), "NOTA", "7");
    const QString update = "UPDATE " + f[0] + " SET ";
    QVERIFY(f[1].isEmpty() || execAtSecondDesk(update + f[1]));
    DiaryEntry entry, mine;
    QVERIFY(selectDiaryGridRows(user).next(&entry));
    const Subject subject = findSubjectById(user).value.value_or(Subject());
    QVERIFY(f[2].isEmpty() ||
            execAtSecondDesk(f[2] == "delete" ? "DELETE FROM " + f[0] : update + f[2]));
    (mine = entry).oggetto = "MIA";
    const WriteResult written = f[0] == "Utente"   ? deletePickedSubject(subject)
                                : f[3] == "modify" ? updatePickedDiaryEntry(mine, entry)
                                : f[3] == "close"  ? closePickedDiaryEntry(entry, today, mine)
                                                   : deletePickedDiaryEntry(entry);
    QVERIFY(written.ok());
    QCOMPARE(QString("NCDY").at(int(written.conflict)), f[4].at(0));
    QCOMPARE(written.rowsAffected, f[4] == "N" ? 1 : 0);
    QSqlQuery stored(DbConnection::instance().database());
    QVERIFY(stored.exec(f[0] == "Utente" ? "SELECT Soggetto FROM Utente"
                                         : "SELECT Oggetto FROM Tavelo"));
    QCOMPARE(stored.next() ? stored.value(0).toString() : "-", f[5]);
    if (f[3] != "close" || f[5] == "-")
        return;
    // Closed today, or on the other desk's day, or not at all; the next entry comes only
    // with a close that went through.
    QVERIFY(stored.exec("SELECT Chiusa FROM Tavelo ORDER BY ID") && stored.next());
    QCOMPARE(storedDate(stored.value(0)), f[4] == "N"   ? today
                                          : f[4] == "Y" ? QDate(2026, 3, 2)
                                                        : QDate());
    QCOMPARE(stored.next(), f[4] == "N");
}

TAVELO_TEST_MAIN(TestPickedWrites)
#include "tst_picked_writes.moc"
