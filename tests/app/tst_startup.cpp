// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the main window first, then the data file, or a message that says what is
// wrong with it and the end of the program.
#include "test_support.h"

#include "app/startup.h"
#include "app/window_pair.h"
#include "main_window/frm_registra.h"
#include "storage/backups.h"
#include "storage/db_connection.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>

namespace {

// The data file a row starts with: text, or an archive, damaged with or without backups:
// the first page of its tables spoilt as a bad disk would, so that the schema stays
// readable and only the file's own check finds it.
bool prepareFile(const QString &setup, const QString &path)
{
    QFile file(path);
    if (setup == QLatin1String("text"))
        return file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096;
    const bool damaged = setup.startsWith(QLatin1String("damaged"));
    bool ok = DbConnection::instance().open(path).ok();
    for (int i = 0; ok && damaged && i < 30; ++i) {
        Subject subject;
        subject.soggetto = QStringLiteral("SOGGETTO %1").arg(i);
        ok = insertSubject(subject).ok();
    }
    for (int i = 0; ok && setup.endsWith(QLatin1String("backups")) && i < 3; ++i)
        ok = writeBackup(QDateTime(QDate(2026, 12, 1 + i), QTime(18, 0))).ok();
    DbConnection::instance().close();
    return ok && (!damaged || (file.open(QIODevice::ReadWrite) && file.seek(4096) &&
                               file.write(QByteArray(4096, char(0x5a))) == 4096));
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_prompt = ScriptedPrompt::install(); }
    void cleanup();

    void unusableFileIsToldAndProgramStops_data();
    void unusableFileIsToldAndProgramStops();
    void startupOpensAfterShowingWindow();
    void guideIsBuiltBesideProgram();

private:
    ScriptedPrompt *m_prompt = nullptr;
};

void TestStartup::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    DbConnection::instance().close();
    Prompt::install(nullptr);
}

// The file's own problems are told apart in tst_db_connection; here, that the program
// shows the one it meets and stops, naming the backup to restore where there is one.
// clang-format off
void TestStartup::unusableFileIsToldAndProgramStops_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("not an archive") << "text" << QStringList{"non è un archivio di Tavelo"};
    QTest::newRow("damaged, without backup") << "damaged" << QStringList{"è danneggiato", "Non c'è nessuna copia di sicurezza"};
    QTest::newRow("damaged, with backups") << "damaged+backups" << QStringList{"è danneggiato", "Backup/Database_2026-12-03_18-00-00-000.sqlite»", "rinominandola «Database.sqlite»"};
}
// clang-format on

void TestStartup::unusableFileIsToldAndProgramStops()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, parts);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(prepareFile(setup, path));
    const QByteArray before = fileSha256(path);
    m_prompt->answer(PromptAnswer::Ok);
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QRegularExpression::escape(path)));
    QVERIFY(!Main(path));
    QCOMPARE(m_prompt->shown().size(), 1);
    const PromptRequest box = m_prompt->shown().first();
    QCOMPARE(box.icon, PromptIcon::Critical);
    for (const QString &part : QStringList{QStringLiteral("«%1»").arg(path)} + parts)
        QVERIFY2(box.text.contains(part), qPrintable(box.text));
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
