// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the main window first, then the data file, or a message that says what is
// wrong with it and the end of the program (a damaged file: tst_damage_after_start).
#include "limited_child.h"
#include "test_support.h"

#include "app/startup.h"
#include "app/window_pair.h"
#include "main_window/frm_registra.h"
#include "storage/db_connection.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

// The data file a row starts with: text, or an archive.
bool prepareFile(const QString &setup, const QString &path)
{
    QFile file(path);
    if (setup == QLatin1String("text"))
        return file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096;
    QString problem;
    const bool ok = DbConnection::instance().open(path, &problem);
    DbConnection::instance().close();
    return ok;
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

// Root may write anything, so the read-only file is tried as "nobody".
void TestStartup::unusableFileIsToldAndProgramStops_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<ChildLimit>("limit");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("not an archive")
        << "text" << ChildLimit::None << QStringList{"non è un archivio di Tavelo"};
    QTest::newRow("locked by another program")
        << "locked" << ChildLimit::None << QStringList{"è bloccato da un altro programma"};
    QTest::newRow("read-only") << "read-only" << ChildLimit::Unprivileged
                               << QStringList{"non si può scrivere: è in sola lettura"};
}

void TestStartup::unusableFileIsToldAndProgramStops()
{
    QFETCH(QString, setup);
    QFETCH(ChildLimit, limit);
    QFETCH(QStringList, parts);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QVERIFY(prepareFile(setup, path));
    openToEverybody(dir.path());
    if (setup == QLatin1String("read-only"))
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    std::optional<QSqlDatabase> other;
    if (setup == QLatin1String("locked")) {
        other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other->setDatabaseName(path);
        QVERIFY(other->open());
        for (const char *sql : {"PRAGMA locking_mode=EXCLUSIVE", "BEGIN EXCLUSIVE",
                                "UPDATE Versione SET Versione = 'x'"})
            QVERIFY(QSqlQuery(*other).exec(QLatin1String(sql)));
    }
    const QByteArray before = fileSha256(path);

    const auto start = [&] {
        m_prompt->answer(PromptAnswer::Ok);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QRegularExpression::escape(path)));
        const std::unique_ptr<WindowPair> window = Main(path);
        const PromptRequest box = m_prompt->shown().value(0);
        return QStringLiteral("%1 %2 %3\n%4")
            .arg(QLatin1String(window ? "AVVIATO" : "FERMATO"))
            .arg(m_prompt->shown().size())
            .arg(int(box.icon))
            .arg(box.text);
    };
    const ChildRun run =
        limit == ChildLimit::None ? ChildRun{true, 0, start()} : runLimited(limit, start);
    other.reset(); // the lock goes with the connection
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    if (!run.limited)
        QSKIP(qPrintable(run.output));
    QVERIFY2(run.output.startsWith(QStringLiteral("FERMATO 1 %1\n").arg(int(PromptIcon::Critical))),
             qPrintable(run.output));
    for (const QString &part : QStringList{QStringLiteral("«%1»").arg(path)} + parts)
        QVERIFY2(run.output.contains(part), qPrintable(run.output));
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
