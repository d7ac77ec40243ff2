// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher that the program places on the desktop at every start.
#include "test_support.h"

#include "widgets/shell_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

class TestShellServices : public QObject
{
    Q_OBJECT

private slots:
    void launcherEscapesProgramPath_data();
    void launcherEscapesProgramPath();
};

// Exec is read through the string escapes first and then through its own quoting, so
// a backslash in the path is written four times and a quote with two backslashes.
void TestShellServices::launcherEscapesProgramPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("execAndPath");
    QTest::newRow("backslash") << "a\\b" << QStringList{"a\\\\\\\\b", "a\\\\b"};
    QTest::newRow("quote") << "a\"b" << QStringList{"a\\\\\"b", "a\"b"};
    QTest::newRow("dollar") << "a$b" << QStringList{"a\\\\$b", "a$b"};
    QTest::newRow("backtick") << "a`b" << QStringList{"a\\\\`b", "a`b"};
    QTest::newRow("percent") << "100%" << QStringList{"100%%", "100%"};
    QTest::newRow("blank, backslash and quote")
        << "con spazi\\a\"b" << QStringList{"con spazi\\\\\\\\a\\\\\"b", "con spazi\\\\a\"b"};
}

void TestShellServices::launcherEscapesProgramPath()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, execAndPath);
    QTemporaryDir desktop;
    const QString link = desktop.filePath(QStringLiteral("Quorvalia.desktop"));
    const QString program = QStringLiteral("/opt/%1/tavelo").arg(folder);
    // Written over an older launcher, which it replaces.
    QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), QStringLiteral("/opt/x")));
    QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), program));
    QFile file(link);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.startsWith(QLatin1String("[Desktop Entry]\n")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("\nName=Quorvalia\n")));
    QVERIFY2(text.contains(QStringLiteral("\nExec=\"/opt/%1/tavelo\"\n").arg(execAndPath.first())),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("\nPath=/opt/%1\n").arg(execAndPath.last())),
             qPrintable(text));
    QVERIFY(file.permissions() & QFile::ExeOwner);
    QCOMPARE(QDir(desktop.path()).entryList(QDir::Files), QStringList({"Quorvalia.desktop"}));
    // Unchanged at the next start with the same program: not written again.
    const QDateTime past(QDate(2020, 1, 2), QTime(3, 4, 5));
    QVERIFY(file.setFileTime(past, QFileDevice::FileModificationTime));
    file.close();
    QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), program));
    QCOMPARE(QFileInfo(link).lastModified(), past);
    // Without a desktop folder there is no desktop to place it on.
    const QString missing = desktop.filePath(QStringLiteral("Scrivania"));
    QVERIFY(!CreateDesktopShortcut(missing, desktopLinkName(), program));
    QVERIFY(!QFileInfo::exists(missing));
}

TAVELO_TEST_MAIN(TestShellServices)
#include "tst_shell_services.moc"
