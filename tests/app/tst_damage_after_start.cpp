// SPDX-License-Identifier: GPL-3.0-or-later
// The data file's check of every page runs once the window is shown: a damaged file is
// told then, with its latest backup, the program ends, and no write reaches the file, not
// even one started before the check ended.
#include "test_support.h"

#include "app/startup.h"
#include "app/window_pair.h"
#include "main_window/frm_registra.h"
#include "storage/backups.h"
#include "storage/db_connection.h"
#include "storage/file_check.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

// An archive of thirty subjects, with backups or not, without its indexes or not, and
// (damaged) its second page spoilt as a bad disk would: the schema stays readable and
// only the check of every page finds it.
bool prepareFile(const QString &setup, const QString &path)
{
    QString problem;
    bool ok = DbConnection::instance().open(path, &problem);
    for (int i = 0; ok && i < 30; ++i) {
        Subject subject;
        subject.soggetto = QStringLiteral("SOGGETTO %1").arg(i);
        ok = insertSubject(subject).ok();
    }
    for (int i = 0; ok && setup.contains(QLatin1String("backups")) && i < 3; ++i)
        ok = writeBackup(QDateTime(QDate(2026, 12, 1 + i), QTime(18, 0))).ok();
    if (ok && setup.contains(QLatin1String("no indexes")))
        ok = QSqlQuery(DbConnection::instance().database())
                 .exec(QStringLiteral("DROP INDEX UtenteCodice"));
    DbConnection::instance().close();
    QFile file(path);
    return ok && (!setup.startsWith(QLatin1String("damaged")) ||
                  (file.open(QIODevice::ReadWrite) && file.seek(4096) &&
                   file.write(QByteArray(4096, char(0x5a))) == 4096));
}

} // namespace

class TestDamageAfterStart : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_prompt = ScriptedPrompt::install(); }
    void cleanup();
    void damageIsToldOnceTheWindowIsShown_data();
    void damageIsToldOnceTheWindowIsShown();

private:
    ScriptedPrompt *m_prompt = nullptr;
};

void TestDamageAfterStart::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    DbConnection::instance().close();
    Prompt::install(nullptr);
}

void TestDamageAfterStart::damageIsToldOnceTheWindowIsShown_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("writeAtOnce"); // before the event loop has started the check
    QTest::addColumn<bool>("started");
    QTest::addColumn<QStringList>("parts"); // of the message; none for a sound file
    const QStringList withoutBackup = {"è danneggiato", "Non c'è nessuna copia di sicurezza"};
    const QStringList withBackups = {"è danneggiato",
                                     "Backup/Database_2026-12-03_18-00-00-000.sqlite»",
                                     "rinominandola «Database.sqlite»"};
    QTest::newRow("sound") << "sound" << false << true << QStringList();
    QTest::newRow("sound, written at once") << "sound" << true << true << QStringList();
    QTest::newRow("damaged, without backup") << "damaged" << false << true << withoutBackup;
    QTest::newRow("damaged, with backups") << "damaged, backups" << false << true << withBackups;
    QTest::newRow("damaged, written at once") << "damaged" << true << true << withoutBackup;
    // An older file gets its indexes at open: it is checked before, as the window opens.
    QTest::newRow("damaged, without an index")
        << "damaged, no indexes" << false << false << withoutBackup;
}

void TestDamageAfterStart::damageIsToldOnceTheWindowIsShown()
{
    QFETCH(QString, setup);
    QFETCH(bool, writeAtOnce);
    QFETCH(bool, started);
    QFETCH(QStringList, parts);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(prepareFile(setup, path));
    const QByteArray before = fileSha256(path);
    const bool damaged = !parts.isEmpty();
    if (damaged) {
        m_prompt->answer(PromptAnswer::Ok);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QRegularExpression::escape(path)));
    }
    ProgramEndRecorder ended;

    const std::unique_ptr<WindowPair> windows = Main(path);
    QCOMPARE(bool(windows), started);
    if (writeAtOnce) {
        Subject subject;
        subject.soggetto = QStringLiteral("NUOVO");
        const Result<qint64> written = insertSubject(subject);
        QCOMPARE(written.ok(), !damaged);
        QVERIFY2(!damaged || written.error.text().contains(parts.first()),
                 qPrintable(written.error.text()));
    }
    if (damaged) {
        QTRY_COMPARE(m_prompt->shown().size(), 1);
        const PromptRequest box = m_prompt->shown().first();
        QCOMPARE(box.icon, PromptIcon::Critical);
        for (const QString &part : QStringList{QStringLiteral("«%1»").arg(path)} + parts)
            QVERIFY2(box.text.contains(part), qPrintable(box.text));
        QCOMPARE(ended.statuses(), QList<int>(started ? QList<int>{1} : QList<int>{}));
        QVERIFY(!windows || !windows->mainWindow()->isVisible());
        // Nothing written, before the verdict or after it.
        QVERIFY(!insertSubject(Subject{}).ok());
        QCOMPARE(fileSha256(path), before);
    } else {
        QVERIFY(windows->mainWindow()->isVisible());
        QCOMPARE(FileCheck::instance().waitForVerdict(), QString());
        QCoreApplication::processEvents();
        QCOMPARE(m_prompt->shown().size(), 0);
        QCOMPARE(ended.statuses(), QList<int>());
        QVERIFY(insertSubject(Subject{}).ok());
    }
}

TAVELO_TEST_MAIN(TestDamageAfterStart)
#include "tst_damage_after_start.moc"
