// SPDX-License-Identifier: GPL-3.0-or-later
// What the program hands to the desktop: the launcher, files and web addresses.
#include "test_support.h"

#include "widgets/shell_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString launcherText(const QString &folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("Quorvalia.desktop")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString lineStarting(const QString &text, const QString &key)
{
    for (const QString &line : text.split(QLatin1Char('\n')))
        if (line.startsWith(key))
            return line;
    return QString();
}

} // namespace

class TestShellServices : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void desktopShortcutIsWritten();
    void desktopShortcutEscapesProgramPath_data();
    void desktopShortcutEscapesProgramPath();
    void desktopShortcutFailsSilently();
    void openWithShellHandsOverFilesAndAddresses();

private:
    ScriptedPrompt *m_prompt = nullptr;
};

void TestShellServices::init()
{
    m_prompt = ScriptedPrompt::install();
}

void TestShellServices::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    Prompt::install(nullptr);
}

void TestShellServices::desktopShortcutIsWritten()
{
    QTemporaryDir desktop;
    const QString program = desktop.filePath(QStringLiteral("cartella con spazi/tavelo"));
    QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), program));
    const QString link = desktop.filePath(QStringLiteral("Quorvalia.desktop"));
    const QString text = launcherText(desktop.path());
    QVERIFY(text.startsWith(QLatin1String("[Desktop Entry]\n")));
    QVERIFY(text.contains(QStringLiteral("Name=Quorvalia\n")));
    QVERIFY2(text.contains(QStringLiteral("Exec=\"%1\"\n").arg(program)), qPrintable(text));
    QVERIFY(QFile::permissions(link) & QFile::ExeOwner);
    // Unchanged at the next start with the same program: not written again.
    const QDateTime past(QDate(2020, 1, 2), QTime(3, 4, 5));
    {
        QFile stamped(link);
        QVERIFY(stamped.open(QIODevice::ReadWrite));
        QVERIFY(stamped.setFileTime(past, QFileDevice::FileModificationTime));
    }
    QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), program));
    QCOMPARE(QFileInfo(link).lastModified(), past);
    // Refreshed at the next start, not duplicated.
    QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), program + QLatin1Char('2')));
    QCOMPARE(QDir(desktop.path()).entryList(QDir::Files), QStringList({"Quorvalia.desktop"}));
}

// Exec is read through the string escapes first and then through its own quoting, so
// a backslash in the path is written four times and a quote with two backslashes.
void TestShellServices::desktopShortcutEscapesProgramPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("path");
    QTest::newRow("blank") << "cartella con spazi"
                           << "cartella con spazi"
                           << "cartella con spazi";
    QTest::newRow("backslash") << "a\\b"
                               << "a\\\\\\\\b"
                               << "a\\\\b";
    QTest::newRow("quote") << "a\"b"
                           << "a\\\\\"b"
                           << "a\"b";
    QTest::newRow("dollar") << "a$b"
                            << "a\\\\$b"
                            << "a$b";
    QTest::newRow("backtick") << "a`b"
                              << "a\\\\`b"
                              << "a`b";
    QTest::newRow("percent") << "100%"
                             << "100%%"
                             << "100%";
    QTest::newRow("blank, backslash and quote") << "cartella con spazi\\a\"b"
                                                << "cartella con spazi\\\\\\\\a\\\\\"b"
                                                << "cartella con spazi\\\\a\"b";
}

void TestShellServices::desktopShortcutEscapesProgramPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, exec);
    QFETCH(QString, path);
    QTemporaryDir desktop;
    QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(),
                                  QStringLiteral("/opt/%1/tavelo").arg(folder)));
    const QString text = launcherText(desktop.path());
    QCOMPARE(lineStarting(text, QStringLiteral("Exec=")),
             QStringLiteral("Exec=\"/opt/%1/tavelo\"").arg(exec));
    QCOMPARE(lineStarting(text, QStringLiteral("Path=")), QStringLiteral("Path=/opt/%1").arg(path));
}

void TestShellServices::desktopShortcutFailsSilently()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("Scrivania"));
    QVERIFY(!CreateDesktopShortcut(missing, desktopLinkName(), QStringLiteral("/bin/true")));
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(!CreateDesktopShortcut(QString(), desktopLinkName(), QStringLiteral("/bin/true")));
    QCOMPARE(m_prompt->shown().size(), 0);
}

void TestShellServices::openWithShellHandsOverFilesAndAddresses()
{
    UrlRecorder recorder;
    OpenWithShell(nullptr, QStringLiteral("/percorso con spazi/Istruzioni.pdf"));
    OpenWithShell(nullptr, QString::fromLatin1(authorWebAddress));
    QCOMPARE(recorder.urls().size(), 2);
    QCOMPARE(recorder.urls().at(0).toLocalFile(),
             QStringLiteral("/percorso con spazi/Istruzioni.pdf"));
    QCOMPARE(recorder.urls().at(1), QUrl(QString::fromLatin1(authorWebAddress)));
}

TAVELO_TEST_MAIN(TestShellServices)
#include "tst_shell_services.moc"
