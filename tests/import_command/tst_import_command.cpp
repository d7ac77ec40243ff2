// SPDX-License-Identifier: GPL-3.0-or-later
// tavelo-import on the command line, and the import that the program offers at start.
#include "test_support.h"

#include "app/startup.h"
#include "import_command/import_command.h"
#include "app/window_pair.h"
#include "main_window/frm_registra.h"
#include "storage/backups.h"
#include "storage/db_connection.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

namespace {

// A copy of the earlier version's fixture, cut to keptBytes (all of it when negative).
bool copyLegacyFile(const QString &path, qint64 keptBytes)
{
    return QFile::copy(legacyDatabasePath(), path) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner) &&
           (keptBytes < 0 || QFile::resize(path, keptBytes));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An archive of the program at path: empty, or with one subject.
bool makeArchive(const QString &path, bool withData)
{
    QString problem;
    Subject subject;
    subject.soggetto = QStringLiteral("ROSSI");
    const bool ok =
        DbConnection::instance().open(path, &problem) && (!withData || insertSubject(subject).ok());
    DbConnection::instance().close();
    return ok;
}

qint64 archiveRows(const QString &path)
{
    QString problem;
    const qint64 rows =
        DbConnection::instance().open(path, &problem) ? countArchiveRows().value : -1;
    DbConnection::instance().close();
    return rows;
}

} // namespace

class TestImportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandLine_data();
    void commandLine();
    void startOffersImport_data();
    void startOffersImport();

private:
    ScriptedPrompt *m_prompt = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestImportCommand::init()
{
    m_prompt = ScriptedPrompt::install();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("dati")));
}

void TestImportCommand::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    DbConnection::instance().close();
    Prompt::install(nullptr);
    m_dir.reset();
}

// Every way the command is run. Before the run the data file @DATA@ holds `existing`:
// nothing, an empty archive, an archive with one subject ("data") or plain text; @MDB@
// is the earlier version's fixture cut to keptBytes (whole when negative). A run that
// fails leaves the data file as it was and nothing beside it.
void TestImportCommand::commandLine_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<qint64>("keptBytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<int>("backups");
    const QStringList import{"--dati", "@DATA@", "@MDB@"};
    const QStringList replace = QStringList{"--sostituisci"} + import;
    const QString nothingWritten = QStringLiteral("nessun dato è stato scritto");
    QTest::newRow("help") << "" << QStringList{"--help"} << -1LL << 0
                          << QStringList{"Uso: tavelo-import", "--sostituisci"} << 0;
    QTest::newRow("no file") << "" << QStringList{} << -1LL << 2
                             << QStringList{"Uso: tavelo-import"} << 0;
    QTest::newRow("two files") << "" << QStringList{"a.mdb", "b.mdb"} << -1LL << 2
                               << QStringList{"un solo file"} << 0;
    QTest::newRow("unknown option") << "" << QStringList{"--tutto", "a.mdb"} << -1LL << 2
                                    << QStringList{"tutto", "Uso: tavelo-import"} << 0;
    QTest::newRow("empty data file name") << "" << QStringList{"--dati=", "a.mdb"} << -1LL << 2
                                          << QStringList{"--dati vuole il nome"} << 0;
    QTest::newRow("missing file") << "" << QStringList{"--dati", "@DATA@", "@DIR@/manca.mdb"}
                                  << -1LL << 1 << QStringList{"non esiste", nothingWritten} << 0;
    QTest::newRow("not an mdb") << "" << QStringList{"--dati", "@DATA@", "@DIR@/testo.mdb"} << -1LL
                                << 1 << QStringList{"non è un archivio della versione precedente"}
                                << 0;
    QTest::newRow("empty mdb") << "" << import << 0LL << 1
                               << QStringList{"danneggiato", nothingWritten} << 0;
    QTest::newRow("header page only")
        << "" << import << 4096LL << 1 << QStringList{"danneggiato"} << 0;
    QTest::newRow("cut in the middle of a page")
        << "" << import << 4096LL * 20 + 100 << 1 << QStringList{"troncato"} << 0;
    QTest::newRow("half the pages over an empty archive")
        << "empty" << import << 4096LL * 19 << 1 << QStringList{"danneggiato", nothingWritten} << 0;
    QTest::newRow("data pages missing")
        << "" << import << 4096LL * 30 << 1
        << QStringList{"la tabella Utente dovrebbe avere 10 righe, se ne leggono 0"} << 0;
    // Subjects and entries have been written by then: the transaction takes them back.
    QTest::newRow("last page missing")
        << "" << import << 159744LL - 4096 << 1
        << QStringList{"la tabella Versione dovrebbe avere 1 righe"} << 0;
    QTest::newRow("new file") << "" << import << -1LL << 0
                              << QStringList{"  Utente:    10 righe\n  Tavelo:    11 righe\n"
                                             "  Versione:  1 riga\n  voci di soggetti non più "
                                             "presenti (riportate, non mostrate): 1\n"}
                              << 0;
    QTest::newRow("empty archive, replaced without asking")
        << "empty" << import << -1LL << 0 << QStringList{"Tavelo:    11 righe"} << 0;
    QTest::newRow("archive with data, refused")
        << "data" << import << -1LL << 1 << QStringList{"non viene sostituito", "--sostituisci"}
        << 0;
    QTest::newRow("archive with data, replaced after a backup")
        << "data" << replace << -1LL << 0 << QStringList{"copia del file sostituito: "} << 1;
    QTest::newRow("foreign file, never replaced")
        << "text" << replace << -1LL << 1 << QStringList{"non viene sostituito"} << 0;
}

void TestImportCommand::commandLine()
{
    QFETCH(QString, existing);
    QFETCH(QStringList, arguments);
    QFETCH(qint64, keptBytes);
    QFETCH(int, status);
    QFETCH(QStringList, parts);
    QFETCH(int, backups);
    const QString data = m_dir->filePath(QStringLiteral("dati/x.sqlite"));
    const QString mdb = m_dir->filePath(QStringLiteral("Database.mdb"));
    QVERIFY(copyLegacyFile(mdb, keptBytes));
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("testo.mdb")), QByteArray(8192, 'a')));
    QVERIFY(existing != QLatin1String("text") || writeFile(data, "appunti, non un archivio"));
    QVERIFY(existing.isEmpty() || existing == QLatin1String("text") ||
            makeArchive(data, existing == QLatin1String("data")));
    const QByteArray before = fileSha256(data);
    arguments.replaceInStrings(QStringLiteral("@DATA@"), data)
        .replaceInStrings(QStringLiteral("@MDB@"), mdb)
        .replaceInStrings(QStringLiteral("@DIR@"), m_dir->path());

    const CommandRun run =
        runCommandInProcess(runImportCommand, QStringLiteral("tavelo-import"), arguments);
    QCOMPARE(run.status, status);
    for (const QString &part : parts)
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
    QCOMPARE(QDir(m_dir->filePath(QStringLiteral("dati"))).entryList(QDir::Files),
             QFile::exists(data) ? QStringList{"x.sqlite"} : QStringList());
}

// The earlier version's Database.mdb beside a data file that is not there yet.
void TestImportCommand::startOffersImport_data()
{
    QTest::addColumn<qint64>("keptBytes");
    QTest::addColumn<bool>("dataFileExists");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<bool>("windowKept");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("archiveRows");
    QTest::newRow("accepted") << -1LL << false << "Yes Ok" << true
                              << QStringList{"Database.mdb", "Utente:    10 righe"} << 21;
    QTest::newRow("declined") << -1LL << false << "No" << true << QStringList{"Database.mdb"} << 0;
    QTest::newRow("data file there") << -1LL << true << "" << true << QStringList{} << 0;
    // Nothing was created, so the next start offers the import again.
    QTest::newRow("import fails") << 4096LL * 30 << false << "Yes Ok" << false
                                  << QStringList{"Database.mdb",
                                                 "tabella Utente dovrebbe avere 10 righe"}
                                  << -1;
}

void TestImportCommand::startOffersImport()
{
    QFETCH(qint64, keptBytes);
    QFETCH(bool, dataFileExists);
    QFETCH(QString, answers);
    QFETCH(bool, windowKept);
    QFETCH(QStringList, boxes);
    QFETCH(int, archiveRows);
    const QString path = m_dir->filePath(QStringLiteral("dati/Database.sqlite"));
    QVERIFY(copyLegacyFile(m_dir->filePath(QStringLiteral("dati/Database.mdb")), keptBytes));
    QVERIFY(!dataFileExists || makeArchive(path, false));
    for (const QString &answer : answers.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        m_prompt->answer(answer == QLatin1String("Yes")  ? PromptAnswer::Yes
                         : answer == QLatin1String("No") ? PromptAnswer::No
                                                         : PromptAnswer::Ok);
    std::unique_ptr<WindowPair> windows = Main(path);
    QCOMPARE(bool(windows), windowKept);
    const QList<PromptRequest> &shown = m_prompt->shown();
    QCOMPARE(shown.size(), boxes.size());
    for (int i = 0; i < shown.size(); ++i)
        QVERIFY2(shown.at(i).text.contains(boxes.at(i)), qPrintable(shown.at(i).text));
    QVERIFY(shown.isEmpty() || shown.first().buttons == PromptButtons::YesNo);
    if (shown.size() == 2) {
        QCOMPARE(shown.last().icon, windowKept ? PromptIcon::Information : PromptIcon::Critical);
        QVERIFY(windowKept || shown.last().text.contains(QStringLiteral("non è stato scritto")));
    }
    if (!windows) {
        QVERIFY(!QFile::exists(path));
        QVERIFY(!DbConnection::instance().isOpen());
        return;
    }
    QCOMPARE(DbConnection::instance().filePath(), path);
    QCOMPARE(countArchiveRows().value, archiveRows);
    // The imported users, in the list of the window.
    const auto *users = windows->mainWindow()->findChild<QComboBox *>(QStringLiteral("Cbo1"));
    QTRY_COMPARE(users->count(), archiveRows > 0 ? 6 : 0);
    windows->mainWindow()->hide();
}

TAVELO_TEST_MAIN(TestImportCommand)
#include "tst_import_command.moc"
