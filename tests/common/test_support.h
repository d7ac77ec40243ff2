// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/activation.h"
#include "widgets/prompt.h"

#include <QApplication>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <deque>

class QTextStream;

// What a screen reader hears as the control's name, through its accessible interface.
QString readerName(QWidget *control);

// The control with this object name, or else the one that the operator finds by this
// caption (as a screen reader names it, labels aside): of a toggle and a button that read
// alike, the button.
QWidget *findControl(QWidget *window, const QString &name);

// Runs a statement on the open archive through a connection of its own, as another desk
// (a second program) does.
bool execAtSecondDesk(const QString &sql);

// Every test program runs with its own home folder (so that the desktop launcher and
// the data folder are private to it), in Italian, offscreen.
void prepareTestEnvironment();

#define TAVELO_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        prepareTestEnvironment();                                                                  \
        QApplication app(argc, argv);                                                              \
        QApplication::setApplicationName(QStringLiteral("Tavelo"));                                \
        QApplication::setQuitOnLastWindowClosed(false);                                            \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// The test server's connection string (started by scripts/test-server) when the test
// program runs on the server (TAVELO_TEST_SERVER_FILE names the file that holds it), for
// a database of this test program's own; empty when it runs on a file. A server that
// was asked for and cannot be reached ends the program with a failure.
QString testServerConnection();
// Empties the test program's database on the server (every table and collation).
void resetTestServerDatabase();

// A fresh data file in a temporary folder (or a fresh database on the test server),
// opened as the program's connection.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase() { DbConnection::instance().close(); }

    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }

    // Adds a subject; flag "S" marks a user. Returns the new ID.
    qint64 addSubject(const QString &name, const QString &flag = QStringLiteral("S"),
                      const QString &code = QString());
    qint64 addEntry(qint64 user, const QDate &data, const QDate &scadenza, const QString &oggetto,
                    const QString &ndoc = QString());
    // Runs one statement directly, for setting up what the program's statements cannot.
    bool exec(const QString &sql);
    // Makes the archive refuse every `event` (INSERT, UPDATE, DELETE) on the table with
    // this message, as a full disk or a locked file would: a trigger, in the engine's
    // own words.
    bool refuseWrites(const QString &table, const QString &event, const QString &message);
    int count(const QString &table);

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_open = false;
};

// The first column of each row of a query on the program's connection; "error" when the
// query fails.
QStringList columnOf(const QString &sql);

// Runs statements on a data file through a connection of its own, as another program
// would (read-only when asked); gives the first column of the last one's rows.
QStringList queryFile(const QString &path, const QStringList &statements, bool *ok = nullptr,
                      bool readOnly = false);

// Writes the bytes as the whole file; false when they are not all written.
bool writeFile(const QString &path, const QByteArray &bytes);

// A file's or folder's permission bits (as 0600), or -1 when it is not there.
int fileMode(const QString &path);

// The SHA-256 of a file's bytes; empty when it cannot be read.
QByteArray fileSha256(const QString &path);

// What one of the program's commands gave back: its exit status and what it wrote.
struct CommandRun
{
    int status = -1;
    QString out, err;
};

// Runs a command in-process, as its main() does, with these arguments after its name.
using CommandFunction = int (*)(const QStringList &, QTextStream &, QTextStream &);
CommandRun runCommandInProcess(CommandFunction command, const QString &name,
                               const QStringList &arguments);

QString legacyDatabasePath();

// Answers message boxes from a script and records each one. A box that comes when
// no answer is left is recorded as unexpected and answered with OK or No.
class ScriptedPrompt : public Prompt
{
public:
    // Installs a new scripted prompt as the program's, and returns it.
    static ScriptedPrompt *install();

    void answer(PromptAnswer answer) { m_answers.push_back(answer); }
    PromptAnswer ask(QWidget *owner, const PromptRequest &request) override;

    const QList<PromptRequest> &shown() const { return m_shown; }
    int unexpected() const { return m_unexpected; }

private:
    std::deque<PromptAnswer> m_answers;
    QList<PromptRequest> m_shown;
    int m_unexpected = 0;
};

// The frame of most tests: message boxes answered from m_prompt's script; after each
// test, none came unexpected and the archive is closed.
class PromptedTest : public QObject
{
    Q_OBJECT

protected slots:
    void init() { m_prompt = ScriptedPrompt::install(); }
    void cleanup()
    {
        const int unexpected = m_prompt->unexpected();
        DbConnection::instance().close();
        Prompt::install(nullptr);
        QCOMPARE(unexpected, 0);
    }

protected:
    ScriptedPrompt *m_prompt = nullptr;
};

// Records the statuses with which the program asked to end.
struct ProgramEndRecorder
{
    ProgramEndRecorder()
    {
        setProgramEndHandler([this](int status) { statuses.append(status); });
    }
    ~ProgramEndRecorder() { setProgramEndHandler({}); }
    QList<int> statuses;
};

// Catches what the program hands to the desktop (files and web addresses).
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    UrlRecorder();
    ~UrlRecorder() override;
    const QList<QUrl> &urls() const { return m_urls; }

public slots:
    void open(const QUrl &url) { m_urls.append(url); }

private:
    QList<QUrl> m_urls;
};
