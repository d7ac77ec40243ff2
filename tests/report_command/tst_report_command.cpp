// SPDX-License-Identifier: GPL-3.0-or-later
// tavelo-report, run as an office runs it: arguments in, a PDF or a message out.
#include "test_support.h"

#include "report_command/report_command.h"

#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

class TestReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exitStatuses_data();
    void exitStatuses();

private:
    TestDatabase m_db; // its folder is the current one
};

void TestReportCommand::initTestCase()
{
    const qint64 rossi = m_db.addSubject("ROSSI MARIO");
    m_db.addSubject("BIANCHI & FIGLI S.R.L.", "N");
    m_db.addEntry(rossi, QDate(2026, 1, 10), QDate(), "NOTA SENZA SCADENZA");
    m_db.addEntry(m_db.addSubject("VERDI", "N"), QDate(2026, 1, 1), QDate(2026, 1, 2), "DI VERDI");
    // Enough deadlines for several pages, which all wait for the page count.
    for (int i = 0; i < 150; ++i)
        m_db.addEntry(rossi, QDate(2026, 1, 1), QDate(2026, 1, 1).addDays(i),
                      QString("VOCE %1").arg(i, 3, 10, QLatin1Char('0')));
    // As an older version left it: a report that opened it for writing would add them.
    for (const QString &sql : DbConnection::indexStatements())
        QVERIFY(m_db.exec("DROP INDEX " + sql.section(QLatin1Char(' '), 5, 5)));
    DbConnection::instance().close();
    QVERIFY(QDir::setCurrent(QFileInfo(m_db.path()).absolutePath()) && QDir().mkdir("sub"));
    QVERIFY(::mkfifo("sub/tubo", 0600) == 0 && ::link("Database.sqlite", "sub/stesso.pdf") == 0);
    QVERIFY(QFile::link(m_db.path(), "sub/collegamento.pdf"));
    QVERIFY(writeFile("sub/altro", "non sono un archivio"));
}

// clang-format off
void TestReportCommand::exitStatuses_data()
{
    // After "--dati Database.sqlite" (a second --dati wins), in the data file's folder.
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("status");
    // "|" between what the message says or, when done, the PDF; "!" before what they must
    // not; PAGES, the number of pages the command said it wrote.
    QTest::addColumn<QString>("said");
    const QString refused = "è il file dei dati";
    QTest::newRow("no file") << "anagrafe" << 2 << "servono il nome";
    QTest::newRow("unknown report") << "bilancio sub/x.pdf" << 2 << "sconosciuto «bilancio»";
    QTest::newRow("id not a number") << "scheda --id uno sub/x.pdf" << 2 << "--id <ID>";
    QTest::newRow("id not wanted") << "anagrafe --id 1 sub/x.pdf" << 2 << "--id vale solo";
    QTest::newRow("unknown option") << "--colore anagrafe sub/x.pdf" << 2 << "colore";
    QTest::newRow("missing data") << "--dati manca anagrafe sub/x.pdf" << 1 << "«manca» non esiste";
    QTest::newRow("foreign data") << "--dati sub/altro anagrafe sub/x.pdf" << 1 << "sub/altro";
    QTest::newRow("unknown subject") << "scheda --id 999 sub/x.pdf" << 1 << "con ID 999";
    QTest::newRow("no such folder") << "anagrafe manca/x.pdf" << 1 << "manca/x.pdf";
    // "tavelo-report --dati X anagrafe X" once replaced the archive with a PDF.
    QTest::newRow("the data file") << "anagrafe Database.sqlite" << 1 << refused;
    QTest::newRow("other spelling") << "anagrafe ./sub/../Database.sqlite" << 1 << refused;
    QTest::newRow("symbolic link") << "anagrafe sub/collegamento.pdf" << 1 << refused;
    QTest::newRow("hard link") << "anagrafe sub/stesso.pdf" << 1 << refused;
    QTest::newRow("write-ahead log") << "anagrafe Database.sqlite-wal" << 1 << refused;
    QTest::newRow("shared memory") << "anagrafe Database.sqlite-shm" << 1 << refused;
    QTest::newRow("journal") << "anagrafe Database.sqlite-journal" << 1 << refused;
    QTest::newRow("folder") << "anagrafe sub" << 1 << "non è un file normale";
    QTest::newRow("pipe") << "anagrafe sub/tubo" << 1 << "non è un file normale";
    QTest::newRow("registry") << "Anagrafe sub/anagrafe.pdf" << 0 << "ROSSI MARIO|BIANCHI & FIGLI|Pagina 1 di 1|!VOCE";
    QTest::newRow("all users") << "schedautenti sub/utenti.pdf" << 0 << "VOCE 000|30/05/2026|VOCE 149|Pagina 1 di PAGES|Pagina PAGES di PAGES|!NOTA SENZA";
    QTest::newRow("card") << "scheda --id 1 sub/scheda.pdf" << 0 << "ROSSI MARIO|NOTA SENZA|10/01/2026|Pagina 2 di PAGES|!BIANCHI";
    QTest::newRow("calendar of one user, every deadline") << "calendario --tutte --id 1 sub/rossi.ics" << 0 << "SUMMARY:VOCE 149 — ROSSI MARIO|!DI VERDI|!NOTA SENZA";
    QTest::newRow("calendar of all, every deadline") << "calendario --tutte sub/tutti.ics" << 0 << "SUMMARY:DI VERDI — VERDI|SUMMARY:VOCE 000";
    QTest::newRow("calendar of what is ahead: none of these") << "calendario sub/avanti.ics" << 0 << "BEGIN:VCALENDAR|!SUMMARY:";
    QTest::newRow("calendar of nobody") << "calendario --id 999 sub/nessuno.ics" << 1 << "999";
}
// clang-format on

void TestReportCommand::exitStatuses()
{
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    const QStringList listed = QStringList{"--dati", "Database.sqlite"} + arguments.split(' ');
    const QFileInfo outputWas(listed.constLast());
    const QByteArray before = fileSha256(m_db.path());
    const CommandRun run = runCommandInProcess(runReportCommand, "tavelo-report", listed);
    QCOMPARE(run.status, status);
    QVERIFY(!DbConnection::instance().isOpen() && fileSha256(m_db.path()) == before);
    QCOMPARE(QDir().entryList(QDir::Files), QStringList({"Database.sqlite"}));
    QCOMPARE(QFileInfo(listed.constLast()).isFile(), status == 0 || outputWas.isFile());
    const bool calendar = arguments.startsWith("calendario");
    const auto pages = QRegularExpression(": (\\d+) (pagin[ae]|scadenze)\\n$").match(run.out);
    QCOMPARE(pages.hasMatch(), status == 0);
    QString text = run.err;
    QFile written(listed.constLast());
    if (status == 0 && calendar) {
        QVERIFY(written.open(QIODevice::ReadOnly));
        text = QString::fromUtf8(written.readAll());
    } else if (status == 0) {
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", listed.constLast(), "-"});
        text = pdftotext.waitForFinished() ? QString::fromUtf8(pdftotext.readAll()) : QString();
    }
    for (QString expected : said.replace("PAGES", pages.captured(1)).split('|')) {
        const bool absent = expected.startsWith('!');
        QVERIFY2(text.contains(expected.mid(absent ? 1 : 0)) != absent,
                 qPrintable(expected + " in:\n" + text));
    }
}

TAVELO_TEST_MAIN(TestReportCommand)
#include "tst_report_command.moc"
