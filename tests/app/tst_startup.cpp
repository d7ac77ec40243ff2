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
    QTest::addColumn<bool>("started"); // once told, ended by the told damage
    const QStringList noBackup = {"è danneggiato", "Non c'è nessuna copia di sicurezza"};
    QTest::newRow("damaged, without backup") << "damaged" << noBackup << true;
    QTest::newRow("damaged, with backups") << "damaged+backups" << QStringList{"è danneggiato", "Backup/Database_2026-12-03_18-00-00-000.sqlite»", "rinominandola «Database.sqlite»"} << true;
    // Before the event loop has run the check: the write waits for it and is refused.
    QTest::newRow("damaged, written at once") << "damaged, written" << noBackup << true;
    // An older file gets its indexes at open: checked before that, as the window opens.
    QTest::newRow("damaged, without an index") << "damaged, index" << noBackup << false;
}
// clang-format on

void TestStartup::unusableFileIsToldAndProgramStops()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, parts);
    QFETCH(bool, started);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(prepareFile(setup, path));
    const QByteArray before = fileSha256(path);
    m_prompt->answer(PromptAnswer::Ok);
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QRegularExpression::escape(path)));
    const ProgramEndRecorder ends;
    const std::unique_ptr<WindowPair> window = Main(path);
    const bool writing = setup.contains(QLatin1String("written"));
    const Result<qint64> written = writing ? insertSubject(Subject{}) : Result<qint64>{};
    QVERIFY(QTest::qWaitFor([&] { return !m_prompt->shown().isEmpty(); }));
    const PromptRequest box = m_prompt->shown().constFirst();
    QCOMPARE(bool(window), started);
    QCOMPARE(m_prompt->shown().size(), 1);
    QCOMPARE(box.icon, PromptIcon::Critical);
    QCOMPARE(ends.statuses, started ? QList<int>{1} : QList<int>());
    QCOMPARE(written.error.text().contains(parts.first()), writing);
    for (const QString &part : QStringList{QStringLiteral("«%1»").arg(path)} + parts)
        QVERIFY2(box.text.contains(part), qPrintable(box.text));
    QCOMPARE(fileSha256(path), before);
}

void TestStartup::startupOpensAfterShowingWindow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nuova cartella/Database.sqlite"));
    std::unique_ptr<WindowPair> windows = Main(path);
    QVERIFY(windows && windows->mainWindow()->isVisible() && DbConnection::instance().isOpen() &&
            QFile::exists(path));
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
