// SPDX-License-Identifier: GPL-3.0-or-later
// Titles reach the window system exactly as the program gives them: nothing appended.
// Under X11 the title is read back from the window's _NET_WM_NAME property.
#include "main_window_steps.h"
#include "test_support.h"

#include "app/startup.h"
#include "widgets/prompt.h"
#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"
#include "widgets/picture_button.h"

#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QWindow>

namespace {

bool underX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The title as the X server holds it, or a note of what went wrong.
QString titleOnServer(const QWidget *window)
{
    QProcess xprop;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    xprop.setProcessEnvironment(environment);
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window->winId()), QStringLiteral("-notype"),
                 QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(5000) || xprop.exitCode() != 0)
        return QStringLiteral("<xprop failed: %1>")
            .arg(QString::fromLocal8Bit(xprop.readAllStandardError()));
    const QString answer = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype first = answer.indexOf(QLatin1Char('"'));
    const qsizetype last = answer.lastIndexOf(QLatin1Char('"'));
    if (first < 0 || last <= first)
        return QStringLiteral("<no title: %1>").arg(answer);
    return answer.mid(first + 1, last - first - 1)
        .replace(QLatin1String("\\\""), QLatin1String("\""))
        .replace(QLatin1String("\\\\"), QLatin1String("\\"));
}

// Checks the title of a shown top-level window: as the program set it, on its native
// window, and on the X server.
void checkTitle(QWidget *window, const QString &title)
{
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), title);
    QVERIFY(window->windowHandle());
    QCOMPARE(window->windowHandle()->title(), title);
    if (underX11())
        QTRY_COMPARE(titleOnServer(window), title);
}

} // namespace

class TestWindowTitles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowTitles_data();
    void windowTitles();
    void messageBoxTitles_data();
    void messageBoxTitles();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<frmRegistra> m_window;
};

void TestWindowTitles::initTestCase()
{
    // The program's own set-up, as its main() runs it.
    setUpApplication(*qApp);
}

void TestWindowTitles::init()
{
    Prompt::install(nullptr);
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isOpen());
    m_db->addSubject(QStringLiteral("ROSSI MARIO"));
    m_window = std::make_unique<frmRegistra>();
    m_window->show();
}

void TestWindowTitles::cleanup()
{
    m_window.reset();
    m_db.reset();
    Prompt::install(nullptr);
}

void TestWindowTitles::windowTitles_data()
{
    QTest::addColumn<bool>("registry");
    QTest::newRow("main window") << false;
    QTest::newRow("registry window") << true;
}

void TestWindowTitles::windowTitles()
{
    QFETCH(bool, registry);
    if (registry) {
        QVERIFY(clickToolbar(m_window->tbTop, QStringLiteral("Anagrafica")));
        QVERIFY(m_window->registryWindow());
        checkTitle(m_window->registryWindow(), QStringLiteral("Registrazione"));
    } else {
        checkTitle(m_window.get(), QStringLiteral("Registrazione"));
    }
    if (!underX11())
        QSKIP("The title on the window system is read under X11 only");
}

void TestWindowTitles::messageBoxTitles_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("a box with a title of its own") << " Tavelo- ERRORE ";
    QTest::newRow("a box with the application title") << "Tavelo";
}

void TestWindowTitles::messageBoxTitles()
{
    QFETCH(QString, title);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QString seenByProgram;
    QString seenOnHandle;
    QString seenOnServer = QStringLiteral("<not read>");
    // The box is modal: look at it from the event loop that it runs, then close it.
    QTimer watcher;
    watcher.setInterval(50);
    int attempts = 0;
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !box->windowHandle())
            return;
        seenByProgram = box->windowTitle();
        seenOnHandle = box->windowHandle()->title();
        if (underX11()) {
            seenOnServer = titleOnServer(box);
            if (seenOnServer != title && ++attempts < 40)
                return;
        }
        watcher.stop();
        box->accept();
    });
    watcher.start();
    if (title == QLatin1String("Tavelo"))
        showPrompt(m_window.get(), QStringLiteral("Prova"));
    else
        QTest::mouseClick(m_window->Image2, Qt::LeftButton); // no user chosen
    watcher.stop();
    QCOMPARE(seenByProgram, title);
    QCOMPARE(seenOnHandle, title);
    if (!underX11())
        QSKIP("The title on the window system is read under X11 only");
    QCOMPARE(seenOnServer, title);
}

TAVELO_TEST_MAIN(TestWindowTitles)
#include "tst_window_titles.moc"
