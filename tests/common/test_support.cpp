// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include "storage/italian_collation.h"

#include <QAccessible>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QLabel>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTextStream>

#include <sys/stat.h>

namespace {

// Runs statements through a connection of its own (a driver, a file, the connection's
// options), as another program or desk would; gives the first column of the last one's rows.
QStringList queryAside(const QString &driver, const QString &file, const QString &options,
                       const QStringList &statements, bool *ok = nullptr)
{
    const QString name = QStringLiteral("tavelo-aside");
    QStringList texts;
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        db.setDatabaseName(file);
        db.setConnectOptions(options);
        // As the program opens a file: the registry's index sorts through the collation.
        done = db.open() && (driver != QLatin1String("QSQLITE") || registerItalianCollation(db));
        QSqlQuery query(db);
        for (const QString &sql : statements)
            done = done && query.exec(sql);
        while (done && query.next())
            texts << query.value(0).toString();
        if (!done)
            qWarning("a connection aside: %s",
                     qPrintable((db.isOpen() ? query.lastError() : db.lastError()).text()));
    }
    QSqlDatabase::removeDatabase(name);
    if (ok)
        *ok = done;
    return texts;
}

bool runOnServer(const QString &connection, const QStringList &statements)
{
    bool ok = false;
    queryAside(QStringLiteral("QPSQL"), {}, QString(connection).replace(' ', ';'), statements, &ok);
    return ok;
}

} // namespace

QString readerName(QWidget *control)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
    return face ? face->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

QWidget *findControl(QWidget *window, const QString &name)
{
    if (QWidget *named = window->findChild<QWidget *>(name))
        return named;
    QWidget *found = nullptr;
    for (QWidget *control : window->findChildren<QWidget *>())
        if (control->isVisible() && !qobject_cast<QLabel *>(control) &&
            readerName(control) == name && (!found || found->property("checkable").toBool()))
            found = control;
    return found;
}

bool execAtSecondDesk(const QString &sql)
{
    const QSqlDatabase program = DbConnection::instance().database();
    bool ran = false;
    queryAside(program.driverName(), program.databaseName(), program.connectOptions(), {sql}, &ran);
    return ran;
}

void prepareTestEnvironment()
{
    static QTemporaryDir home;
    const QDir dir(home.path());
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral(".local/share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral(".config")).toUtf8());
    qunsetenv("XDG_DESKTOP_DIR");
    dir.mkpath(QStringLiteral("Desktop"));
    // Offscreen, unless the test is run to see a real window system (TAVELO_TEST_QPA).
    const QByteArray platform = qgetenv("TAVELO_TEST_QPA");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    // The usual umask, whatever the shell's: a mode left to it shows as 0644 or 0755.
    ::umask(022);
}

QStringList columnOf(const QString &sql)
{
    QSqlQuery query(DbConnection::instance().database());
    QStringList values;
    for (bool ran = query.exec(sql); !ran || query.next(); ran = true)
        values << (ran ? query.value(0).toString() : QStringLiteral("error"));
    return values;
}

QStringList queryFile(const QString &path, const QStringList &statements, bool *ok, bool readOnly)
{
    return queryAside(QStringLiteral("QSQLITE"), path,
                      readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString(), statements,
                      ok);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int fileMode(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

QByteArray fileSha256(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

CommandRun runCommandInProcess(CommandFunction command, const QString &name,
                               const QStringList &arguments)
{
    CommandRun run;
    QTextStream out(&run.out), err(&run.err);
    run.status = command(QStringList{name} + arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

QString testServerConnection()
{
    static const QString connection = [] {
        const QString stateFile = qEnvironmentVariable("TAVELO_TEST_SERVER_FILE");
        if (stateFile.isEmpty())
            return QString();
        QFile state(stateFile);
        if (!state.open(QIODevice::ReadOnly))
            qFatal("the test server was asked for, but %s does not exist: did scripts/test-server "
                   "start fail?",
                   qPrintable(stateFile));
        const QString base = QString::fromUtf8(state.readAll()).trimmed();
        const QString name = QStringLiteral("test_%1").arg(QCoreApplication::applicationPid());
        if (!runOnServer(base + QStringLiteral(" dbname=postgres"),
                         {QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name),
                          QStringLiteral("CREATE DATABASE %1").arg(name)}))
            qFatal("the test server cannot be reached through «%s»", qPrintable(base));
        return base + QStringLiteral(" dbname=") + name;
    }();
    return connection;
}

void resetTestServerDatabase()
{
    DbConnection::instance().close();
    if (!runOnServer(testServerConnection(), {QStringLiteral("SET client_min_messages = warning"),
                                              QStringLiteral("DROP SCHEMA public CASCADE"),
                                              QStringLiteral("CREATE SCHEMA public")}))
        qFatal("the test database on the server cannot be emptied");
}

TestDatabase::TestDatabase() : m_path(m_dir.filePath(QStringLiteral("Database.sqlite")))
{
    const bool onServer = !testServerConnection().isEmpty();
    if (onServer) {
        resetTestServerDatabase();
        m_path.clear();
    }
    const Check opened = onServer ? DbConnection::instance().openServer(testServerConnection())
                                  : DbConnection::instance().open(m_path);
    if (!(m_open = opened.ok()) && onServer)
        qFatal("test database on the server: %s", qPrintable(opened.problem));
    if (!m_open)
        qWarning("test database: %s", qPrintable(opened.problem));
}

qint64 TestDatabase::addSubject(const QString &name, const QString &flag, const QString &code)
{
    Subject s;
    s.soggetto = name;
    s.utente = flag;
    s.codice = code.isEmpty() ? "CODICE-" + name : code;
    s.pwd = flag.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 ? "pw" : QString();
    const Result<qint64> id = insertSubject(s);
    if (!id.ok())
        qWarning("adding a subject: %s", qPrintable(id.error.text()));
    return id.value;
}

qint64 TestDatabase::addEntry(qint64 user, const QDate &data, const QDate &scadenza,
                              const QString &oggetto, const QString &ndoc)
{
    const Result<qint64> id =
        insertDiaryEntry({0, data, scadenza, oggetto, ndoc, user, data, {}, {}});
    if (!id.ok())
        qWarning("adding an entry: %s", qPrintable(id.error.text()));
    return id.value;
}

bool TestDatabase::exec(const QString &sql)
{
    QSqlQuery query(DbConnection::instance().database());
    const bool ok = query.exec(sql);
    if (!ok)
        qWarning("exec: %s", qPrintable(query.lastError().text()));
    return ok;
}

bool TestDatabase::refuseWrites(const QString &table, const QString &event, const QString &message)
{
    const QString name = QStringLiteral("Rifiuta%1%2").arg(table, event);
    if (!DbConnection::instance().isServer())
        return exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN "
                                   "SELECT RAISE(ABORT, '%4'); END")
                        .arg(name, event, table, message));
    return exec(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                               "$body$ BEGIN RAISE EXCEPTION '%2'; END $body$")
                    .arg(name, message)) &&
           exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW "
                               "EXECUTE FUNCTION %1()")
                    .arg(name, event, table));
}

int TestDatabase::count(const QString &table)
{
    bool ok = false;
    const int rows = columnOf(QStringLiteral("SELECT COUNT(*) FROM ") + table).value(0).toInt(&ok);
    return ok ? rows : -1;
}

QString legacyDatabasePath()
{
    const QString folder =
        qEnvironmentVariable("TAVELO_FIXTURES", QStringLiteral(TAVELO_FIXTURES_DIR));
    return QDir(folder).filePath(QStringLiteral("legacy_database.mdb"));
}

ScriptedPrompt *ScriptedPrompt::install()
{
    auto *prompt = new ScriptedPrompt;
    Prompt::install(std::unique_ptr<Prompt>(prompt));
    return prompt;
}

PromptAnswer ScriptedPrompt::ask(QWidget *, const PromptRequest &request)
{
    m_shown.append(request);
    if (m_answers.empty()) {
        ++m_unexpected;
        qWarning("unexpected message box: %s", qPrintable(request.text));
        return request.buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
    const PromptAnswer next = m_answers.front();
    m_answers.pop_front();
    return next;
}

UrlRecorder::UrlRecorder()
{
    for (const char *scheme : {"file", "http", "https"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
}

UrlRecorder::~UrlRecorder()
{
    for (const char *scheme : {"file", "http", "https"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}
