// SPDX-License-Identifier: GPL-3.0-or-later
#include "import_command/import_command.h"

#include "import_command/legacy_import.h"
#include "storage/db_connection.h"
#include "storage/server_archive.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

enum Status { Done = 0, Failed = 1, Usage = 2 };

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

// A line on stderr now and then while a large file comes across.
class ProgressLine
{
public:
    explicit ProgressLine(QTextStream &err) : m_err(err) { m_clock.start(); }

    void report(const QString &table, int done, int total)
    {
        if (m_clock.elapsed() < m_next)
            return;
        m_next = m_clock.elapsed() + 1000;
        m_err << "tavelo-import: " << table << ": " << done << " di " << total << " righe…"
              << Qt::endl;
    }

private:
    QTextStream &m_err;
    QElapsedTimer m_clock;
    qint64 m_next = 1000;
};

} // namespace

int runImportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Mostra questo aiuto."));
    const QCommandLineOption dataOption(
        {QStringLiteral("d"), QStringLiteral("dati")},
        QStringLiteral("Il file dei dati da creare (se manca: quello che userebbe il "
                       "programma, %1).")
            .arg(QDir::toNativeSeparators(DbConnection::locateDataFile())),
        QStringLiteral("file"));
    const QCommandLineOption replaceOption(
        QStringLiteral("sostituisci"),
        QStringLiteral("Sostituisce un file dei dati che contiene già dei dati, dopo averne "
                       "fatto una copia di sicurezza."));
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("L'archivio su un server PostgreSQL che riceve i dati (stringa di "
                       "connessione; se manca, quello delle impostazioni, se c'è)."),
        QStringLiteral("connessione"));
    parser.addOption(helpOption);
    parser.addOption(dataOption);
    parser.addOption(serverOption);
    parser.addOption(replaceOption);
    parser.addPositionalArgument(QStringLiteral("mdb"),
                                 QStringLiteral("Il Database.mdb della versione precedente."));

    const QString usage =
        QStringLiteral("Uso: tavelo-import [--dati file | --server connessione] [--sostituisci] "
                       "<Database.mdb>\n");
    if (!parser.parse(arguments)) {
        err << "tavelo-import: " << parser.errorText() << "\n" << usage;
        return Usage;
    }
    if (parser.isSet(helpOption)) {
        out << usage << "\n"
            << usageText() << "\nOpzioni:\n"
            << "  -d, --dati <file>  " << dataOption.description() << "\n"
            << "  --server <connessione>\n                     " << serverOption.description()
            << "\n"
            << "  --sostituisci      " << replaceOption.description() << "\n"
            << "  -h, --help         " << helpOption.description() << "\n";
        return Done;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        err << "tavelo-import: serve un solo file, il Database.mdb da importare.\n" << usage;
        return Usage;
    }
    const QString dataOptionValue = parser.value(dataOption);
    if (parser.isSet(dataOption) && dataOptionValue.isEmpty()) {
        err << "tavelo-import: --dati vuole il nome di un file.\n" << usage;
        return Usage;
    }

    if (parser.isSet(dataOption) && parser.isSet(serverOption)) {
        err << "tavelo-import: --dati e --server non vanno insieme: scegliere l'uno o l'altro.\n";
        return Usage;
    }
    if (parser.isSet(serverOption) && parser.value(serverOption).trimmed().isEmpty()) {
        err << "tavelo-import: --server vuole una stringa di connessione.\n" << usage;
        return Usage;
    }

    LegacyImportRequest request;
    // A file named on the command line wins over the server of the settings.
    request.server = parser.isSet(serverOption) ? parser.value(serverOption).trimmed()
                     : parser.isSet(dataOption) ? QString()
                                                : configuredServer();
    request.legacyFile = positional.first();
    request.dataFile = parser.isSet(dataOption) ? dataOptionValue : DbConnection::locateDataFile();
    request.replaceExisting = parser.isSet(replaceOption);

    ProgressLine progress(err);
    LegacyImportSummary summary;
    QString problem;
    // Tavelo's own data file goes onto a server as it is.
    const bool dataFile = isSqliteFile(request.legacyFile);
    if (dataFile && request.server.isEmpty()) {
        err << "tavelo-import: «" << request.legacyFile
            << "» è già un file dei dati di Tavelo: si copia solo su un server (--server).\n";
        return Usage;
    }
    const auto import = dataFile ? copyDataFileToServer : importLegacyFile;
    if (!import(request, &summary, &problem, [&](const QString &table, int done, int total) {
            progress.report(table, done, total);
        })) {
        err << "tavelo-import: importazione non riuscita, nessun dato è stato scritto.\n"
            << problem << "\n";
        return Failed;
    }
    out << "Importato «" << request.legacyFile << "» in «"
        << (request.server.isEmpty() ? request.dataFile : describeServer(request.server)) << "» in "
        << QString::number(summary.milliseconds / 1000.0, 'f', 1) << " s:\n"
        << importSummaryText(summary)
        << (request.server.isEmpty() ? "  controllo di integrità: ok\n" : "");
    return Done;
}
