// SPDX-License-Identifier: GPL-3.0-or-later
// The earlier version's Database.mdb brought across, every row exactly or nothing:
// through tavelo-import on the command line, and through the import that the program
// offers at start.
#include "test_support.h"

#include "app/startup.h"
#include "app/window_pair.h"
#include "import_command/import_command.h"
#include "legacy/legacy_import.h"
#include "main_window/frm_registra.h"
#include "storage/backups.h"

#include <QComboBox>
#include <QSqlRecord>

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

// A copy of the earlier version's fixture, cut to keptBytes (all of it when negative).
bool copyLegacyFile(const QString &path, qint64 keptBytes)
{
    return QFile::copy(legacyDatabasePath(), path) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner) &&
           (keptBytes < 0 || QFile::resize(path, keptBytes));
}

// The rows of the program's archive at path, made there when missing (with one subject
// when adding); -1 when it cannot be opened.
qint64 archiveRows(const QString &path, bool adding = false)
{
    Subject rossi;
    rossi.soggetto = "ROSSI";
    const bool open = DbConnection::instance().open(path).ok();
    const qint64 rows =
        open && (!adding || insertSubject(rossi).ok()) ? countArchiveRows().value : -1;
    DbConnection::instance().close();
    return rows;
}

} // namespace

class TestImport : public PromptedTest
{
    Q_OBJECT

private slots:
    void init();

    void fixtureComesAcrossExactly();
    void writerKeepsIdsNullsAndDates();
    void columnsMatchWithoutRegardToCase_data();
    void columnsMatchWithoutRegardToCase();
    void commandLine_data();
    void commandLine();
    void startOffersImport_data();
    void startOffersImport();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestImport::init()
{
    PromptedTest::init();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("dati")));
}

void TestImport::fixtureComesAcrossExactly()
{
    LegacyImportRequest request;
    request.legacyFile = legacyDatabasePath();
    request.dataFile = m_dir->filePath("Database.sqlite");
    const Outcome<LegacyImportSummary> imported = importLegacyFile(request, {});
    QVERIFY2(imported.ok(), qPrintable(imported.problem));
    QVERIFY(DbConnection::instance().open(request.dataFile).ok());
    // clang-format off
    // ID|Soggetto|indirizzo|Comune|pr|cap|Codice|Partita|utente|email|telefono|cell|fax|Pwd|
    // Annotazione
    QCOMPARE(storedRows("Utente"), (QStringList{"1|ROSSI MARIO|VIA ROMA 1|MILANO|MI|20100|RSSMRA80A01F205X|01234567890|S|MARIO.ROSSI@ESEMPIO.IT|02123456|3331234567|∅|segreta|CLIENTE STORICO", "2|D'ANGELO NICOLÒ|PIAZZA DELL'UNITÀ 3|FORLÌ|FC|47121|DNGNCL70C10D704K|∅|S|∅|0543 22|∅|0543 23|pw'1|∅", "3|BIANCHI & FIGLI S.R.L.|CORSO ITALIA 10/B|TORINO|TO|10121|09876543210|09876543210|N|info@bianchi.it|∅|∅|∅|∅|FORNITORE", "4|100% SCONTI_SRL|∅|NAPOLI|NA|80100|SCNSRL00A01F839Q|11122233344|S|∅|∅|∅|∅|x|∅", "5|100X SCONTIASRL|∅|NAPOLI|NA|80100|SCNSRL00A01F839R|∅|N|∅|∅|∅|∅|∅|∅", "6|ÀLVARO ÉMILE|RUE DE LA PAIX|AOSTA|AO|11100|LVRMLE85D20A326W|∅|S|alvaro@esempio.it|∅|∅|∅|àè|" + longNote, "7|VERDI GIUSEPPE|VIA VERDI 7|BUSSETO|PR|43011|VRDGPP13R10B293I|∅|s|∅|∅|∅|∅|p|∅", "8|VERDI GIUSEPPE|VIA ALTRA 8|PARMA|PR|43121|VRDGPP13R10B293J|∅|S|∅|∅|∅|∅|q|∅", "9|NERI LUCA|∅|∅|∅|∅|NRELCU90E15H501T|∅|N|∅|∅|∅|∅|∅|∅", "10|SENZA CODICE|∅|∅|∅|∅|∅|∅|N|∅|∅|∅|∅|∅|∅"}));
    // ID|data|scadenza|Oggetto|ndoc|Utente|AGG: the times of day are not kept.
    QCOMPARE(storedRows("Tavelo"), (QStringList{"1|2013-01-15|2013-02-02|RINNOVO CONTRATTO AFFITTO|12,3|1|2013-01-15|∅|∅", "2|2013-01-15|∅|NOTA SENZA SCADENZA||1|2013-01-15|∅|∅", "3|2024-02-28|2024-02-29|SCADENZA BISESTILE|7|1|2024-02-28|∅|∅", "4|2026-12-01|2026-11-30|SCADENZA PRIMA DELL'INSERIMENTO|∅|2|2026-12-01|∅|∅", "5|2026-06-01|2026-06-30|∅|1|2|2026-06-01|∅|∅", "6|1999-12-31|2000-01-01|CAMBIO MILLENNIO: VERIFICA|1999|4|2000-01-03|∅|∅", "7|2026-03-03|2030-03-03|ASSICURAZIONE \"KASKO\" – 5 ANNI|5,5|6|2026-03-03|∅|∅", "8|2026-03-03|2026-04-01|VOCE DI UN SOGGETTO ELIMINATO|9|99|2026-03-03|∅|∅", "9|2026-05-05|2026-05-05|STESSA DATA|2|7|2026-05-05|∅|∅", "10|2026-05-05|2026-05-05|STESSA DATA BIS|3|8|2026-05-05|∅|∅", "11|∅|2026-07-01|VOCE SENZA DATA DI INSERIMENTO|4|1|2026-07-01|∅|∅"}));
    // The version stamp, with its time.
    QCOMPARE(storedRows("Versione"), QStringList{"2013-04-30T18:05:42"});
    // clang-format on
}

void TestImport::writerKeepsIdsNullsAndDates()
{
    TestDatabase db;
    WriteTransaction transaction;
    ImportWriter writer;
    const QDateTime evening(QDate(1999, 12, 31), QTime(23, 59, 58));
    QVERIFY(!writer
                 .insertDiaryEntryRow({7, evening, QVariant(QMetaType(QMetaType::QDateTime)),
                                       "riga 1\r\n%_", "", QVariant(QMetaType(QMetaType::LongLong)),
                                       evening, QVariant(), QVariant()})
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
             QStringList{"7|1999-12-31|∅|riga 1\r\n%_||∅|1999-12-31|∅|∅"});
    QCOMPARE(storedRows(QStringLiteral("Versione")), QStringList{"1999-12-31T23:59:58"});
    QCOMPARE(insertSubject(Subject()).value, 43);
    QCOMPARE(insertDiaryEntry(DiaryEntry()).value, 8);
}

// The summary tells of the columns that match none, on either side.
// clang-format off
void TestImport::columnsMatchWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("legacy");
    QTest::addColumn<QList<int>>("sourceOf");
    QTest::addColumn<QString>("summary");
    QTest::newRow("other case and order") << "id UTENTE Data SCADENZA oggetto NDOC agg" << QList<int>{0, 2, 3, 4, 5, 1, 6, -1, -1} << "";
    QTest::newRow("a column missing") << "ID data scadenza Oggetto Utente Note AGG" << QList<int>{0, 1, 2, 3, -1, 4, 6, -1, -1}
        << "  colonne lasciate fuori: Tavelo.Note\n  colonne assenti nel file (lasciate vuote): Tavelo.ndoc\n";
}
// clang-format on

void TestImport::columnsMatchWithoutRegardToCase()
{
    QFETCH(QString, legacy);
    ColumnMatch match = matchColumns(legacy.split(' '), DbConnection::tableColumns("tavelo"));
    QTEST(match.sourceOf, "sourceOf");
    LegacyImportSummary told;
    told.columnsLeftOut = match.leftOut.replaceInStrings(QRegularExpression("^"), "Tavelo.");
    told.columnsMissing = match.missing.replaceInStrings(QRegularExpression("^"), "Tavelo.");
    QTEST(importSummaryText(told), "summary");
}

// Every way the command is run. Before the run the data file @DATA@ holds `existing`:
// nothing, an empty archive, an archive with one subject ("data") or plain text; @MDB@
// is the earlier version's fixture cut to keptBytes (whole when negative). A run that
// fails leaves the data file as it was and nothing beside it.
// clang-format off
void TestImport::commandLine_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("arguments"); // " " between them
    QTest::addColumn<qint64>("keptBytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("parts"); // "|" between them
    QTest::addColumn<int>("backups");
    auto row = [](const char *name, const QString &existing, const QString &arguments, qint64 kept, int status, const QString &parts, int backups = 0) {
        QTest::newRow(name) << existing << arguments << kept << status << parts << backups;
    };
    const QString import = "--dati @DATA@ @MDB@", replace = "--sostituisci " + import;
    const QString nothingWritten = "|nessun dato è stato scritto";
    row("help", "", "--help", -1, 0, "Uso: tavelo-import|--sostituisci");
    row("no file", "", "", -1, 2, "Uso: tavelo-import");
    row("two files", "", "a.mdb b.mdb", -1, 2, "un solo file");
    row("unknown option", "", "--tutto a.mdb", -1, 2, "tutto|Uso: tavelo-import");
    row("empty data file name", "", "--dati= a.mdb", -1, 2, "--dati vuole il nome");
    row("missing file", "", "--dati @DATA@ @DIR@/manca.mdb", -1, 1, "non esiste" + nothingWritten);
    row("not an mdb", "", "--dati @DATA@ @DIR@/testo.mdb", -1, 1, "non è un archivio della versione precedente");
    row("empty mdb", "", import, 0, 1, "danneggiato" + nothingWritten);
    row("header page only", "", import, 4096, 1, "danneggiato");
    row("cut in the middle of a page", "", import, 4096 * 20 + 100, 1, "troncato");
    row("half the pages over an empty archive", "empty", import, 4096 * 19, 1, "danneggiato" + nothingWritten);
    row("data pages missing", "", import, 4096 * 30, 1, "la tabella Utente dovrebbe avere 10 righe, se ne leggono 0");
    // Subjects and entries have been written by then: the transaction takes them back.
    row("last page missing", "", import, 159744 - 4096, 1, "la tabella Versione dovrebbe avere 1 righe");
    row("new file", "", import, -1, 0, "  Utente:    10 righe\n  Tavelo:    11 righe\n  Versione:  1 riga\n  voci di soggetti non più presenti (riportate, non mostrate): 1\n");
    row("empty archive, replaced without asking", "empty", import, -1, 0, "Tavelo:    11 righe");
    row("archive with data, refused", "data", import, -1, 1, "non viene sostituito|--sostituisci");
    row("archive with data, replaced after a backup", "data", replace, -1, 0, "copia del file sostituito: ", 1);
    row("foreign file, never replaced", "text", replace, -1, 1, "non viene sostituito");
}
// clang-format on

void TestImport::commandLine()
{
    QFETCH(QString, existing);
    QFETCH(QString, arguments);
    QFETCH(qint64, keptBytes);
    QFETCH(int, status);
    QFETCH(QString, parts);
    QFETCH(int, backups);
    const QString data = m_dir->filePath("dati/x.sqlite"), mdb = m_dir->filePath("Database.mdb");
    QVERIFY(copyLegacyFile(mdb, keptBytes));
    QVERIFY(writeFile(m_dir->filePath("testo.mdb"), QByteArray(8192, 'a')));
    QVERIFY(existing != "text" || writeFile(data, "appunti, non un archivio"));
    QVERIFY(existing.isEmpty() || existing == "text" || archiveRows(data, existing == "data") >= 0);
    const QByteArray before = fileSha256(data);
    arguments.replace("@DATA@", data).replace("@MDB@", mdb).replace("@DIR@", m_dir->path());
    const CommandRun run = runCommandInProcess(runImportCommand, "tavelo-import",
                                               arguments.split(' ', Qt::SkipEmptyParts));
    QCOMPARE(run.status, status);
    for (const QString &part : parts.split('|'))
        QVERIFY2((status == 0 ? run.out : run.err).contains(part), qPrintable(run.out + run.err));
    const QStringList copies = backupsOf(data);
    QCOMPARE(copies.size(), backups);
    if (status != 0) {
        QCOMPARE(fileSha256(data), before);
    } else if (arguments.contains(mdb)) {
        QCOMPARE(archiveRows(data), 21);
        // The backup holds the archive that was replaced.
        for (const QString &copy : copies) {
            QVERIFY2(run.out.contains(copy), qPrintable(run.out));
            QCOMPARE(archiveRows(copy), 1);
        }
    }
    // Nothing of the work is left beside the data file.
    QCOMPARE(QDir(m_dir->filePath("dati")).entryList(QDir::Files),
             QFile::exists(data) ? QStringList{"x.sqlite"} : QStringList());
}

// The earlier version's Database.mdb beside a data file that is not there yet.
// clang-format off
void TestImport::startOffersImport_data()
{
    QTest::addColumn<qint64>("keptBytes");
    QTest::addColumn<bool>("dataFileExists");
    QTest::addColumn<QList<PromptAnswer>>("answers");
    QTest::addColumn<bool>("windowKept");
    // What each box says, "|" between boxes, "+" between the parts of one.
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<int>("archiveRows");
    const QList<PromptAnswer> yesOk = {PromptAnswer::Yes, PromptAnswer::Ok};
    QTest::newRow("accepted") << -1LL << false << yesOk << true << "Database.mdb|Utente:    10 righe" << 21;
    QTest::newRow("declined") << -1LL << false << QList<PromptAnswer>{PromptAnswer::No} << true << "Database.mdb" << 0;
    QTest::newRow("data file there") << -1LL << true << QList<PromptAnswer>() << true << "" << 0;
    // Nothing was created, so the next start offers the import again.
    QTest::newRow("import fails") << 4096LL * 30 << false << yesOk << false << "Database.mdb|tabella Utente dovrebbe avere 10 righe+non è stato scritto" << -1;
}
// clang-format on

void TestImport::startOffersImport()
{
    QFETCH(qint64, keptBytes);
    QFETCH(bool, dataFileExists);
    QFETCH(QList<PromptAnswer>, answers);
    QFETCH(bool, windowKept);
    QFETCH(QString, boxes);
    QFETCH(int, archiveRows);
    const QString path = m_dir->filePath("dati/Database.sqlite");
    QVERIFY(copyLegacyFile(m_dir->filePath("dati/Database.mdb"), keptBytes));
    QVERIFY(!dataFileExists || ::archiveRows(path) == 0);
    for (const PromptAnswer answer : answers)
        m_prompt->answer(answer);
    std::unique_ptr<WindowPair> windows = Main(path);
    QCOMPARE(bool(windows), windowKept);
    const QList<PromptRequest> &shown = m_prompt->shown();
    const QStringList expected = boxes.split('|', Qt::SkipEmptyParts);
    QCOMPARE(shown.size(), expected.size());
    for (int i = 0; i < shown.size(); ++i)
        for (const QString &part : expected.at(i).split('+'))
            QVERIFY2(shown.at(i).text.contains(part), qPrintable(shown.at(i).text));
    QVERIFY(shown.isEmpty() || shown.first().buttons == PromptButtons::YesNo);
    if (shown.size() == 2)
        QCOMPARE(shown.last().icon, windowKept ? PromptIcon::Information : PromptIcon::Critical);
    if (!windows) {
        QVERIFY(!QFile::exists(path) && !DbConnection::instance().isOpen());
        return;
    }
    QCOMPARE(DbConnection::instance().filePath(), path);
    QCOMPARE(countArchiveRows().value, archiveRows);
    // The imported users, in the list of the window.
    const auto *users = windows->mainWindow()->findChild<QComboBox *>("Cbo1");
    QTRY_COMPARE(users->count(), archiveRows > 0 ? 6 : 0);
    windows->mainWindow()->hide();
}

TAVELO_TEST_MAIN(TestImport)
#include "tst_import_command.moc"
