// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/open_problems.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

// SQLite's primary result codes, as the driver reports them in nativeErrorCode().
enum SqliteCode {
    Perm = 3,
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoError = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    Auth = 23,
    NotADatabase = 26,
};

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

QString folderOf(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

QString withDetail(const QString &message, const QSqlError &error)
{
    const QString detail = error.text().trimmed();
    return detail.isEmpty() ? message : message + QStringLiteral("\n\nDettaglio: %1").arg(detail);
}

// Below a megabyte free, a failing write is the full disk's doing, whatever the code.
bool diskIsFull(const QString &path)
{
    const QStorageInfo volume(QFileInfo(path).absolutePath());
    return volume.isValid() && volume.bytesAvailable() >= 0 &&
           volume.bytesAvailable() < 1024 * 1024;
}

QString diskFullMessage(const QString &path)
{
    return QStringLiteral("Il disco che contiene il file dei dati «%1» è pieno: Tavelo non vi "
                          "può scrivere.\nLiberare spazio sul disco (cartella «%2») e riprovare.")
        .arg(path, folderOf(path));
}

// The file system refused: the file or its folder is not open to this user for
// reading or writing (SQLite keeps its work files beside the data file).
QString accessMessage(const QString &path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (file.exists() && !file.isReadable())
        return QStringLiteral("Il file dei dati «%1» non si può leggere: l'utente non ne ha il "
                              "permesso.\nDare all'utente il permesso di leggere e scrivere il "
                              "file (o chiedere all'amministratore del computer) e riprovare.")
            .arg(path);
    if (file.exists() && !file.isWritable())
        return QStringLiteral("Il file dei dati «%1» non si può scrivere: è in sola lettura o "
                              "appartiene a un altro utente.\nDare all'utente il permesso di "
                              "scrivere il file (o chiedere all'amministratore del computer) e "
                              "riprovare.")
            .arg(path);
    if (folder.exists() && !folder.isWritable())
        return QStringLiteral("La cartella «%1», che contiene il file dei dati «%2», non si può "
                              "scrivere: Tavelo vi tiene accanto all'archivio i suoi file di "
                              "lavoro.\nDare all'utente il permesso di scrivere nella cartella "
                              "(o chiedere all'amministratore del computer) e riprovare.")
            .arg(folderOf(path), path);
    return QStringLiteral("Il file dei dati «%1» non si può aprire.\nControllare che il file e "
                          "la sua cartella esistano e siano accessibili, poi riprovare.")
        .arg(path);
}

} // namespace

QString notAnArchiveMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Il file «%1» non è un archivio di Tavelo: %2\nRimettere al suo posto "
                          "una copia dell'archivio, oppure spostare altrove questo file perché "
                          "Tavelo ne crei uno nuovo e vuoto.")
        .arg(path, reason);
}

QString describeOpenFailure(const QString &path, const QSqlError &error)
{
    switch (primaryCode(error)) {
    case NotADatabase:
        return notAnArchiveMessage(path, error.text().trimmed());
    case Corrupt:
        return withDetail(QStringLiteral("Il file dei dati «%1» è danneggiato e non si può "
                                         "usare.\nRimettere al suo posto l'ultima copia di "
                                         "sicurezza dell'archivio e riprovare.")
                              .arg(path),
                          error);
    case Busy:
    case Locked:
        return withDetail(QStringLiteral("Il file dei dati «%1» è bloccato da un altro "
                                         "programma.\nChiudere il programma che lo sta usando "
                                         "(anche Tavelo aperto in un'altra finestra o su un altro "
                                         "computer) e riprovare.")
                              .arg(path),
                          error);
    case Full:
        return withDetail(diskFullMessage(path), error);
    case IoError:
        if (diskIsFull(path))
            return withDetail(diskFullMessage(path), error);
        return withDetail(
            QStringLiteral("Il file dei dati «%1» non si può leggere o scrivere: il disco ha "
                           "dato un errore.\nControllare che il disco (o la chiavetta, o la "
                           "cartella di rete) sia collegato e funzioni, poi riprovare; se "
                           "l'errore resta, rimettere al suo posto l'ultima copia di sicurezza "
                           "dell'archivio.")
                .arg(path),
            error);
    case Perm:
    case ReadOnly:
    case CantOpen:
    case Auth:
        return withDetail(accessMessage(path), error);
    default:
        return withDetail(QStringLiteral("Il file dei dati «%1» non si può aprire.").arg(path),
                          error);
    }
}
