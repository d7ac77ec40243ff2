// SPDX-License-Identifier: GPL-3.0-or-later
// tavelo-report, run as an office runs it: arguments in, a PDF or a message out.
#include "limited_child.h"
#include "test_support.h"

#include "report_command/report_command.h"
#include "reports/report_sources.h"
#include "storage/db_connection.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTextStream>

#include <unistd.h>

namespace {

CommandRun runCommand(const QStringList &arguments)
{
    return runCommandInProcess(runReportCommand, QStringLiteral("tavelo-report"), arguments);
}

QString pdfText(const QString &path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

int pdfPages(const QString &path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdfinfo"), {path});
    tool.waitForFinished(30000);
    const QString info = QString::fromUtf8(tool.readAllStandardOutput());
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

bool dropIndexes(const QString &path)
{
    bool ok = false;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        raw.setDatabaseName(path);
        ok = raw.open();
        QSqlQuery query(raw);
        QStringList names;
        ok = ok && query.exec(QStringLiteral(
                       "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"));
        while (query.next())
            names << query.value(0).toString();
        query.finish();
        for (const QString &name : names)
            ok = ok && QSqlQuery(raw).exec(QStringLiteral("DROP INDEX %1").arg(name));
        ok = ok && !names.isEmpty();
        raw.close();
    }
    QSqlDatabase::removeDatabase("raw");
    return ok;
}

} // namespace

class TestReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void helpExplainsTheCommand();
    void wrongCommandLinesAreRefused_data();
    void wrongCommandLinesAreRefused();
    void missingOrForeignDataFileIsLeftAlone();
    void unknownSubjectAndUnwritablePdf();
    void reportsArePrintedToPdf_data();
    void reportsArePrintedToPdf();
    void longReportStreamsWithPageCountOnEveryPage();
    void reportLeavesDataFileAsItWas_data();
    void reportLeavesDataFileAsItWas();
    void reportReadsFileInReadOnlyFolder();
    void outputThatIsNotANewOrRegularFileIsRefused_data();
    void outputThatIsNotANewOrRegularFileIsRefused();

private:
    QTemporaryDir m_dir;
    QString m_data;
    qint64 m_rossi = 0;
};

void TestReportCommand::initTestCase()
{
    m_data = m_dir.filePath(QStringLiteral("Database.sqlite"));
    QString problem;
    QVERIFY2(DbConnection::instance().open(m_data, &problem), qPrintable(problem));
    Subject rossi;
    rossi.soggetto = QStringLiteral("ROSSI MARIO");
    rossi.codice = QStringLiteral("RSSMRA80A01F205X");
    rossi.utente = QStringLiteral("S");
    rossi.comune = QStringLiteral("MILANO");
    m_rossi = insertSubject(rossi).value;
    Subject firm;
    firm.soggetto = QStringLiteral("BIANCHI & FIGLI S.R.L.");
    firm.codice = QStringLiteral("09876543210");
    firm.utente = QStringLiteral("N");
    QVERIFY(insertSubject(firm).ok());
    DiaryEntry entry;
    entry.utente = m_rossi;
    entry.data = QDate(2026, 1, 10);
    entry.scadenza = QDate(2026, 3, 1);
    entry.oggetto = QStringLiteral("RINNOVO CONTRATTO");
    entry.agg = entry.data;
    QVERIFY(insertDiaryEntry(entry).ok());
    entry.scadenza = QDate();
    entry.oggetto = QStringLiteral("NOTA SENZA SCADENZA");
    QVERIFY(insertDiaryEntry(entry).ok());
    DbConnection::instance().close();
}

void TestReportCommand::helpExplainsTheCommand()
{
    const CommandRun run = runCommand({QStringLiteral("--help")});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.startsWith(QLatin1String("Uso: tavelo-report")));
    for (const char *word : {"anagrafe", "scheda", "schedautenti", "--dati", "--id"})
        QVERIFY2(run.out.contains(QLatin1String(word)), word);
    QCOMPARE(run.err, QString());
}

void TestReportCommand::wrongCommandLinesAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList() << "servono il nome del report";
    QTest::newRow("no pdf") << QStringList({"anagrafe"}) << "servono il nome del report";
    QTest::newRow("unknown report")
        << QStringList({"bilancio", "x.pdf"}) << "report sconosciuto «bilancio»";
    QTest::newRow("card without id") << QStringList({"scheda", "x.pdf"}) << "--id <ID>";
    QTest::newRow("id not a number")
        << QStringList({"scheda", "--id", "uno", "x.pdf"}) << "--id <ID>";
    QTest::newRow("id where none is wanted")
        << QStringList({"anagrafe", "--id", "1", "x.pdf"}) << "--id vale solo per la scheda";
    QTest::newRow("unknown option") << QStringList({"--colore", "anagrafe", "x.pdf"}) << "colore";
}

void TestReportCommand::wrongCommandLinesAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const CommandRun run = runCommand(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFile::exists(QStringLiteral("x.pdf")));
}

void TestReportCommand::missingOrForeignDataFileIsLeftAlone()
{
    const QString missing = m_dir.filePath(QStringLiteral("manca.sqlite"));
    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    CommandRun run =
        runCommand({QStringLiteral("--dati"), missing, QStringLiteral("anagrafe"), pdf});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains(QLatin1String("non esiste")));
    QVERIFY(!QFile::exists(missing));

    const QString foreign = m_dir.filePath(QStringLiteral("altro.sqlite"));
    QFile file(foreign);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("non sono un archivio");
    file.close();
    run = runCommand({QStringLiteral("--dati"), foreign, QStringLiteral("anagrafe"), pdf});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(foreign), qPrintable(run.err));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("non sono un archivio"));
    QVERIFY(!QFile::exists(pdf));
}

void TestReportCommand::unknownSubjectAndUnwritablePdf()
{
    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    CommandRun run = runCommand({QStringLiteral("--dati"), m_data, QStringLiteral("scheda"),
                                 QStringLiteral("--id"), QStringLiteral("999"), pdf});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QLatin1String("nessun soggetto con ID 999")), qPrintable(run.err));
    QVERIFY(!QFile::exists(pdf));

    const QString nowhere = m_dir.filePath(QStringLiteral("cartella che non c'è/out.pdf"));
    run = runCommand({QStringLiteral("--dati"), m_data, QStringLiteral("anagrafe"), nowhere});
    QCOMPARE(run.status, 1);
    QVERIFY(!run.err.isEmpty());
    QVERIFY(!DbConnection::instance().isOpen());
}

void TestReportCommand::reportsArePrintedToPdf_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("registry") << QStringList({"Anagrafe"})
                              << QStringList({"ROSSI MARIO", "BIANCHI & FIGLI S.R.L.", "MILANO"})
                              << QStringList();
    QTest::newRow("all users") << QStringList({"schedautenti"})
                               << QStringList({"ROSSI MARIO", "RINNOVO CONTRATTO", "01/03/2026"})
                               << QStringList({"NOTA SENZA SCADENZA"});
    QTest::newRow("card") << QStringList({"scheda", "--id", "1"})
                          << QStringList({"ROSSI MARIO", "RINNOVO CONTRATTO", "NOTA SENZA SCADENZA",
                                          "10/01/2026"})
                          << QStringList({"BIANCHI"});
}

void TestReportCommand::reportsArePrintedToPdf()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("poppler-utils is not installed");
    const QString pdf =
        m_dir.filePath(QStringLiteral("report %1.pdf").arg(QTest::currentDataTag()));
    const CommandRun run =
        runCommand(QStringList({QStringLiteral("--dati"), m_data}) + arguments + QStringList{pdf});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, pdf + QStringLiteral(": 1 pagina\n"));
    QCOMPARE(pdfPages(pdf), 1);
    const QString text = pdfText(pdf);
    for (const QString &expected : present)
        QVERIFY2(text.contains(expected),
                 qPrintable(expected + QLatin1String(" missing in:\n") + text));
    for (const QString &unexpected : absent)
        QVERIFY2(!text.contains(unexpected), qPrintable(unexpected));
}

void TestReportCommand::longReportStreamsWithPageCountOnEveryPage()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("poppler-utils is not installed");
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(QFile::copy(m_data, data));
    QString problem;
    QVERIFY(DbConnection::instance().open(data, &problem));
    DiaryEntry entry;
    entry.utente = m_rossi;
    entry.data = QDate(2026, 1, 1);
    entry.agg = entry.data;
    for (int i = 0; i < 150; ++i) {
        entry.scadenza = QDate(2026, 1, 1).addDays(i);
        entry.oggetto = QStringLiteral("VOCE %1").arg(i, 3, 10, QLatin1Char('0'));
        QVERIFY(insertDiaryEntry(entry).ok());
    }
    const ReportBuild inMemory = buildAllUsersReport();
    QVERIFY(inMemory.ok());
    const int pages = inMemory.document.pageCount();
    QVERIFY(pages > 2);
    DbConnection::instance().close();

    const QString pdf = dir.filePath(QStringLiteral("scadenze.pdf"));
    const CommandRun run =
        runCommand({QStringLiteral("--dati"), data, QStringLiteral("schedautenti"), pdf});
    QCOMPARE(run.status, 0);
    QCOMPARE(pdfPages(pdf), pages);
    const QString text = pdfText(pdf);
    for (int page = 1; page <= pages; ++page)
        QVERIFY2(text.contains(QStringLiteral("Pagina %1 di %2").arg(page).arg(pages)),
                 qPrintable(QString::number(page)));
    QVERIFY(text.indexOf(QLatin1String("VOCE 000")) < text.indexOf(QLatin1String("VOCE 149")));
    QVERIFY(text.contains(QLatin1String("VOCE 149")));
}

void TestReportCommand::reportLeavesDataFileAsItWas_data()
{
    QTest::addColumn<bool>("withoutIndexes");
    QTest::newRow("archive of the program") << false;
    QTest::newRow("archive without indexes") << true;
}

void TestReportCommand::reportLeavesDataFileAsItWas()
{
    QFETCH(bool, withoutIndexes);
    QTemporaryDir dataDir;
    QTemporaryDir outDir;
    const QString data = dataDir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(QFile::copy(m_data, data));
    if (withoutIndexes)
        QVERIFY(dropIndexes(data));
    const QByteArray before = fileSha256(data);
    const QString pdf = outDir.filePath(QStringLiteral("anagrafe.pdf"));
    const CommandRun run =
        runCommand({QStringLiteral("--dati"), data, QStringLiteral("anagrafe"), pdf});
    QCOMPARE(run.status, 0);
    QVERIFY(QFile::exists(pdf));
    QCOMPARE(fileSha256(data), before);
    QCOMPARE(QDir(dataDir.path()).entryList(QDir::Files), QStringList({"Database.sqlite"}));
}

// An archive on a read-only share or in another user's folder can still be printed.
// Root writes anywhere, so the command runs as "nobody".
void TestReportCommand::reportReadsFileInReadOnlyFolder()
{
    QTemporaryDir dataDir;
    QTemporaryDir outDir;
    const QString data = dataDir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(QFile::copy(m_data, data));
    const QByteArray before = fileSha256(data);
    openToEverybody(dataDir.path());
    openToEverybody(outDir.path());
    const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    QFile::setPermissions(data, readable);
    QFile::setPermissions(dataDir.path(),
                          readable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    const QString pdf = outDir.filePath(QStringLiteral("anagrafe.pdf"));
    const ChildRun child = runLimited(ChildLimit::Unprivileged, [&] {
        const CommandRun run =
            runCommand({QStringLiteral("--dati"), data, QStringLiteral("anagrafe"), pdf});
        return QString::number(run.status) + QLatin1Char('\n') + run.err;
    });
    openToEverybody(dataDir.path());
    if (!child.limited)
        QSKIP(qPrintable(child.output));
    QCOMPARE(child.output, QStringLiteral("0\n"));
    QVERIFY(QFile::exists(pdf));
    QCOMPARE(fileSha256(data), before);
    QCOMPARE(QDir(dataDir.path()).entryList(QDir::Files), QStringList({"Database.sqlite"}));
}

// "tavelo-report --dati X anagrafe X" once replaced the archive with a PDF.
void TestReportCommand::outputThatIsNotANewOrRegularFileIsRefused_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("message");
    QTest::newRow("the data file") << "DATA"
                                   << "è il file dei dati";
    QTest::newRow("another spelling") << "DIR/./sub/../Database.sqlite"
                                      << "è il file dei dati";
    QTest::newRow("double slash") << "DIR//Database.sqlite"
                                  << "è il file dei dati";
    QTest::newRow("symbolic link") << "SYMLINK"
                                   << "è il file dei dati";
    QTest::newRow("hard link") << "HARDLINK"
                               << "è il file dei dati";
    QTest::newRow("write-ahead log") << "DATA-wal"
                                     << "è il file dei dati";
    QTest::newRow("device") << "/dev/full"
                            << "non è un file normale";
    QTest::newRow("folder") << "DIR/sub"
                            << "non è un file normale";
}

void TestReportCommand::outputThatIsNotANewOrRegularFileIsRefused()
{
    QFETCH(QString, output);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString data = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(QFile::copy(m_data, data));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString symlink = elsewhere.filePath(QStringLiteral("collegamento.pdf"));
    QVERIFY(QFile::link(data, symlink));
    const QString hardlink = elsewhere.filePath(QStringLiteral("stesso.pdf"));
    QCOMPARE(::link(QFile::encodeName(data).constData(), QFile::encodeName(hardlink).constData()),
             0);
    output.replace(QLatin1String("DATA"), data)
        .replace(QLatin1String("DIR"), dir.path())
        .replace(QLatin1String("SYMLINK"), symlink)
        .replace(QLatin1String("HARDLINK"), hardlink);
    const QFileInfo was(output);
    const QByteArray before = fileSha256(data);
    const CommandRun run =
        runCommand({QStringLiteral("--dati"), data, QStringLiteral("anagrafe"), output});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(fileSha256(data), before);
    const QFileInfo now(output);
    QCOMPARE(now.exists(), was.exists());
    QCOMPARE(now.isFile(), was.isFile());
    QCOMPARE(now.isSymLink(), was.isSymLink());
}

TAVELO_TEST_MAIN(TestReportCommand)
#include "tst_report_command.moc"
