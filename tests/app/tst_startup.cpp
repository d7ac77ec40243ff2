// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the main window first, then the data file, or a message that says what is
// wrong with it and the end of the program.
#include "limited_child.h"
#include "test_support.h"

#include "app/startup.h"
#include "widgets/prompt.h"
#include "main_window/frm_registra.h"
#include "storage/db_connection.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QSqlQuery>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void applicationTitleIsTavelo();
    void startupReportsUnusableFileAndStops();
    void startupRefusesArchiveItCannotWrite();
    void startupOpensAfterShowingWindow();
    void guideIsBuiltBesideProgram();

private:
    DataFileTest f;
};

void TestStartup::init()
{
    f.prepare();
}

void TestStartup::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

void TestStartup::applicationTitleIsTavelo()
{
    QCOMPARE(applicationTitle(), QStringLiteral("Tavelo"));
}

void TestStartup::startupReportsUnusableFileAndStops()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    const QByteArray before = fileSha256(path);
    f.prompt->answer(PromptAnswer::Ok);
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("Database.sqlite")));
    std::unique_ptr<frmRegistra> window = Main(path);
    QVERIFY(!window);
    QCOMPARE(f.prompt->shown().size(), 1);
    QCOMPARE(f.prompt->shown().at(0).icon, PromptIcon::Critical);
    QVERIFY(f.prompt->shown().at(0).text.contains(path));
    QCOMPARE(fileSha256(path), before);
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
}

// An archive in a folder of another user, or on a read-only disk, used to open without
// a word and fail only when "Chiudi" wrote the version stamp. Root may write anything,
// so the start runs as "nobody".
void TestStartup::startupRefusesArchiveItCannotWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Database.sqlite"));
    QString problem;
    QVERIFY2(DbConnection::instance().open(path, &problem), qPrintable(problem));
    DbConnection::instance().close();
    openToEverybody(dir.path());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = fileSha256(path);
    const ChildRun run = runLimited(ChildLimit::Unprivileged, [&] {
        f.prompt->answer(PromptAnswer::Ok);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("sola lettura")));
        std::unique_ptr<frmRegistra> window = Main(path);
        QStringList seen;
        seen << (window ? QStringLiteral("AVVIATO") : QStringLiteral("FERMATO"));
        for (const PromptRequest &box : f.prompt->shown())
            seen << box.text;
        return seen.join(QLatin1Char('\n'));
    });
    if (!run.limited)
        QSKIP(qPrintable(run.output));
    QVERIFY2(run.output.startsWith(QLatin1String("FERMATO\n")), qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("«%1» non si può scrivere").arg(path)),
             qPrintable(run.output));
    QCOMPARE(fileSha256(path), before);
}

void TestStartup::startupOpensAfterShowingWindow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nuova cartella/Database.sqlite"));
    std::unique_ptr<frmRegistra> window = Main(path);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(DbConnection::instance().isOpen());
    QVERIFY(QFile::exists(path));
    // The activation waits for the event loop: nothing has been refilled yet.
    QCOMPARE(window->Label25->text(), QStringLiteral("Versione"));
    QTRY_VERIFY(window->Label25->text() != QStringLiteral("Versione"));
    QVERIFY(window->Frame3->isVisible());
}

void TestStartup::guideIsBuiltBesideProgram()
{
    const QString guide = frmRegistra::guidePath();
    QCOMPARE(QFileInfo(guide).absolutePath(), QCoreApplication::applicationDirPath());
    QFile pdf(guide);
    QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(guide));
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(pdf.size() > 10000);
}

TAVELO_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
