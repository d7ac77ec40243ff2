// SPDX-License-Identifier: GPL-3.0-or-later
// Every statement of the program, on a fresh data file (and, rerun, on the test server),
// and the writes of a picked row while another desk writes it.
#include "test_support.h"

#include "storage/italian_collation.h"

#include <QRandomGenerator>

#include <algorithm>
#include <functional>
#include <type_traits>

namespace {

using Read = std::function<QStringList()>;

// What a read gives, a row as a line: the note or the name; a deadline with its due date
// and owner.
template <typename Row> QString line(const Row &row)
{
    if constexpr (std::is_same_v<Row, DiaryEntry>)
        return row.oggetto;
    else if constexpr (std::is_same_v<Row, Subject>)
        return row.soggetto.isNull() ? "NULL" : row.soggetto;
    else
        return row.scadenza.toString(Qt::ISODate) + ' ' + row.oggetto + ' ' + row.soggetto;
}

QStringList lines(const Result<QVector<Subject>> &subjects)
{
    QStringList shown;
    for (const Subject &s : subjects.value)
        shown << line(s);
    return shown;
}

template <typename Row> QStringList lines(RowStream<Row> rows)
{
    QStringList shown;
    for (Row row; rows.next(&row);)
        shown << line(row);
    return rows.error().isValid() ? QStringList{"ERRORE " + rows.error().text()} : shown;
}

QStringList reportField(Result<RowReader> rows, const QString &field)
{
    QStringList values;
    for (const int column = rows.value.column(field); rows.ok() && rows.value.next();)
        values << rows.value.value(column).toString();
    return values;
}

// Pages of `limit` rows, each read after the last row of the one before, put together.
template <typename Row>
QStringList paged(const std::function<RowStream<Row>(int, const Row *)> &page, int limit)
{
    QStringList shown;
    std::optional<Row> last;
    for (int read = limit; read == limit;) {
        read = 0;
        RowStream<Row> rows = page(limit, last ? &*last : nullptr);
        for (Row row; rows.next(&row); ++read, last = row)
            shown << line(row);
    }
    return shown;
}

} // namespace

Q_DECLARE_METATYPE(Read)

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        QVERIFY(m_db->isOpen());
    }
    void cleanup() { m_db.reset(); }

    // One office: two users, a customer, and a user deleted with his entries left behind.
    // clang-format off
    void readsGiveTheirRowsInOrder_data()
    {
        QTest::addColumn<Read>("read");
        QTest::addColumn<QStringList>("expected");
        const QStringList deadlines = {"1999-12-31 MILLENNIO ROSSI", "2026-02-01 DI VERDI àlvaro", "2026-02-02 SENZA DATA ROSSI", "2026-03-01 MARZO ROSSI"};
        QTest::newRow("users, flagged S or s, in Italian order") << Read([] { return lines(selectUsers()) + selectUserNames().value; }) << QStringList{"àlvaro", "ROSSI", "àlvaro", "ROSSI"};
        QTest::newRow("diary grid: one user, undated first") << Read([this] { return lines(selectDiaryGridRows(m_rossi)); }) << QStringList{"SENZA SCADENZA", "MILLENNIO", "SENZA DATA", "FATTA", "MARZO"};
        QTest::newRow("overview and calendar: live users' open deadlines") << Read([] { return lines(selectDeadlines()) + lines(selectCalendarDeadlines()); }) << deadlines + deadlines;
        QTest::newRow("calendar: one user's dated deadlines") << Read([this] { return lines(selectCalendarDeadlines(m_rossi)); }) << QStringList{deadlines.at(0), deadlines.at(3)};
        QTest::newRow("userCardRowsNeedEntryDate") << Read([this] { return reportField(selectUserCardRows(m_rossi), "Oggetto"); }) << QStringList{"SENZA SCADENZA", "MILLENNIO", "FATTA", "MARZO"};
        QTest::newRow("all users' report: owner beside each deadline") << Read([] { return reportField(selectAllUsersDeadlines(), "Soggetto"); }) << QStringList{"ROSSI", "àlvaro", "ROSSI", "ROSSI"};
        QTest::newRow("registry report and grid: every subject by name") << Read([] {
            return reportField(selectRegistryReportRows(), "soggetto") + lines(selectRegistryGridRows());
        }) << QStringList{"àlvaro", "BIANCHI", "ROSSI", "àlvaro", "BIANCHI", "ROSSI"};
        QTest::newRow("fiscal code, case aside, % literal") << Read([] {
            return lines(findSubjectsByFiscalCode("rssmra80a01f205x")) + lines(findSubjectsByFiscalCode("RSSMRA80A01F205%"));
        }) << QStringList{"ROSSI"};
    }
    // clang-format on

    void readsGiveTheirRowsInOrder()
    {
        QFETCH(Read, read);
        m_rossi = m_db->addSubject("ROSSI", "S", "RSSMRA80A01F205X");
        const qint64 verdi = m_db->addSubject("àlvaro", "s", "RSSMRA80A01F205_");
        const qint64 gone = m_db->addSubject("ELIMINATO");
        m_db->addSubject("BIANCHI", "N");
        m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 3, 1), "MARZO");
        m_db->addEntry(m_rossi, QDate(2026, 1, 2), QDate(), "SENZA SCADENZA");
        m_db->addEntry(verdi, QDate(2026, 1, 3), QDate(2026, 2, 1), "DI VERDI");
        m_db->addEntry(m_rossi, QDate(), QDate(2026, 2, 2), "SENZA DATA");
        m_db->addEntry(m_rossi, QDate(2026, 1, 4), QDate(1999, 12, 31), "MILLENNIO");
        m_db->addEntry(m_rossi, QDate(2026, 1, 6), QDate(2026, 2, 20), "FATTA");
        QVERIFY(m_db->exec("UPDATE Tavelo SET Chiusa = '2026-02-21' WHERE Oggetto = 'FATTA'"));
        m_db->addEntry(gone, QDate(2026, 1, 5), QDate(2026, 1, 15), "DI UN ELIMINATO");
        QCOMPARE(deleteSubject(gone).rowsAffected, 1);
        QTEST(read(), "expected");
    }

    // Dates go in and come back as the same days through every read, whatever form the
    // engine keeps them in; a file keeps ISO text, which other programs read.
    void datedRowsReadBackExactly()
    {
        const qint64 user = m_db->addSubject("ROSSI");
        DiaryEntry in{0, QDate(2024, 2, 29), QDate(1999, 12, 31), "BISESTILE", "7", user, {}, {},
                      {}};
        in.ripeti = "FREQ=MONTHLY;BYMONTHDAY=28,29;BYSETPOS=-1";
        in.id = insertDiaryEntry(in).value;
        DiaryEntry out;
        OverviewDeadline due;
        CalendarRow event;
        Result<RowReader> card = selectUserCardRows(user);
        QVERIFY(selectDiaryGridRows(user).next(&out) && selectDeadlines().next(&due) &&
                selectCalendarDeadlines(user).next(&event) && card.ok() && card.value.next());
        QCOMPARE(QList<QVariant>({out.id, out.data, out.scadenza, out.agg, out.oggetto, out.ndoc,
                                  out.utente, out.ripeti, out.chiusa}),
                 QList<QVariant>({in.id, in.data, in.scadenza, QDate(), in.oggetto, in.ndoc, user,
                                  in.ripeti, QDate()}));
        QCOMPARE(QList<QDate>({due.scadenza, event.data, event.scadenza}),
                 QList<QDate>({in.scadenza, in.data, in.scadenza}));
        QCOMPARE(card.value.value(card.value.column(u"data")), QVariant(in.data));
        QVERIFY(card.value.value(card.value.column(u"AGG")).isNull());
        QCOMPARE(columnOf("SELECT CAST(data AS TEXT) FROM Tavelo"), QStringList{"2024-02-29"});
    }

    // Quotes, wildcards and a statement breaker in a name are only letters: each name finds
    // its own subject, case aside for the letters that the file compares without regard to case.
    void nameLookupIsLiteral()
    {
        // The look-alike first: a lookup by LIKE would find it before the name it resembles.
        const QStringList names = {"D'ANGELO NICOLÒ", "100X SCONTIASRL", "100% SCONTI_SRL",
                                   "X'; DROP TABLE Utente; --"};
        QList<qint64> ids;
        for (const QString &name : names)
            ids << m_db->addSubject(name);
        for (int i = 0; i < names.size(); ++i) {
            const Subject found = findSubjectByName(names[i]).value.value_or(Subject());
            QCOMPARE(QList<QVariant>({found.id, found.soggetto}),
                     QList<QVariant>({ids[i], names[i]}));
            if (!names[i].contains(QStringLiteral("Ò")))
                QCOMPARE(findSubjectByName(names[i].toLower()).value.value_or(Subject()).id,
                         ids[i]);
        }
        QVERIFY(!findSubjectByName("%").value && !findSubjectByName("100_ SCONTI%").value);
        QCOMPARE(m_db->count("Utente"), 4);
    }

    // Writes on rows that another desk deleted change nothing, and a deleted ID is never
    // handed out again.
    void writesOnMissingRowsTouchNothing()
    {
        const qint64 user = m_db->addSubject("ROSSI");
        const qint64 entry = m_db->addEntry(user, QDate(2026, 1, 1), QDate(), "RESTA");
        DiaryEntry ghost{entry + 1, QDate(2026, 1, 1), QDate(), "FANTASMA", {}, user, {}, {}, {}};
        Subject nobody{user + 1, "NESSUNO", {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
        QCOMPARE(
            QList<int>({updateDiaryEntry(ghost).rowsAffected,
                        deleteDiaryEntry(entry + 1).rowsAffected,
                        deleteSubject(user + 1).rowsAffected, updateSubject(nobody).rowsAffected,
                        updateSubjectWithFreeCode(nobody).rowsAffected}),
            QList<int>({0, 0, 0, 0, 0}));
        QCOMPARE(lines(selectDiaryGridRows(user)), QStringList{"RESTA"});
        QCOMPARE(m_db->count("Utente"), 1);
        QVERIFY(deleteDiaryEntry(entry).ok() && deleteSubject(user).ok());
        QVERIFY(insertDiaryEntry(ghost).value > entry && insertSubject(nobody).value > user);
    }

    // The table has no key: the stamp goes to the row stored first, and only there.
    void versionStampGoesToTheFirstRow()
    {
        QCOMPARE(writeVersionStamp("2026-12-07T10:11:12").rowsAffected, 1);
        QCOMPARE(readVersionStamp().value.value_or("NULL"), QStringLiteral("2026-12-07T10:11:12"));
        QVERIFY(m_db->exec("INSERT INTO Versione (Versione) VALUES ('2001-01-01T00:00:00')"));
        QCOMPARE(writeVersionStamp("2026-12-08T00:00:00").rowsAffected, 1);
        QSqlQuery rows(DbConnection::instance().database());
        QVERIFY(rows.exec(QStringLiteral("SELECT Versione FROM Versione ORDER BY %1")
                              .arg(DbConnection::instance().isServer() ? "Riga" : "rowid")));
        QStringList stamps;
        while (rows.next())
            stamps << rows.value(0).toDateTime().toString(Qt::ISODate);
        QCOMPARE(stamps, QStringList({"2026-12-08T00:00:00", "2001-01-01T00:00:00"}));
    }

    // Equal keys straddle the page boundaries: a page must start exactly after the last row
    // of the one before, losing none and reading none twice.
    void keysetPagesMeetAtTheirBoundaries_data()
    {
        QTest::addColumn<int>("limit");
        for (int limit : {1, 2, 3, 7})
            QTest::addRow("pages of %d", limit) << limit;
    }

    void keysetPagesMeetAtTheirBoundaries()
    {
        QFETCH(int, limit);
        for (const char *each :
             {"ROSSI", "Rossì", "rossi", "", "RÒSSI", "BIANCHI", "ROSSI", "ròssi"})
            m_db->addSubject(each, "S", QStringLiteral("C%1").arg(m_db->count("Utente")));
        QVERIFY(
            m_db->exec("INSERT INTO Utente (Soggetto, utente) VALUES (NULL, 'N'), (NULL, 'N')"));
        const qint64 user = m_db->addSubject("ZETA");
        const QList<int> days = {3, 0, 1, 3, 3, 0, 2, 1, 3}; // 0: no due date
        for (int i = 0; i < days.size(); ++i)
            m_db->addEntry(user, QDate(2026, 1, 1), days[i] ? QDate(2026, 1, days[i]) : QDate(),
                           QString::number(days[i]) + QChar('a' + i));
        const QStringList subjects = lines(selectRegistryGridRows()),
                          deadlines = lines(selectDeadlines());
        QCOMPARE(paged<Subject>(selectRegistryGridRows, limit), subjects);
        QCOMPARE(paged<OverviewDeadline>(
                     [](int n, const OverviewDeadline *after) { return selectDeadlines(n, after); },
                     limit),
                 deadlines);
        const auto diary = [user](int n, const DiaryEntry *after) {
            return selectDiaryGridRows(user, n, after);
        };
        QCOMPARE(paged<DiaryEntry>(diary, limit) << lines(selectDiaryGridRows(user)).join(' '),
                 QString("0b 0f 1c 1h 2g 3a 3d 3e 3i").split(' ') << "0b 0f 1c 1h 2g 3a 3d 3e 3i");
        QCOMPARE(QList<qsizetype>({subjects.size(), deadlines.size()}), QList<qsizetype>({11, 7}));
    }

    // The grid's order comes from the engine (ITALIAN), the checks of a page's start from
    // the collator: the two must agree, or a page would lose names. The collator itself puts
    // figures first, apostrophes and accents aside.
    void italianOrderIsTheCollatorsOrder()
    {
        QStringList names = {"ZANETTI",  "ÀLVARO",  "alfa",        "Èlla",  "ELLA",  "BETA",
                             "d'angelo", "DANGELO", "100% SCONTI", "rossi", "RÒSSI", "ROSSI MARIO"};
        for (const QString &each : names)
            m_db->addSubject(each, "N", "C" + each);
        std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
            return compareItalian(a, b) < 0;
        });
        QCOMPARE(lines(selectRegistryGridRows()), names);
        // Most names take a quick way round the collator: it must give the same order.
        const QStringList ordered = {"3M SRL",      "ABACO",       "alberto", "ÀLVARO",
                                     "BRUNO",       "D'ANGELO",    "DANIELI", "NICOLO",
                                     "NICOLÒ ZETA", "ROSSI MARIO", "ROSSIANA"};
        auto quick = [](const QString &a, const QString &b) {
            const QByteArray x = a.toUtf8(), y = b.toUtf8();
            return compareItalianUtf8(x.constData(), int(x.size()), y.constData(), int(y.size()));
        };
        for (int i = 1; i < ordered.size(); ++i) {
            const QString &a = ordered.at(i - 1), &b = ordered.at(i);
            QVERIFY2(compareItalian(a, b) == -1 && compareItalian(b, a) == 1 && quick(a, b) == -1 &&
                         compareItalian(a.toLower(), a) == 0,
                     qPrintable(b));
        }
        QRandomGenerator random(4821);
        const QString letters = "aAàÀbzZ09 'oòÒöeèéiìuùçñ-.æß";
        auto word = [&] {
            QString text;
            for (int n = int(random.bounded(6)); n > 0; --n)
                text += letters.at(int(random.bounded(int(letters.size()))));
            return text;
        };
        for (int i = 0; i < 2000; ++i) {
            const QString a = word(), b = word();
            QCOMPARE(quick(a, b), compareItalian(a, b));
        }
    }

    void statementsFailWhenArchiveIsClosed()
    {
        DbConnection::instance().close();
        QVERIFY(!selectUsers().ok() && !selectDeadlines().ok() && !readVersionStamp().ok());
        QVERIFY(databaseErrorMessage(insertDiaryEntry(DiaryEntry()).error)
                    .startsWith(QLatin1String("Errore del database:\narchivio non aperto")));
    }

    // A modify, delete or close of a row that the operator picked, while another desk writes
    // the same row: it goes through only on the row as picked, and an entry is closed once. (A
    // subject's modify: tst_registry.) A row: the table # what the other desk sets before the pick
    // (odd stored forms) # what it sets after it, or "delete" # the write # what the write finds
    // (None, Changed, Deleted, closed alreadY) # the note or name stored afterwards, "-" for none.
    void otherDeskFirst_data()
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

    void otherDeskFirst()
    {
        QFETCH(QString, row);
        const QStringList f = row.split(QRegularExpression(" *# *"));
        const QDate today = QDate::currentDate();
        const qint64 user = m_db->addSubject("ROSSI", "S", "RSSMRA80A01H501U");
        m_db->addEntry(user, QDate(2026, 1, 10), QDate(2026, 3, 1), "NOTA", "7");
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
        QCOMPARE(columnOf("SELECT " + QString(f[0] == "Utente" ? "Soggetto" : "Oggetto") +
                          " FROM " + f[0])
                     .value(0, "-"),
                 f[5]);
        if (f[3] != "close" || f[5] == "-")
            return;
        // Closed today, or on the other desk's day, or not at all; the next entry comes only
        // with a close that went through.
        const QStringList closed = columnOf("SELECT Chiusa FROM Tavelo ORDER BY ID");
        QCOMPARE(closed.size(), f[4] == "N" ? 2 : 1);
        QCOMPARE(storedDate(closed.value(0)), f[4] == "N"   ? today
                                              : f[4] == "Y" ? QDate(2026, 3, 2)
                                                            : QDate());
    }

private:
    std::unique_ptr<TestDatabase> m_db;
    qint64 m_rossi = 0;
};

TAVELO_TEST_MAIN(TestStatements)
#include "tst_statements.moc"
