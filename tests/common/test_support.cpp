// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include "core/activation.h"
#include "import_command/legacy_import.h"
#include "storage/db_connection.h"

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

void prepareTestEnvironment()
{
    static QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", QDir(home.path()).filePath(QStringLiteral(".local/share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral(".config")).toUtf8());
    qunsetenv("XDG_DESKTOP_DIR");
    QDir(home.path()).mkpath(QStringLiteral("Desktop"));
    // Offscreen, unless the test is run to see a real window system (TAVELO_TEST_QPA).
    const QByteArray platform = qgetenv("TAVELO_TEST_QPA");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void DataFileTest::prepare()
{
    prompt = ScriptedPrompt::install();
}

int DataFileTest::finish()
{
    const int unexpected = prompt ? prompt->unexpected() : 0;
    DbConnection::instance().close();
    Prompt::install(nullptr);
    prompt = nullptr;
    return unexpected;
}

QByteArray fileSha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

CommandRun runCommandInProcess(CommandFunction command, const QString &name,
                               const QStringList &arguments)
{
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = command(QStringList{name} + arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

TestDatabase::TestDatabase() : m_path(m_dir.filePath(QStringLiteral("Database.sqlite")))
{
    QString problem;
    m_open = DbConnection::instance().open(m_path, &problem);
    if (!m_open)
        qWarning("test database: %s", qPrintable(problem));
}

TestDatabase::~TestDatabase()
{
    DbConnection::instance().close();
}

qint64 TestDatabase::addSubject(const QString &name, const QString &flag, const QString &code)
{
    Subject s;
    s.soggetto = name;
    s.utente = flag;
    s.codice = code.isEmpty() ? QStringLiteral("CODICE-") + name : code;
    s.pwd = flag.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 ? QStringLiteral("pw")
                                                                       : QString();
    const Result<qint64> id = insertSubject(s);
    if (!id.ok())
        qWarning("addSubject: %s", qPrintable(id.error.text()));
    return id.value;
}

qint64 TestDatabase::addEntry(qint64 user, const QDate &data, const QDate &scadenza,
                              const QString &oggetto, const QString &ndoc)
{
    DiaryEntry e;
    e.utente = user;
    e.data = data;
    e.scadenza = scadenza;
    e.oggetto = oggetto;
    e.ndoc = ndoc;
    e.agg = data;
    const Result<qint64> id = insertDiaryEntry(e);
    if (!id.ok())
        qWarning("addEntry: %s", qPrintable(id.error.text()));
    return id.value;
}

bool TestDatabase::exec(const QString &sql)
{
    QSqlQuery query(DbConnection::instance().database());
    if (!query.exec(sql)) {
        qWarning("exec: %s", qPrintable(query.lastError().text()));
        return false;
    }
    return true;
}

int TestDatabase::count(const QString &table)
{
    QSqlQuery query(DbConnection::instance().database());
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !query.next())
        return -1;
    return query.value(0).toInt();
}

QString legacyDatabasePath()
{
    const QString folder =
        qEnvironmentVariable("TAVELO_FIXTURES", QStringLiteral(TAVELO_FIXTURES_DIR));
    return QDir(folder).filePath(QStringLiteral("legacy_database.mdb"));
}

bool importLegacyDatabase(const QString &mdbPath, QString *problem)
{
    // The program's own import, into the open (empty) data file, which is open again
    // afterwards.
    LegacyImportRequest request;
    request.legacyFile = mdbPath;
    request.dataFile = DbConnection::instance().filePath();
    LegacyImportSummary summary;
    return importLegacyFile(request, &summary, problem) &&
           DbConnection::instance().open(request.dataFile, problem);
}

ScriptedPrompt *ScriptedPrompt::install()
{
    auto prompt = std::make_unique<ScriptedPrompt>();
    ScriptedPrompt *raw = prompt.get();
    Prompt::install(std::move(prompt));
    return raw;
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

void ScriptedPrompt::clear()
{
    m_answers.clear();
    m_shown.clear();
    m_unexpected = 0;
}

ProgramEndRecorder::ProgramEndRecorder()
{
    setProgramEndHandler([this](int status) { m_statuses.append(status); });
}

ProgramEndRecorder::~ProgramEndRecorder()
{
    setProgramEndHandler({});
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
