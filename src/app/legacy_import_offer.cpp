// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/legacy_import_offer.h"

#include "legacy/legacy_import.h"
#include "widgets/prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

QString archiveIn(const QString &folder)
{
    // The earlier version wrote the name as it pleased Windows: any case will do.
    const QStringList found =
        QDir(folder).entryList({QStringLiteral("Database.mdb")}, QDir::Files | QDir::Readable);
    return found.isEmpty() ? QString() : QDir(folder).filePath(found.first());
}

} // namespace

QString legacyArchiveToOffer(const QString &dataFilePath)
{
    if (QFileInfo::exists(dataFilePath))
        return {};
    QString archive = archiveIn(QCoreApplication::applicationDirPath());
    if (archive.isEmpty())
        archive = archiveIn(QFileInfo(dataFilePath).absolutePath());
    return archive;
}

bool offerLegacyImport(QWidget *window, const QString &dataFilePath)
{
    const QString archive = legacyArchiveToOffer(dataFilePath);
    if (archive.isEmpty())
        return true;
    const QString question =
        QStringLiteral("Non c'è ancora un archivio di Tavelo, ma c'è quello della versione "
                       "precedente:\n%1\n\nPortare in Tavelo i suoi soggetti e il suo "
                       "scadenzario?")
            .arg(QDir::toNativeSeparators(archive));
    if (showPrompt(window, question, QString(), PromptButtons::YesNo) != PromptAnswer::Yes)
        return true;

    QProgressDialog progress(QStringLiteral("Importazione dell'archivio della versione "
                                            "precedente…"),
                             QString(), 0, 0, window);
    progress.setWindowTitle(QStringLiteral("Tavelo"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);
    progress.show();
    LegacyImportRequest request;
    request.legacyFile = archive;
    request.dataFile = dataFilePath;
    const Outcome<LegacyImportSummary> imported =
        importLegacyFile(request, [&](const QString &table, int done, int total) {
            if (done % 100 != 0 && done != total)
                return;
            progress.setLabelText(
                QStringLiteral("Importazione dell'archivio della versione precedente…\n"
                               "Tabella %1: %2 di %3 righe")
                    .arg(table)
                    .arg(done)
                    .arg(total));
            progress.setMaximum(total);
            progress.setValue(done);
        });
    progress.close();
    if (!imported.ok()) {
        showPrompt(window,
                   QStringLiteral("L'archivio della versione precedente non è stato importato "
                                  "e non è stato scritto nulla.\n\n%1\n\nIl programma si chiude: "
                                  "al prossimo avvio l'importazione verrà proposta di nuovo "
                                  "(rispondendo No si parte con un archivio vuoto).")
                       .arg(imported.problem),
                   QString(), PromptButtons::Ok, PromptIcon::Critical);
        return false;
    }
    showPrompt(window,
               QStringLiteral("Archivio della versione precedente importato:\n%1")
                   .arg(importSummaryText(imported.value)),
               QString(), PromptButtons::Ok, PromptIcon::Information);
    return true;
}
