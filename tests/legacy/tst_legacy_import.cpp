// SPDX-License-Identifier: GPL-3.0-or-later
// The earlier version's Database.mdb brought across: every row exactly, or nothing.
#include "test_support.h"

#include "legacy/legacy_import.h"
#include "storage/db_connection.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

#include <numeric>

namespace {

const QString longNote = QStringLiteral("NOTA LUNGA SU PIÙ RIGHE, ").repeated(40);

// Every row of a table as the file keeps it, by ID: NULL as "∅", the rest as its text,
// so that an empty text and a NULL, or a date and a date with a time, differ.
QStringList storedRows(const QString &table)
{
    QSqlQuery query(DbConnection::instance().database());
    if (!query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table)))
        return {QStringLiteral("error")};
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values << (query.isNull(i) ? QStringLiteral("∅") : query.value(i).toString());
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class TestLegacyImport : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { DbConnection::instance().close(); }

    void fixtureComesAcrossExactly_data();
    void fixtureComesAcrossExactly();
    void writerKeepsIdsNullsAndDates();
    void columnsMatchWithoutRegardToCase_data();
    void columnsMatchWithoutRegardToCase();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLegacyImport::fixtureComesAcrossExactly_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("rows");
    // ID|Soggetto|indirizzo|Comune|pr|cap|Codice|Partita|utente|email|telefono|cell|fax|Pwd|
    // Annotazione
    QTest::newRow("subjects")
        << "Utente"
        << QStringList{"1|ROSSI MARIO|VIA ROMA 1|MILANO|MI|20100|RSSMRA80A01F205X|"
                       "01234567890|S|MARIO.ROSSI@ESEMPIO.IT|02123456|3331234567|∅|"
                       "segreta|CLIENTE STORICO",
                       "2|D'ANGELO NICOLÒ|PIAZZA DELL'UNITÀ 3|FORLÌ|FC|47121|"
                       "DNGNCL70C10D704K|∅|S|∅|0543 22|∅|0543 23|pw'1|∅",
                       "3|BIANCHI & FIGLI S.R.L.|CORSO ITALIA 10/B|TORINO|TO|10121|"
                       "09876543210|09876543210|N|info@bianchi.it|∅|∅|∅|∅|FORNITORE",
                       "4|100% SCONTI_SRL|∅|NAPOLI|NA|80100|SCNSRL00A01F839Q|"
                       "11122233344|S|∅|∅|∅|∅|x|∅",
                       "5|100X SCONTIASRL|∅|NAPOLI|NA|80100|SCNSRL00A01F839R|∅|N|∅|"
                       "∅|∅|∅|∅|∅",
                       "6|ÀLVARO ÉMILE|RUE DE LA PAIX|AOSTA|AO|11100|LVRMLE85D20A326W|"
                       "∅|S|alvaro@esempio.it|∅|∅|∅|àè|" +
                           longNote,
                       "7|VERDI GIUSEPPE|VIA VERDI 7|BUSSETO|PR|43011|"
                       "VRDGPP13R10B293I|∅|s|∅|∅|∅|∅|p|∅",
                       "8|VERDI GIUSEPPE|VIA ALTRA 8|PARMA|PR|43121|VRDGPP13R10B293J|"
                       "∅|S|∅|∅|∅|∅|q|∅",
                       "9|NERI LUCA|∅|∅|∅|∅|NRELCU90E15H501T|∅|N|∅|∅|∅|∅|∅|∅",
                       "10|SENZA CODICE|∅|∅|∅|∅|∅|∅|N|∅|∅|∅|∅|∅|∅"};
    // ID|data|scadenza|Oggetto|ndoc|Utente|AGG: the times of day are not kept.
    QTest::newRow("entries")
        << "Tavelo"
        << QStringList{"1|2013-01-15|2013-02-02|RINNOVO CONTRATTO AFFITTO|12,3|1|"
                       "2013-01-15",
                       "2|2013-01-15|∅|NOTA SENZA SCADENZA||1|2013-01-15",
                       "3|2024-02-28|2024-02-29|SCADENZA BISESTILE|7|1|2024-02-28",
                       "4|2026-12-01|2026-11-30|SCADENZA PRIMA DELL'INSERIMENTO|∅|2|"
                       "2026-12-01",
                       "5|2026-06-01|2026-06-30|∅|1|2|2026-06-01",
                       "6|1999-12-31|2000-01-01|CAMBIO MILLENNIO: VERIFICA|1999|4|"
                       "2000-01-03",
                       "7|2026-03-03|2030-03-03|ASSICURAZIONE \"KASKO\" – 5 ANNI|5,5|6|"
                       "2026-03-03",
                       "8|2026-03-03|2026-04-01|VOCE DI UN SOGGETTO ELIMINATO|9|99|"
                       "2026-03-03",
                       "9|2026-05-05|2026-05-05|STESSA DATA|2|7|2026-05-05",
                       "10|2026-05-05|2026-05-05|STESSA DATA BIS|3|8|2026-05-05",
                       "11|∅|2026-07-01|VOCE SENZA DATA DI INSERIMENTO|4|1|2026-07-01"};
    QTest::newRow("version stamp, with its time")
        << "Versione" << QStringList{"2013-04-30T18:05:42"};
}

void TestLegacyImport::fixtureComesAcrossExactly()
{
    QFETCH(QString, table);
    QFETCH(QStringList, rows);
    LegacyImportRequest request;
    request.legacyFile = legacyDatabasePath();
    request.dataFile = m_dir->filePath(QStringLiteral("Database.sqlite"));
    LegacyImportSummary summary;
    QString problem;
    QMap<QString, QList<int>> done;
    const auto progress = [&](const QString &name, int row, int total) {
        done[name] << row;
        QVERIFY(row <= total);
    };
    QVERIFY2(importLegacyFile(request, &summary, &problem, progress), qPrintable(problem));
    QVERIFY(DbConnection::instance().open(request.dataFile, &problem));
    QCOMPARE(storedRows(table), rows);
    QList<int> everyRow(rows.size());
    std::iota(everyRow.begin(), everyRow.end(), 1);
    QCOMPARE(done.value(table), everyRow);
}

void TestLegacyImport::writerKeepsIdsNullsAndDates()
{
    TestDatabase db;
    WriteTransaction transaction;
    ImportWriter writer;
    const QDateTime evening(QDate(1999, 12, 31), QTime(23, 59, 58));
    QVERIFY(!writer
                 .insertDiaryEntryRow({7, evening, QVariant(QMetaType(QMetaType::QDateTime)),
                                       "riga 1\r\n%_", "", QVariant(QMetaType(QMetaType::LongLong)),
                                       evening})
                 .isValid());
    QVERIFY(!writer.insertVersionRow({evening}).isValid());
    QCOMPARE(writer.timesLeftOut(), 2);
    // The earlier file had no key of its own: a repeated ID fails the whole import.
    QVariantList subject(15);
    subject[0] = 42;
    QVERIFY(!writer.insertSubjectRow(subject).isValid());
    QVERIFY(writer.insertSubjectRow(subject).isValid());
    QVERIFY(transaction.commit());
    QCOMPARE(storedRows(QStringLiteral("Tavelo")),
             QStringList{"7|1999-12-31|∅|riga 1\r\n%_||∅|1999-12-31"});
    QCOMPARE(storedRows(QStringLiteral("Versione")), QStringList{"1999-12-31T23:59:58"});
    QCOMPARE(insertSubject(Subject()).value, 43);
    QCOMPARE(insertDiaryEntry(DiaryEntry()).value, 8);
}

void TestLegacyImport::columnsMatchWithoutRegardToCase_data()
{
    QTest::addColumn<QStringList>("legacy");
    QTest::addColumn<QList<int>>("sourceOf");
    QTest::addColumn<QStringList>("leftOut");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QString>("summary");
    QTest::newRow("other case and order")
        << QStringList{"id", "UTENTE", "Data", "SCADENZA", "oggetto", "NDOC", "agg"}
        << QList<int>{0, 2, 3, 4, 5, 1, 6} << QStringList{} << QStringList{} << "";
    QTest::newRow("a column missing")
        << QStringList{"ID", "data", "scadenza", "Oggetto", "Utente", "Note", "AGG"}
        << QList<int>{0, 1, 2, 3, -1, 4, 6} << QStringList{"Note"} << QStringList{"ndoc"}
        << "  colonne lasciate fuori: Tavelo.Note\n"
           "  colonne assenti nel file (lasciate vuote): Tavelo.ndoc\n";
}

void TestLegacyImport::columnsMatchWithoutRegardToCase()
{
    QFETCH(QStringList, legacy);
    QFETCH(QList<int>, sourceOf);
    QFETCH(QStringList, leftOut);
    QFETCH(QStringList, missing);
    QFETCH(QString, summary);
    const ColumnMatch match =
        matchColumns(legacy, DbConnection::tableColumns(QStringLiteral("tavelo")));
    QCOMPARE(match.sourceOf, sourceOf);
    QCOMPARE(match.leftOut, leftOut);
    QCOMPARE(match.missing, missing);
    LegacyImportSummary told;
    told.columnsLeftOut = leftOut.replaceInStrings(QRegularExpression("^"), "Tavelo.");
    told.columnsMissing = missing.replaceInStrings(QRegularExpression("^"), "Tavelo.");
    QCOMPARE(importSummaryText(told), summary);
}

TAVELO_TEST_MAIN(TestLegacyImport)
#include "tst_legacy_import.moc"
