// SPDX-License-Identifier: GPL-3.0-or-later
#include "import_command/import_command.h"

#include "core/command_line.h"
#include "legacy/legacy_import.h"
#include "storage/db_connection.h"
#include "storage/server_archive.h"

#include <QDir>
#include <QTextStream>

namespace {

QString usageText()
{
    return QStringLiteral(
        "Porta in Tavelo l'archivio della versione precedente (Database.mdb): soggetti,\n"
        "scadenzario e data di versione, con i loro ID. Il file dei dati viene creato dove\n"
        "il programma lo cerca, o in quello indicato con --dati. Un file che contiene già\n"
        "dei dati non viene sostituito senza --sostituisci; in quel caso prima ne viene\n"
        "fatta una copia di sicurezza nella cartella Backup accanto.\n\n"
        "Esempi:\n"
        "  tavelo-import Database.mdb\n"
        "  tavelo-import --dati /percorso/Database.sqlite Database.mdb\n"
        "  tavelo-import --sostituisci Database.mdb\n\n"
        "Con --server porta su un server PostgreSQL anche il file dei dati di Tavelo\n"
        "(Database.sqlite), con i suoi ID:\n"
        "  tavelo-import --server \"host=server dbname=tavelo user=ufficio\" Database.sqlite\n");
}

} // namespace

int runImportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine command(
        QStringLiteral("tavelo-import"),
        QStringLiteral("Uso: tavelo-import [--dati file | --server connessione] [--sostituisci] "
                       "<Database.mdb>\n"),
        QStringLiteral("Il file dei dati da creare (se manca: quello che userebbe il "
                       "programma, %1).")
            .arg(QDir::toNativeSeparators(DbConnection::locateDataFile())));
    QCommandLineParser &parser = command.parser;
    const QCommandLineOption &dataOption = command.dataOption;
    const QCommandLineOption replaceOption(
        QStringLiteral("sostituisci"),
        QStringLiteral("Sostituisce un file dei dati che contiene già dei dati, dopo averne "
                       "fatto una copia di sicurezza."));
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("L'archivio su un server PostgreSQL che riceve i dati (stringa di "
                       "connessione; se manca, quello delle impostazioni, se c'è)."),
        QStringLiteral("connessione"));
    parser.addOption(serverOption);
    parser.addOption(replaceOption);
    parser.addPositionalArgument(QStringLiteral("mdb"),
                                 QStringLiteral("Il Database.mdb della versione precedente."));

    if (!command.parse(arguments, err))
        return CommandUsage;
    if (parser.isSet(command.helpOption)) {
        command.printHelp(out, usageText(),
                          {{QStringLiteral("--server <connessione>"), serverOption.description()},
                           {QStringLiteral("--sostituisci"), replaceOption.description()}});
        return CommandDone;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return command.usageError(
            err, QStringLiteral("serve un solo file, il Database.mdb da importare."));
    const QString dataOptionValue = parser.value(dataOption);
    if (parser.isSet(dataOption) && dataOptionValue.isEmpty())
        return command.usageError(err, QStringLiteral("--dati vuole il nome di un file."));
    if (parser.isSet(dataOption) && parser.isSet(serverOption))
        return command.usageError(
            err, QStringLiteral("--dati e --server non vanno insieme: scegliere l'uno o l'altro."));
    if (parser.isSet(serverOption) && parser.value(serverOption).trimmed().isEmpty())
        return command.usageError(err,
                                  QStringLiteral("--server vuole una stringa di connessione."));

    LegacyImportRequest request;
    // A file named on the command line wins over the server of the settings.
    request.server = parser.isSet(serverOption) ? parser.value(serverOption).trimmed()
                     : parser.isSet(dataOption) ? QString()
                                                : configuredServer();
    request.legacyFile = positional.first();
    request.dataFile = parser.isSet(dataOption) ? dataOptionValue : DbConnection::locateDataFile();
    request.replaceExisting = parser.isSet(replaceOption);

    // Tavelo's own data file goes onto a server as it is.
    const bool dataFile = isSqliteFile(request.legacyFile);
    if (dataFile && request.server.isEmpty()) {
        err << "tavelo-import: «" << request.legacyFile
            << "» è già un file dei dati di Tavelo: si copia solo su un server (--server).\n";
        return CommandUsage;
    }
    ProgressLine progress(err, QStringLiteral("tavelo-import"), 1000);
    const auto import = dataFile ? copyDataFileToServer : importLegacyFile;
    const Outcome<LegacyImportSummary> imported =
        import(request, [&](const QString &table, int done, int total) {
            progress.report(QStringLiteral("%1: %2 di %3 righe…").arg(table).arg(done).arg(total));
        });
    if (!imported.ok()) {
        err << "tavelo-import: importazione non riuscita, nessun dato è stato scritto.\n"
            << imported.problem << "\n";
        return CommandFailed;
    }
    const LegacyImportSummary &summary = imported.value;
    out << "Importato «" << request.legacyFile << "» in «"
        << (request.server.isEmpty() ? request.dataFile : describeServer(request.server)) << "» in "
        << QString::number(summary.milliseconds / 1000.0, 'f', 1) << " s:\n"
        << importSummaryText(summary)
        << (request.server.isEmpty() ? "  controllo di integrità: ok\n" : "");
    return CommandDone;
}
