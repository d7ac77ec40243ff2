// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_command/report_command.h"

#include "calendar/deadline_calendar.h"
#include "core/command_line.h"
#include "reports/report_sources.h"
#include "storage/db_connection.h"
#include "storage/server_archive.h"
#include "storage/statements.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

QString usageText()
{
    return QStringLiteral(
        "Stampa un report di Tavelo in un file PDF.\n\n"
        "report:\n"
        "  anagrafe        l'elenco di tutti i soggetti dell'anagrafica\n"
        "  scheda          la scheda di un utente (con --id)\n"
        "  schedautenti    le scadenze di tutti gli utenti\n"
        "  calendario      le scadenze in un file iCalendar (.ics), con promemoria,\n"
        "                  per i calendari del computer e del telefono (--id: di un utente;\n"
        "                  --tutte: anche quelle passate da tempo)\n\n"
        "Esempi:\n"
        "  tavelo-report schedautenti scadenze.pdf\n"
        "  tavelo-report scheda --id 12 scheda-rossi.pdf\n"
        "  tavelo-report calendario scadenze.ics\n"
        "  tavelo-report --dati /percorso/Database.sqlite anagrafe anagrafe.pdf\n");
}

int writeCalendar(const QString &path, std::optional<qint64> userId, CalendarSpan span,
                  ProgressLine &progress, QTextStream &out, QTextStream &err)
{
    const Outcome<int> written = writeDeadlineCalendar(path, userId, span, [&](int done) {
        progress.report(QStringLiteral("scritte %1 scadenze…").arg(done));
    });
    DbConnection::instance().close();
    if (!written.ok()) {
        err << "tavelo-report: " << written.problem << "\n";
        return CommandFailed;
    }
    const int events = written.value;
    out << path << ": " << events << (events == 1 ? " scadenza\n" : " scadenze\n");
    return CommandDone;
}

// The path with links, "." and ".." resolved, also for a file that does not exist yet.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

// Two names of one file, hard links included.
bool sameFile(const QString &a, const QString &b)
{
    if (resolvedPath(a) == resolvedPath(b))
        return true;
#ifdef Q_OS_UNIX
    struct stat first;
    struct stat second;
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#else
    return false;
#endif
}

// The PDF replaces whatever file its path names: never the data file or the files
// that SQLite keeps beside it, never a device, folder or pipe.
QString outputProblem(const QString &pdfPath, const QString &dataPath)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"}) {
        if (sameFile(pdfPath, dataPath + QLatin1String(suffix)))
            return QStringLiteral("il file da scrivere «%1» è il file dei dati «%2» (o uno dei "
                                  "suoi file di lavoro): scegliere un altro nome.")
                .arg(pdfPath, dataPath + QLatin1String(suffix));
    }
    const QFileInfo output(pdfPath);
    if (output.exists() && !output.isFile())
        return QStringLiteral("«%1» esiste e non è un file normale (una cartella, un dispositivo "
                              "o simili): scegliere un altro nome.")
            .arg(pdfPath);
    return QString();
}

} // namespace

int runReportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine command(
        QStringLiteral("tavelo-report"),
        QStringLiteral("Uso: tavelo-report [--dati file | --server connessione] [--id ID] "
                       "<report> <file>\n"),
        QStringLiteral("Il file dei dati (se manca: quello che userebbe il programma, %1).")
            .arg(DbConnection::locateDataFile()));
    QCommandLineParser &parser = command.parser;
    const QCommandLineOption &dataOption = command.dataOption;
    parser.setApplicationDescription(usageText());
    const QCommandLineOption idOption(
        QStringLiteral("id"),
        QStringLiteral("L'ID del soggetto: la sua scheda, o le sue scadenze nel calendario."),
        QStringLiteral("ID"));
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("L'archivio su un server PostgreSQL (stringa di connessione; se manca, "
                       "quello delle impostazioni, se c'è)."),
        QStringLiteral("connessione"));
    const QCommandLineOption everyOption(
        QStringLiteral("tutte"),
        QStringLiteral("Nel calendario ogni scadenza, anche quelle passate da più dei giorni "
                       "della chiave «%1» delle impostazioni (60 se manca).")
            .arg(calendarDaysBackKey()));
    parser.addOption(idOption);
    parser.addOption(serverOption);
    parser.addOption(everyOption);
    parser.addPositionalArgument(QStringLiteral("report"),
                                 QStringLiteral("anagrafe, scheda, schedautenti o calendario."));
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("Il file da scrivere (PDF, o .ics per il calendario)."));

    if (!command.parse(arguments, err))
        return CommandUsage;
    if (parser.isSet(command.helpOption)) {
        command.printHelp(out, usageText(),
                          {{QStringLiteral("--server <connessione>"), serverOption.description()},
                           {QStringLiteral("--id <ID>"), idOption.description()},
                           {QStringLiteral("--tutte"), everyOption.description()}});
        return CommandDone;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return command.usageError(
            err, QStringLiteral("servono il nome del report e il file da scrivere."));
    const QString report = positional.at(0).toLower();
    const QString pdfPath = positional.at(1);
    if (report != QLatin1String("anagrafe") && report != QLatin1String("scheda") &&
        report != QLatin1String("schedautenti") && report != QLatin1String("calendario")) {
        err << "tavelo-report: report sconosciuto «" << positional.at(0)
            << "»: scegliere anagrafe, scheda, schedautenti o calendario.\n";
        return CommandUsage;
    }
    bool idOk = false;
    const qint64 id = parser.value(idOption).toLongLong(&idOk);
    if (report == QLatin1String("scheda") && (!idOk || id <= 0)) {
        err << "tavelo-report: la scheda vuole l'ID del soggetto: --id <ID> (un numero).\n";
        return CommandUsage;
    }
    const bool calendar = report == QLatin1String("calendario");
    if (calendar && parser.isSet(idOption) && (!idOk || id <= 0)) {
        err << "tavelo-report: --id vuole l'ID del soggetto (un numero).\n";
        return CommandUsage;
    }
    if (report != QLatin1String("scheda") && !calendar && parser.isSet(idOption)) {
        err << "tavelo-report: --id vale solo per la scheda e il calendario.\n";
        return CommandUsage;
    }
    if (!calendar && parser.isSet(everyOption)) {
        err << "tavelo-report: --tutte vale solo per il calendario.\n";
        return CommandUsage;
    }

    if (parser.isSet(dataOption) && parser.isSet(serverOption))
        return command.usageError(
            err, QStringLiteral("--dati e --server non vanno insieme: scegliere l'uno o l'altro."));
    // A file named on the command line wins over the server of the settings.
    const QString server = parser.isSet(serverOption) ? parser.value(serverOption).trimmed()
                           : parser.isSet(dataOption) ? QString()
                                                      : configuredServer();
    if (parser.isSet(serverOption) && server.isEmpty())
        return command.usageError(err,
                                  QStringLiteral("--server vuole una stringa di connessione."));
    const QString dataPath =
        parser.isSet(dataOption) ? parser.value(dataOption) : DbConnection::locateDataFile();
    // A report never creates a data file: a wrong path must not leave an empty one.
    if (server.isEmpty() && !QFileInfo(dataPath).isFile()) {
        err << "tavelo-report: il file dei dati «" << dataPath << "» non esiste.\n";
        return CommandFailed;
    }
    const QString refused = server.isEmpty() ? outputProblem(pdfPath, dataPath) : QString();
    if (!refused.isEmpty()) {
        err << "tavelo-report: " << refused << "\n";
        return CommandFailed;
    }
    // The report only reads: the file keeps every byte, even without the indexes that
    // the program adds, and a file in a read-only folder can be printed too.
    const Check opened =
        server.isEmpty()
            ? DbConnection::instance().open(dataPath, DbConnection::OpenMode::ReadOnly)
            : DbConnection::instance().openServer(server, DbConnection::OpenMode::ReadOnly);
    if (!opened.ok()) {
        err << "tavelo-report: " << opened.problem << "\n";
        return CommandFailed;
    }

    ReportKind kind = report == QLatin1String("anagrafe")       ? ReportKind::Registry
                      : report == QLatin1String("schedautenti") ? ReportKind::AllUsers
                                                                : ReportKind::UserCard;
    QString userName;
    const bool oneSubject =
        report == QLatin1String("scheda") || (calendar && parser.isSet(idOption));
    if (oneSubject) {
        const Result<std::optional<Subject>> subject = findSubjectById(id);
        if (!subject.ok() || !subject.value) {
            err << "tavelo-report: "
                << (subject.ok() ? QStringLiteral("nessun soggetto con ID %1 nel file «%2».")
                                       .arg(id)
                                       .arg(DbConnection::instance().archiveName())
                                 : databaseErrorMessage(subject.error))
                << "\n";
            DbConnection::instance().close();
            return CommandFailed;
        }
        userName = subject.value->soggetto;
    }
    ProgressLine progress(err, QStringLiteral("tavelo-report"), 2000);
    if (calendar)
        return writeCalendar(
            pdfPath, parser.isSet(idOption) ? std::optional<qint64>(id) : std::nullopt,
            parser.isSet(everyOption) ? CalendarSpan::Everything : CalendarSpan::Ahead, progress,
            out, err);
    int pages = 0;
    const Check written =
        writeReportToPdf(kind, id, userName, pdfPath, [&](int page, int pageCount) {
            pages = pageCount;
            progress.report(
                pageCount == 0
                    ? QStringLiteral("impaginate %1 pagine…").arg(page)
                    : QStringLiteral("scritte %1 di %2 pagine…").arg(page).arg(pageCount));
            return true;
        });
    DbConnection::instance().close();
    if (!written.ok()) {
        err << "tavelo-report: " << written.problem << "\n";
        return CommandFailed;
    }
    out << pdfPath << ": " << pages << (pages == 1 ? " pagina\n" : " pagine\n");
    return CommandDone;
}
