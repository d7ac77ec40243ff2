// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the main window first, then the data file, or a message that says what is
// wrong with it and the end of the program.
#include "main_window_steps.h"

#include "app/startup.h"
#include "main_window/frm_registra.h"
#include "storage/db_connection.h"

#include <QFile>
#include <QLabel>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void startupOpensOrStops_data();
    void startupOpensOrStops();
    void guideIsBuiltBesideProgram();
};

void TestStartup::startupOpensOrStops_data()
{
    QTest::addColumn<QByteArray>("content"); // of the data file before the start
    QTest::newRow("a new file") << QByteArray();
    QTest::newRow("a file that is no archive") << QByteArray(4096, 'x');
}

// The window is shown before the file opens, and activated only once the event loop
// runs; a file that cannot be used is told and left as it was, and the program ends.
void TestStartup::startupOpensOrStops()
{
    QFETCH(QByteArray, content);
    DataFileTest f;
    f.prepare();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nuova cartella/Database.sqlite"));
    if (!content.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        f.prompt->answer(PromptAnswer::Ok);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("Database.sqlite")));
    }
    std::unique_ptr<WindowPair> windows = Main(path);
    QCOMPARE(bool(windows), content.isEmpty());
    if (windows) {
        auto *stamp = windows->mainWindow()->findChild<QLabel *>(QStringLiteral("Label25"));
        QVERIFY(windows->mainWindow()->isVisible() && DbConnection::instance().isOpen());
        QCOMPARE(stamp->text(), QStringLiteral("Versione"));
        QTRY_VERIFY(stamp->text() != QStringLiteral("Versione"));
        QCOMPARE(visiblePanels(*windows->mainWindow()), QStringLiteral("Frame3"));
    } else {
        QVERIFY(allMatch({"x|*|*" + path + "*"}, shownBoxes(*f.prompt)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == content);
        for (QWidget *top : QApplication::topLevelWidgets())
            QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
    }
    windows.reset();
    QCOMPARE(f.finish(), 0);
}

void TestStartup::guideIsBuiltBesideProgram()
{
    const QString guide = frmRegistra::guidePath();
    QCOMPARE(QFileInfo(guide).absolutePath(), QCoreApplication::applicationDirPath());
    QFile pdf(guide);
    QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(guide));
    QVERIFY(pdf.read(5) == "%PDF-" && pdf.size() > 10000);
}

TAVELO_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
