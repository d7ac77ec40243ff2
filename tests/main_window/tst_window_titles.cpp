// SPDX-License-Identifier: GPL-3.0-or-later
// Titles reach the window system exactly as the program gives them: nothing appended.
// They are read back from the X server's _NET_WM_NAME of each window.
#include "main_window_steps.h"

#include "app/startup.h"
#include "registry/frm_anagrafe.h"

#include <QMessageBox>
#include <QProcess>
#include <QTimer>

namespace {

// The title as the X server holds it, or a note of what went wrong.
QString titleOnServer(const QWidget *window)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window->winId()), "-notype", "_NET_WM_NAME"});
    xprop.waitForFinished(5000);
    const QString answer = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    return answer.section(QLatin1Char('"'), 1, -2).replace("\\\"", "\"").replace("\\\\", "\\");
}

} // namespace

class TestWindowTitles : public QObject
{
    Q_OBJECT

private slots:
    void titlesAsTheServerShowsThem_data();
    void titlesAsTheServerShowsThem();
};

// clang-format off
void TestWindowTitles::titlesAsTheServerShowsThem_data()
{
    QTest::addColumn<QString>("steps"); // the steps that show the window, on a timer for a box
    QTest::addColumn<QString>("title");
    QTest::newRow("main window") << "" << "Registrazione";
    QTest::newRow("registry") << "tool Anagrafica" << "Registrazione";
    QTest::newRow("a box with a title of its own") << "Image2" << " Tavelo- ERRORE ";
    QTest::newRow("a box with the application title") << "prompt" << "Tavelo";
}
// clang-format on

void TestWindowTitles::titlesAsTheServerShowsThem()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("The title on the window system is read under X11 only");
    setUpApplication(*qApp); // as the program's main() does
    QFETCH(QString, steps);
    QFETCH(QString, title);
    MainWindowTest f;
    QVERIFY(f.prepare());
    Prompt::install(nullptr); // real message boxes
    f.prompt = nullptr;
    QVERIFY(f.start());
    QString seen;
    QTimer watcher; // a box is modal: read its title from the loop it runs, then close it
    connect(&watcher, &QTimer::timeout, this, [&] {
        if (seen == title)
            return;
        QWidget *shown = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                         : f.windows->registryWindow()
                             ? static_cast<QWidget *>(f.windows->registryWindow())
                             : f.window;
        if (shown->isVisible() && (seen = titleOnServer(shown)) == title && shown->isModal())
            qobject_cast<QMessageBox *>(shown)->accept();
    });
    watcher.start(50);
    if (steps == QLatin1String("prompt"))
        showPrompt(f.window, QStringLiteral("Prova"));
    else
        QVERIFY(runSteps(f, steps));
    QTRY_COMPARE(seen, title);
    watcher.stop();
    QCOMPARE(f.finish(), 0);
}

TAVELO_TEST_MAIN(TestWindowTitles)
#include "tst_window_titles.moc"
