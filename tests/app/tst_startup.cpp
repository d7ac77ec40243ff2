// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the main window first, then the data file, or a message that says what is
// wrong with it and the end of the program; a damaged file is found once the window is
// shown, and nothing is written to it.
#include "test_support.h"

#include "app/startup.h"
#include "app/window_pair.h"
#include "main_window/frm_registra.h"
#include "storage/backups.h"
#include "storage/file_check.h"

#include <QLabel>

namespace {

// A damaged archive, with or without backups: the first page of its tables spoilt as a
// bad disk would, so that the schema stays readable and only the file's own check finds it.
bool prepareFile(const QString &setup, const QString &path)
{
    bool ok = DbConnection::instance().open(path).ok();
    Subject subject;
    for (int i = 0; ok && i < 30; ++i) {
        subject.soggetto = QStringLiteral("SOGGETTO %1").arg(i);
        ok = insertSubject(subject).ok();
    }
    for (int i = 0; ok && setup.endsWith(QLatin1String("backups")) && i < 3; ++i)
        ok = writeBackup(QDateTime(QDate(2026, 12, 1 + i), QTime(18, 0))).ok();
    if (ok && setup.contains(QLatin1String("index")))
        ok = QSqlQuery(DbConnection::instance().database())
                 .exec(QStringLiteral("DROP INDEX UtenteCodice"));
    DbConnection::instance().close();
    QFile file(path);
    return ok && file.open(QIODevice::ReadWrite) && file.seek(4096) &&
           file.write(QByteArray(4096, char(0x5a))) == 4096;
}

} // namespace

class TestStartup : public PromptedTest
{
    Q_OBJECT

private slots:
    void unusableFileIsToldAndProgramStops_data();
    void unusableFileIsToldAndProgramStops();
    void startupOpensAfterShowingWindow();
    void guideIsBuiltBesideProgram();
};

// How the program tells an unusable file: the messages themselves are the open's.
// clang-format off
void TestStartup::unusableFileIsToldAndProgramStops_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("outcome"); // once told: started, ended by the told damage
    const QString stopped = QStringLiteral("FERMATO 1 %1 fine -").arg(int(PromptIcon::Critical));
    const QString ended = QStringLiteral("AVVIATO 1 %1 fine 1").arg(int(PromptIcon::Critical));
    const QStringList noBackup = {"è danneggiato", "Non c'è nessuna copia di sicurezza"};
    QTest::newRow("damaged, without backup") << "damaged" << noBackup << ended;
    QTest::newRow("damaged, with backups") << "damaged+backups" << QStringList{"è danneggiato", "Backup/Database_2026-12-03_18-00-00-000.sqlite»", "rinominandola «Database.sqlite»"} << ended;
    // Before the event loop has run the check: the write waits for it and is refused.
    QTest::newRow("damaged, written at once") << "damaged, written" << noBackup + QStringList{"SCRITTURA RIFIUTATA"} << ended;
    // An older file gets its indexes at open: checked before that, as the window opens.
    QTest::newRow("damaged, without an index") << "damaged, index" << noBackup << stopped;
}
// clang-format on

void TestStartup::unusableFileIsToldAndProgramStops()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, parts);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(prepareFile(setup, path));
    const QByteArray before = fileSha256(path);
    m_prompt->answer(PromptAnswer::Ok);
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QRegularExpression::escape(path)));
    const ProgramEndRecorder ends;
    const std::unique_ptr<WindowPair> window = Main(path);
    const Result<qint64> written =
        setup.contains(QLatin1String("written")) ? insertSubject(Subject{}) : Result<qint64>{};
    const bool told = QTest::qWaitFor([&] { return !m_prompt->shown().isEmpty(); });
    const PromptRequest box = m_prompt->shown().value(0);
    const QString output =
        QStringLiteral("%1 %2 %3 fine %4\n%5%6")
            .arg(QLatin1String(window ? "AVVIATO" : "FERMATO"))
            .arg(m_prompt->shown().size())
            .arg(told ? int(box.icon) : -1)
            .arg(ends.statuses.isEmpty() ? QStringLiteral("-")
                                         : QString::number(ends.statuses.constFirst()))
            .arg(box.text)
            .arg(written.error.text().contains(parts.first()) ? "\nSCRITTURA RIFIUTATA" : "");
    QVERIFY2(output.startsWith(outcome + QLatin1Char('\n')), qPrintable(output));
    for (const QString &part : QStringList{QStringLiteral("«%1»").arg(path)} + parts)
        QVERIFY2(output.contains(part), qPrintable(output));
    QCOMPARE(fileSha256(path), before);
}

void TestStartup::startupOpensAfterShowingWindow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nuova cartella/Database.sqlite"));
    std::unique_ptr<WindowPair> windows = Main(path);
    QVERIFY(windows && windows->mainWindow()->isVisible() && DbConnection::instance().isOpen());
    QVERIFY(QFile::exists(path));
    // The activation waits for the event loop: nothing has been refilled yet.
    auto *stamp = windows->mainWindow()->findChild<QLabel *>(QStringLiteral("Label25"));
    QCOMPARE(stamp->text(), QStringLiteral("Versione"));
    QTRY_VERIFY(stamp->text() != QStringLiteral("Versione"));
    QVERIFY(windows->mainWindow()->findChild<QWidget *>(QStringLiteral("Frame3"))->isVisible());
    // Started again on the file it made, now with every index (the registry's is ordered
    // by the program's own collation): the check beside the window finds it sound.
    windows.reset();
    DbConnection::instance().close();
    windows = Main(path);
    QVERIFY(windows && DbConnection::instance().isOpen());
    QCOMPARE(FileCheck::instance().waitForVerdict(), QString());
}

void TestStartup::guideIsBuiltBesideProgram()
{
    QFile pdf(frmRegistra::guidePath());
    QCOMPARE(QFileInfo(pdf).absolutePath(), QCoreApplication::applicationDirPath());
    QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(pdf.fileName()));
    QVERIFY(pdf.read(5) == "%PDF-" && pdf.size() > 10000);
}

TAVELO_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
