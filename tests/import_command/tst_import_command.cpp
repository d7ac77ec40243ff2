// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include "app/startup.h"
#include "core/dates.h"
#include "import_command/import_command.h"
#include "import_command/legacy_import.h"
#include "main_window/frm_registra.h"
#include "storage/backups.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

namespace {

// What the earlier version's fixture file holds, read once from it with mdbtools and
// written down here. A null QVariant is a NULL column.
const QVariant null;

QVariantList subjectRow(qint64 id, const QList<QVariant> &values)
{
    return QVariantList{id} + values;
}

const QString longNote = QStringLiteral("NOTA LUNGA SU PIÙ RIGHE, ").repeated(40);

CommandRun runImport(const QStringList &arguments)
{
    return runCommandInProcess(runImportCommand, QStringLiteral("tavelo-import"), arguments);
}

// Reads a stored row straight from the file: NULL comes back as a null QVariant, every
// other value as its text.
QVariantList storedRow(const QString &table, const QString &where)
{
    QSqlQuery query(DbConnection::instance().database());
    if (!query.exec(QStringLiteral("SELECT * FROM %1 WHERE %2").arg(table, where)) || !query.next())
        return {};
    QVariantList row;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        row << (record.isNull(i) ? QVariant() : QVariant(record.value(i).toString()));
    return row;
}

QVariantList texts(const QVariantList &values)
{
    QVariantList row;
    for (const QVariant &value : values)
        row << (value.isNull() ? QVariant() : QVariant(value.toString()));
    return row;
}

} // namespace

class TestImportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void subjectsComeAcrossFieldByField_data();
    void subjectsComeAcrossFieldByField();
    void entriesComeAcrossFieldByField_data();
    void entriesComeAcrossFieldByField();
    void versionStampKeepsItsTime();
    void newIdsContinueAfterLargest();
    void importedFileReadsThroughStatements();
    void summaryNamesTablesAndOrphans();

    void secondImportRefusedWithoutReplace();
    void replaceKeepsBackupOfOldFile();
    void emptyArchiveIsReplacedWithoutAsking();
    void foreignFileIsNeverReplaced();
    void damagedLegacyFileLeavesNothing_data();
    void damagedLegacyFileLeavesNothing();
    void damagedLegacyFileLeavesExistingFileUntouched();

    void commandLine_data();
    void commandLine();

    void importStatementsKeepIdsNullsAndDates();
    void unknownColumnsAreLeftOutAndNamed_data();
    void unknownColumnsAreLeftOutAndNamed();

    void programOffersImportAndShowsImportedData();
    void programStartsEmptyWhenImportDeclined();
    void programOffersNothingWhenDataFileExists();
    void programEndsWhenOfferedImportFails();
    void progressCountsEveryRow();

private:
    QString importedFile();

    ScriptedPrompt *m_prompt = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestImportCommand::init()
{
    m_prompt = ScriptedPrompt::install();
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestImportCommand::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    DbConnection::instance().close();
    Prompt::install(nullptr);
    m_dir.reset();
}

// Imports the fixture into a new file of the temporary folder and opens it.
QString TestImportCommand::importedFile()
{
    const QString path = m_dir->filePath(QStringLiteral("Database.sqlite"));
    const CommandRun run = runImport({QStringLiteral("--dati"), path, legacyDatabasePath()});
    if (run.status != 0) {
        qWarning("import: %s", qPrintable(run.err));
        return {};
    }
    QString problem;
    if (!DbConnection::instance().open(path, &problem)) {
        qWarning("open: %s", qPrintable(problem));
        return {};
    }
    return path;
}

void TestImportCommand::subjectsComeAcrossFieldByField_data()
{
    QTest::addColumn<QVariantList>("expected");
    // ID, Soggetto, indirizzo, Comune, pr, cap, Codice, Partita, utente, email,
    // telefono, cell, fax, Pwd, Annotazione
    QTest::newRow("1 every field")
        << subjectRow(1, {"ROSSI MARIO", "VIA ROMA 1", "MILANO", "MI", "20100", "RSSMRA80A01F205X",
                          "01234567890", "S", "MARIO.ROSSI@ESEMPIO.IT", "02123456", "3331234567",
                          null, "segreta", "CLIENTE STORICO"});
    QTest::newRow("2 apostrophes and accents") << subjectRow(
        2, {"D'ANGELO NICOLÒ", "PIAZZA DELL'UNITÀ 3", "FORLÌ", "FC", "47121", "DNGNCL70C10D704K",
            null, "S", null, "0543 22", null, "0543 23", "pw'1", null});
    QTest::newRow("3 ampersand, not a user") << subjectRow(
        3, {"BIANCHI & FIGLI S.R.L.", "CORSO ITALIA 10/B", "TORINO", "TO", "10121", "09876543210",
            "09876543210", "N", "info@bianchi.it", null, null, null, null, "FORNITORE"});
    QTest::newRow("4 percent and underscore")
        << subjectRow(4, {"100% SCONTI_SRL", null, "NAPOLI", "NA", "80100", "SCNSRL00A01F839Q",
                          "11122233344", "S", null, null, null, null, "x", null});
    QTest::newRow("5 the name that the wildcards would match")
        << subjectRow(5, {"100X SCONTIASRL", null, "NAPOLI", "NA", "80100", "SCNSRL00A01F839R",
                          null, "N", null, null, null, null, null, null});
    QTest::newRow("6 accented initials and the long note") << subjectRow(
        6, {"ÀLVARO ÉMILE", "RUE DE LA PAIX", "AOSTA", "AO", "11100", "LVRMLE85D20A326W", null, "S",
            "alvaro@esempio.it", null, null, null, "àè", longNote});
    QTest::newRow("7 lower-case user flag")
        << subjectRow(7, {"VERDI GIUSEPPE", "VIA VERDI 7", "BUSSETO", "PR", "43011",
                          "VRDGPP13R10B293I", null, "s", null, null, null, null, "p", null});
    QTest::newRow("8 same name") << subjectRow(8, {"VERDI GIUSEPPE", "VIA ALTRA 8", "PARMA", "PR",
                                                   "43121", "VRDGPP13R10B293J", null, "S", null,
                                                   null, null, null, "q", null});
    QTest::newRow("9 mostly empty")
        << subjectRow(9, {"NERI LUCA", null, null, null, null, "NRELCU90E15H501T", null, "N", null,
                          null, null, null, null, null});
    QTest::newRow("10 without fiscal code")
        << subjectRow(10, {"SENZA CODICE", null, null, null, null, null, null, "N", null, null,
                           null, null, null, null});
}

void TestImportCommand::subjectsComeAcrossFieldByField()
{
    QFETCH(QVariantList, expected);
    QVERIFY(!importedFile().isEmpty());
    QCOMPARE(storedRow(QStringLiteral("Utente"),
                       QStringLiteral("ID = %1").arg(expected.first().toInt())),
             texts(expected));
}

void TestImportCommand::entriesComeAcrossFieldByField_data()
{
    QTest::addColumn<QVariantList>("expected");
    // ID, data, scadenza, Oggetto, ndoc, Utente, AGG
    QTest::newRow("1 comma in document number") << QVariantList{
        1, "2013-01-15", "2013-02-02", "RINNOVO CONTRATTO AFFITTO", "12,3", 1, "2013-01-15"};
    QTest::newRow("2 no due date, empty document number")
        << QVariantList{2, "2013-01-15", null, "NOTA SENZA SCADENZA", "", 1, "2013-01-15"};
    QTest::newRow("3 leap day") << QVariantList{
        3, "2024-02-28", "2024-02-29", "SCADENZA BISESTILE", "7", 1, "2024-02-28"};
    QTest::newRow("4 due before entry, NULL document number") << QVariantList{
        4, "2026-12-01", "2026-11-30", "SCADENZA PRIMA DELL'INSERIMENTO", null, 2, "2026-12-01"};
    QTest::newRow("5 NULL note") << QVariantList{5, "2026-06-01", "2026-06-30", null, "1",
                                                 2, "2026-06-01"};
    QTest::newRow("6 both sides of 2000") << QVariantList{
        6, "1999-12-31", "2000-01-01", "CAMBIO MILLENNIO: VERIFICA", "1999", 4, "2000-01-03"};
    QTest::newRow("7 quotes and dash") << QVariantList{
        7, "2026-03-03", "2030-03-03", "ASSICURAZIONE \"KASKO\" – 5 ANNI", "5,5", 6, "2026-03-03"};
    QTest::newRow("8 owner no longer exists") << QVariantList{
        8, "2026-03-03", "2026-04-01", "VOCE DI UN SOGGETTO ELIMINATO", "9", 99, "2026-03-03"};
    QTest::newRow("9 lower-case user's entry")
        << QVariantList{9, "2026-05-05", "2026-05-05", "STESSA DATA", "2", 7, "2026-05-05"};
    QTest::newRow("10 same day") << QVariantList{
        10, "2026-05-05", "2026-05-05", "STESSA DATA BIS", "3", 8, "2026-05-05"};
    QTest::newRow("11 no entry date") << QVariantList{
        11, null, "2026-07-01", "VOCE SENZA DATA DI INSERIMENTO", "4", 1, "2026-07-01"};
}

void TestImportCommand::entriesComeAcrossFieldByField()
{
    QFETCH(QVariantList, expected);
    QVERIFY(!importedFile().isEmpty());
    QCOMPARE(storedRow(QStringLiteral("Tavelo"),
                       QStringLiteral("ID = %1").arg(expected.first().toInt())),
             texts(expected));
}

void TestImportCommand::versionStampKeepsItsTime()
{
    QVERIFY(!importedFile().isEmpty());
    QSqlQuery query(DbConnection::instance().database());
    QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*) FROM Versione")) && query.next());
    QCOMPARE(query.value(0).toInt(), 1);
    QCOMPARE(*readVersionStamp().value, QStringLiteral("2013-04-30T18:05:42"));
}

void TestImportCommand::newIdsContinueAfterLargest()
{
    QVERIFY(!importedFile().isEmpty());
    Subject subject;
    subject.soggetto = QStringLiteral("NUOVO");
    subject.utente = QStringLiteral("N");
    QCOMPARE(insertSubject(subject).value, 11);
    DiaryEntry entry;
    entry.data = QDate(2026, 12, 7);
    entry.oggetto = QStringLiteral("NUOVA");
    entry.utente = 11;
    QCOMPARE(insertDiaryEntry(entry).value, 12);
}

void TestImportCommand::importedFileReadsThroughStatements()
{
    QVERIFY(!importedFile().isEmpty());
    QStringList users;
    for (const Subject &s : selectUsers().value)
        users << QStringLiteral("%1 %2").arg(s.id).arg(s.soggetto);
    // The lower-case flag still marks a user; names sort without regard to accents' case.
    QVERIFY2(users.contains(QStringLiteral("7 VERDI GIUSEPPE")), qPrintable(users.join(", ")));
    QCOMPARE(users.size(), 6);
    QCOMPARE(findSubjectByName(QStringLiteral("d'angelo NICOLÒ")).value->id, 2);
    QCOMPARE(findSubjectByName(QStringLiteral("100% SCONTI_SRL")).value->id, 4);
    QCOMPARE(findSubjectsByFiscalCode(QStringLiteral("SCNSRL00A01F839R")).value.size(), 1);
    RowStream<OverviewDeadline> deadlines = selectDeadlines();
    int count = 0;
    OverviewDeadline deadline;
    while (deadlines.next(&deadline)) {
        QVERIFY(deadline.utente != 99);
        ++count;
    }
    // Eleven entries: one without due date, one of a subject that is gone.
    QCOMPARE(count, 9);
    QCOMPARE(checkIntegrity().value, QStringLiteral("ok"));
}

void TestImportCommand::summaryNamesTablesAndOrphans()
{
    const QString path = m_dir->filePath(QStringLiteral("Database.sqlite"));
    const CommandRun run = runImport({QStringLiteral("--dati"), path, legacyDatabasePath()});
    QCOMPARE(run.status, 0);
    for (const char *line : {"Utente: +10 righe\n", "Tavelo: +11 righe\n", "Versione: +1 riga\n"})
        QVERIFY2(run.out.contains(QRegularExpression(QLatin1String(line))), qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("non più presenti (riportate, non mostrate): 1")),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("integrità: ok")), qPrintable(run.out));
    QVERIFY(!run.out.contains(QStringLiteral("colonne lasciate fuori")));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"Database.sqlite"});
}

void TestImportCommand::secondImportRefusedWithoutReplace()
{
    const QString path = importedFile();
    QVERIFY(!path.isEmpty());
    QVERIFY(writeVersionStamp(QStringLiteral("2026-12-07T10:00:00")).ok());
    DbConnection::instance().close();
    const QByteArray before = fileSha256(path);
    const CommandRun run = runImport({QStringLiteral("--dati"), path, legacyDatabasePath()});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("--sostituisci")), qPrintable(run.err));
    QCOMPARE(fileSha256(path), before);
    QVERIFY(backupsOf(path).isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"Database.sqlite"});
}

void TestImportCommand::replaceKeepsBackupOfOldFile()
{
    const QString path = importedFile();
    QVERIFY(!path.isEmpty());
    QVERIFY(deleteDiaryEntry(1).ok());
    DbConnection::instance().close();
    const CommandRun run = runImport(
        {QStringLiteral("--sostituisci"), QStringLiteral("--dati"), path, legacyDatabasePath()});
    QCOMPARE(run.status, 0);
    const QStringList backups = backupsOf(path);
    QCOMPARE(backups.size(), 1);
    QVERIFY2(run.out.contains(backups.first()), qPrintable(run.out));
    QString problem;
    // The new file holds the earlier archive again; the backup holds what was replaced.
    QVERIFY(DbConnection::instance().open(path, &problem));
    QCOMPARE(storedRow(QStringLiteral("Tavelo"), QStringLiteral("ID = 1")).size(), 7);
    QVERIFY(DbConnection::instance().open(backups.first(), &problem));
    QVERIFY(storedRow(QStringLiteral("Tavelo"), QStringLiteral("ID = 1")).isEmpty());
    QCOMPARE(storedRow(QStringLiteral("Tavelo"), QStringLiteral("ID = 2")).size(), 7);
}

void TestImportCommand::emptyArchiveIsReplacedWithoutAsking()
{
    const QString path = m_dir->filePath(QStringLiteral("Database.sqlite"));
    QString problem;
    QVERIFY(DbConnection::instance().open(path, &problem));
    DbConnection::instance().close();
    const CommandRun run = runImport({QStringLiteral("--dati"), path, legacyDatabasePath()});
    QCOMPARE(run.status, 0);
    QVERIFY(backupsOf(path).isEmpty());
    QVERIFY(DbConnection::instance().open(path, &problem));
    QCOMPARE(countArchiveRows().value, 21);
}

void TestImportCommand::foreignFileIsNeverReplaced()
{
    const QString path = m_dir->filePath(QStringLiteral("Database.sqlite"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("appunti, non un archivio");
    file.close();
    const QByteArray before = fileSha256(path);
    const CommandRun run = runImport(
        {QStringLiteral("--sostituisci"), QStringLiteral("--dati"), path, legacyDatabasePath()});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("non viene sostituito")), qPrintable(run.err));
    QCOMPARE(fileSha256(path), before);
}

void TestImportCommand::damagedLegacyFileLeavesNothing_data()
{
    QTest::addColumn<qint64>("keptBytes");
    QTest::addColumn<QString>("problemPart");
    QTest::newRow("empty file") << qint64(0) << "danneggiato";
    QTest::newRow("header page only") << qint64(4096) << "danneggiato";
    QTest::newRow("cut in the middle of a page") << qint64(4096 * 20 + 100) << "troncato";
    QTest::newRow("half the pages") << qint64(4096 * 19) << "danneggiato";
    QTest::newRow("data pages missing")
        << qint64(4096 * 30) << "la tabella Utente dovrebbe avere 10 righe, se ne leggono 0";
    // Subjects and entries have been written by then: the transaction takes them back.
    QTest::newRow("last page missing")
        << qint64(159744 - 4096) << "la tabella Versione dovrebbe avere 1 righe";
}

void TestImportCommand::damagedLegacyFileLeavesNothing()
{
    QFETCH(qint64, keptBytes);
    QFETCH(QString, problemPart);
    const QString legacy = m_dir->filePath(QStringLiteral("Database.mdb"));
    QVERIFY(QFile::copy(legacyDatabasePath(), legacy));
    QFile::setPermissions(legacy, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(QFile::resize(legacy, keptBytes));
    const QString path = m_dir->filePath(QStringLiteral("dati/Database.sqlite"));
    const CommandRun run = runImport({QStringLiteral("--dati"), path, legacy});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(problemPart), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("nessun dato è stato scritto")), qPrintable(run.err));
    QVERIFY(!QFile::exists(path));
    const QStringList left = QDir(m_dir->filePath(QStringLiteral("dati"))).entryList(QDir::Files);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(", ")));
}

void TestImportCommand::damagedLegacyFileLeavesExistingFileUntouched()
{
    const QString path = m_dir->filePath(QStringLiteral("Database.sqlite"));
    QString problem;
    QVERIFY(DbConnection::instance().open(path, &problem));
    DbConnection::instance().close();
    const QByteArray before = fileSha256(path);
    const QString legacy = m_dir->filePath(QStringLiteral("Database.mdb"));
    QVERIFY(QFile::copy(legacyDatabasePath(), legacy));
    QFile::setPermissions(legacy, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(QFile::resize(legacy, 4096 * 19));
    QCOMPARE(runImport({QStringLiteral("--dati"), path, legacy}).status, 1);
    QCOMPARE(fileSha256(path), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             QStringList({"Database.mdb", "Database.sqlite"}));
}

void TestImportCommand::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("outputPart");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--sostituisci";
    QTest::newRow("no file") << QStringList{} << 2 << "Uso: tavelo-import";
    QTest::newRow("two files") << QStringList{"a.mdb", "b.mdb"} << 2 << "un solo file";
    QTest::newRow("unknown option") << QStringList{"--tutto", "a.mdb"} << 2 << "tutto";
    QTest::newRow("empty data file name") << QStringList{"--dati=", "a.mdb"} << 2 << "--dati";
    QTest::newRow("missing file") << QStringList{"--dati", "@DIR@/x.sqlite", "@DIR@/manca.mdb"} << 1
                                  << "non esiste";
    QTest::newRow("not an mdb") << QStringList{"--dati", "@DIR@/x.sqlite", "@DIR@/testo.mdb"} << 1
                                << "non è un archivio della versione precedente";
}

void TestImportCommand::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, outputPart);
    QFile text(m_dir->filePath(QStringLiteral("testo.mdb")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(8192, 'a'));
    text.close();
    arguments.replaceInStrings(QStringLiteral("@DIR@"), m_dir->path());
    const CommandRun run = runImport(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2((status == 0 ? run.out : run.err).contains(outputPart), qPrintable(run.out + run.err));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("x.sqlite"))));
}

void TestImportCommand::importStatementsKeepIdsNullsAndDates()
{
    TestDatabase db;
    WriteTransaction transaction;
    ImportWriter writer;
    const QVariant nullNumber(QMetaType(QMetaType::LongLong));
    const QVariant nullText(QMetaType(QMetaType::QString));
    const QVariant nullMoment(QMetaType(QMetaType::QDateTime));
    const QDateTime evening(QDate(1999, 12, 31), QTime(23, 59, 58));
    QVariantList subject{42,       "O'NEIL", "",       nullText, nullText,
                         nullText, nullText, nullText, "s",      nullText,
                         nullText, nullText, nullText, nullText, "riga 1\r\nriga 2"};
    QVERIFY(!writer.insertSubjectRow(subject).isValid());
    // The earlier file had no key of its own: a repeated ID fails the whole import.
    QVERIFY(writer.insertSubjectRow(subject).isValid());
    QVERIFY(!writer.insertDiaryEntryRow({7, evening, nullMoment, "%_", "", nullNumber, evening})
                 .isValid());
    QVERIFY(!writer.insertVersionRow({evening}).isValid());
    QVERIFY(writer.insertDiaryEntryRow({8, evening}).isValid());
    QCOMPARE(writer.timesLeftOut(), 2);
    QVERIFY(transaction.commit());

    QCOMPARE(storedRow(QStringLiteral("Utente"), QStringLiteral("ID = 42")), texts(subject));
    QCOMPARE(storedRow(QStringLiteral("Tavelo"), QStringLiteral("ID = 7")),
             QVariantList({"7", "1999-12-31", null, "%_", "", null, "1999-12-31"}));
    QCOMPARE(storedRow(QStringLiteral("Versione"), QStringLiteral("1 = 1")),
             QVariantList{"1999-12-31T23:59:58"});
    QCOMPARE(db.count(QStringLiteral("Versione")), 1);
    QCOMPARE(insertSubject(Subject()).value, 43);
}

void TestImportCommand::unknownColumnsAreLeftOutAndNamed_data()
{
    QTest::addColumn<QStringList>("legacy");
    QTest::addColumn<QList<int>>("sourceOf");
    QTest::addColumn<QStringList>("leftOut");
    QTest::addColumn<QStringList>("missing");
    QTest::newRow("as the program keeps it")
        << QStringList{"ID", "data", "scadenza", "Oggetto", "ndoc", "Utente", "AGG"}
        << QList<int>{0, 1, 2, 3, 4, 5, 6} << QStringList{} << QStringList{};
    QTest::newRow("a column after AGG")
        << QStringList{"ID", "data", "scadenza", "Oggetto", "ndoc", "Utente", "AGG", "Campo1"}
        << QList<int>{0, 1, 2, 3, 4, 5, 6} << QStringList{"Campo1"} << QStringList{};
    QTest::newRow("other case and order")
        << QStringList{"id", "UTENTE", "Data", "SCADENZA", "oggetto", "NDOC", "agg"}
        << QList<int>{0, 2, 3, 4, 5, 1, 6} << QStringList{} << QStringList{};
    QTest::newRow("a column missing")
        << QStringList{"ID", "data", "scadenza", "Oggetto", "Utente", "Note", "AGG"}
        << QList<int>{0, 1, 2, 3, -1, 4, 6} << QStringList{"Note"} << QStringList{"ndoc"};
}

void TestImportCommand::unknownColumnsAreLeftOutAndNamed()
{
    QFETCH(QStringList, legacy);
    QFETCH(QList<int>, sourceOf);
    QFETCH(QStringList, leftOut);
    QFETCH(QStringList, missing);
    const ColumnMatch match =
        matchColumns(legacy, DbConnection::tableColumns(QStringLiteral("tavelo")));
    QCOMPARE(match.sourceOf, sourceOf);
    QCOMPARE(match.leftOut, leftOut);
    QCOMPARE(match.missing, missing);

    LegacyImportSummary summary;
    for (const QString &column : leftOut)
        summary.columnsLeftOut << QStringLiteral("Tavelo.") + column;
    const QString text = importSummaryText(summary);
    for (const QString &column : leftOut)
        QVERIFY2(text.contains(QStringLiteral("colonne lasciate fuori: Tavelo.") + column),
                 qPrintable(text));
}

void TestImportCommand::programOffersImportAndShowsImportedData()
{
    const QString path = m_dir->filePath(QStringLiteral("dati/Database.sqlite"));
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("dati"))));
    QVERIFY(
        QFile::copy(legacyDatabasePath(), m_dir->filePath(QStringLiteral("dati/Database.mdb"))));
    m_prompt->answer(PromptAnswer::Yes);
    m_prompt->answer(PromptAnswer::Ok);
    std::unique_ptr<frmRegistra> window = Main(path);
    QVERIFY(window);
    QCOMPARE(m_prompt->shown().size(), 2);
    QCOMPARE(m_prompt->shown().at(0).buttons, PromptButtons::YesNo);
    QVERIFY(m_prompt->shown().at(0).text.contains(QStringLiteral("Database.mdb")));
    QCOMPARE(m_prompt->shown().at(1).icon, PromptIcon::Information);
    QVERIFY(m_prompt->shown().at(1).text.contains(QStringLiteral("10 righe")));
    QCOMPARE(DbConnection::instance().filePath(), path);
    QTRY_COMPARE(window->Cbo1->count(), 6);
    QStringList names;
    for (int i = 0; i < window->Cbo1->count(); ++i)
        names << window->Cbo1->itemText(i);
    QVERIFY2(names.contains(QStringLiteral("ÀLVARO ÉMILE")), qPrintable(names.join(", ")));
    QVERIFY(names.contains(QStringLiteral("D'ANGELO NICOLÒ")));
    QCOMPARE(names.count(QStringLiteral("VERDI GIUSEPPE")), 2);
    QCOMPARE(window->Label25->text(),
             toScreenDateTime(QDateTime(QDate(2013, 4, 30), QTime(18, 5, 42))));

    // ROSSI MARIO's diary, as the operator opens it: his four entries, the one without
    // due date first.
    const int rossi = window->Cbo1->findText(QStringLiteral("ROSSI MARIO"));
    QVERIFY(rossi >= 0);
    window->Cbo1->setCurrentIndex(rossi);
    emit window->Cbo1->activated(rossi);
    QTest::mouseClick(window->Image2, Qt::LeftButton);
    QTest::mouseClick(window->Check1, Qt::LeftButton);
    QVERIFY(window->Frame2->isVisible());
    const QAbstractItemModel *grid = window->DataGrid3->model();
    QVERIFY(grid);
    QStringList notes;
    for (int row = 0; row < grid->rowCount(); ++row)
        notes << grid->index(row, 3).data().toString();
    QCOMPARE(notes, QStringList({"NOTA SENZA SCADENZA", "RINNOVO CONTRATTO AFFITTO",
                                 "SCADENZA BISESTILE", "VOCE SENZA DATA DI INSERIMENTO"}));
    window->hide();
}

void TestImportCommand::programStartsEmptyWhenImportDeclined()
{
    const QString path = m_dir->filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(QFile::copy(legacyDatabasePath(), m_dir->filePath(QStringLiteral("Database.mdb"))));
    m_prompt->answer(PromptAnswer::No);
    std::unique_ptr<frmRegistra> window = Main(path);
    QVERIFY(window);
    QCOMPARE(m_prompt->shown().size(), 1);
    QCOMPARE(countArchiveRows().value, 0);
    window->hide();
}

void TestImportCommand::programOffersNothingWhenDataFileExists()
{
    const QString path = m_dir->filePath(QStringLiteral("Database.sqlite"));
    QString problem;
    QVERIFY(DbConnection::instance().open(path, &problem));
    DbConnection::instance().close();
    QVERIFY(QFile::copy(legacyDatabasePath(), m_dir->filePath(QStringLiteral("Database.mdb"))));
    std::unique_ptr<frmRegistra> window = Main(path);
    QVERIFY(window);
    QVERIFY(m_prompt->shown().isEmpty());
    window->hide();
}

void TestImportCommand::programEndsWhenOfferedImportFails()
{
    const QString path = m_dir->filePath(QStringLiteral("Database.sqlite"));
    const QString legacy = m_dir->filePath(QStringLiteral("Database.mdb"));
    QVERIFY(QFile::copy(legacyDatabasePath(), legacy));
    QFile::setPermissions(legacy, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(QFile::resize(legacy, 4096 * 30));
    m_prompt->answer(PromptAnswer::Yes);
    m_prompt->answer(PromptAnswer::Ok);
    std::unique_ptr<frmRegistra> window = Main(path);
    QVERIFY(!window);
    QCOMPARE(m_prompt->shown().size(), 2);
    const PromptRequest failure = m_prompt->shown().at(1);
    QCOMPARE(failure.icon, PromptIcon::Critical);
    QVERIFY2(failure.text.contains(QStringLiteral("tabella Utente")), qPrintable(failure.text));
    QVERIFY(failure.text.contains(QStringLiteral("non è stato scritto nulla")));
    // Nothing was created, so the next start offers the import again.
    QVERIFY(!QFile::exists(path));
    QVERIFY(!DbConnection::instance().isOpen());
}

void TestImportCommand::progressCountsEveryRow()
{
    LegacyImportRequest request;
    request.legacyFile = legacyDatabasePath();
    request.dataFile = m_dir->filePath(QStringLiteral("Database.sqlite"));
    LegacyImportSummary summary;
    QString problem;
    QMap<QString, QList<int>> seen;
    QVERIFY2(importLegacyFile(request, &summary, &problem,
                              [&](const QString &table, int done, int total) {
                                  seen[table] << done;
                                  QVERIFY(done <= total);
                              }),
             qPrintable(problem));
    QCOMPARE(seen.value(QStringLiteral("Utente")), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QCOMPARE(seen.value(QStringLiteral("Tavelo")).size(), 11);
    QCOMPARE(seen.value(QStringLiteral("Versione")), QList<int>{1});
    QCOMPARE(summary.orphanEntries, 1);
    QVERIFY(summary.columnsLeftOut.isEmpty());
    QVERIFY(summary.columnsMissing.isEmpty());
}

TAVELO_TEST_MAIN(TestImportCommand)
#include "tst_import_command.moc"
