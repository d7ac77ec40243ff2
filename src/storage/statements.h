// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every statement that the program runs on the data file, one function each, in the
// order of the storage protocol. Nobody else writes SQL. Values are always bound
// parameters: a quote, "%" or "_" in a name or code is just a character, and text
// comparisons ignore case because the text columns are declared so.

#include <QDate>
#include <QHash>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <QVector>

#include <optional>

// One row of table Utente, in table order.
struct Subject
{
    qint64 id = 0;
    QString soggetto;
    QString indirizzo;
    QString comune;
    QString pr;
    QString cap;
    QString codice;
    QString partita;
    QString utente; // "S" for a user, "N" otherwise
    QString email;
    QString telefono;
    QString cell;
    QString fax;
    QString pwd;
    QString annotazione;
};

// One row of table Tavelo. An invalid date is a NULL column.
struct DiaryEntry
{
    qint64 id = 0;
    QDate data;
    QDate scadenza;
    QString oggetto;
    QString ndoc;
    qint64 utente = 0;
    QDate agg;
};

template <typename T> struct Result
{
    T value{};
    QSqlError error;
    bool ok() const { return !error.isValid(); }
};

// A write: how many rows it touched, or the error that rolled it back.
struct WriteResult
{
    int rowsAffected = 0;
    QSqlError error;
    bool ok() const { return !error.isValid(); }
};

// A read that hands its rows on one at a time (lists, grids and reports that may be
// long). The query is executed and positioned before the first row.
using RowsResult = Result<QSqlQuery>;

Subject subjectFromRecord(const QSqlQuery &query);

// 1. Subjects marked as users, by name.
Result<QVector<Subject>> selectUsers();
// 1, as the user list shows it: the users' names alone, in the same order. Reading a
// name is all the list needs; reading every column of ten thousand users would make
// the start wait.
Result<QStringList> selectUserNames();
// 2. The first subject with exactly this name (case aside).
Result<std::optional<Subject>> findSubjectByName(const QString &name);
// 3. A user's diary for the entry grid, by due date (entries without one first).
//    Scrollable, so that a grid model can fetch it a page at a time.
RowsResult selectDiaryGridRows(qint64 userId);
// 4. The version stamp, when one has been written.
Result<std::optional<QString>> readVersionStamp();
// 5. Writes the version stamp into the first row; with no row nothing is written.
WriteResult writeVersionStamp(const QString &stamp);
// 6. A new diary entry; the value is its new ID.
Result<qint64> insertDiaryEntry(const DiaryEntry &entry);
// 7. Rewrites the entry with entry.id.
WriteResult updateDiaryEntry(const DiaryEntry &entry);
// 8. Deletes one diary entry.
WriteResult deleteDiaryEntry(qint64 entryId);
// 9. Deletes one subject; its diary entries stay in the file.
WriteResult deleteSubject(qint64 subjectId);
// Where a page of the overview starts: after this deadline in the overview's order.
struct DeadlineOrderKey
{
    QVariant scadenza; // as the previous page read it
    qint64 id = 0;
};
// 10. Every user's deadlines (scadenza, Oggetto, Utente, Soggetto, and the entry's ID),
//     earliest first: all of them (scrollable), or a page of at most `limit` deadlines
//     after `after`, so that the overview reads only as far as the operator scrolls,
//     on a server as well as on the file.
RowsResult selectDeadlines(int limit = 0, const std::optional<DeadlineOrderKey> &after = {});
// 11. One user's dated entries for the user's card, by due date.
RowsResult selectUserCardRows(qint64 userId);
// 12. Every user's deadlines for the all-users report
//     (ID, Soggetto, scadenza, Oggetto, Utente, Soggetto), earliest first.
RowsResult selectAllUsersDeadlines();
// 12 and 11, for the calendar: each deadline with what its event shows (Tavelo.ID, data,
//     scadenza, Oggetto, ndoc, Utente.ID, Soggetto), earliest first. With a user, that
//     user's dated entries that have a due date.
RowsResult selectCalendarDeadlines(std::optional<qint64> userId = std::nullopt);
// 13. The whole registry for the registry report, by name.
RowsResult selectRegistryReportRows();
// Where a page of the registry grid starts: after this subject in the grid's order.
struct SubjectOrderKey
{
    QVariant soggetto; // may be NULL
    qint64 id = 0;
};
// 14. The registry for the registry grid, by name: every subject, or a page of at most
//     `limit` subjects after `after`. A page costs one pass over the table without a
//     full sort, so the grid reads only as far as the operator scrolls.
RowsResult selectRegistryGridRows(int limit = 0, const std::optional<SubjectOrderKey> &after = {});
// 15. A new subject; the value is its new ID.
Result<qint64> insertSubject(const Subject &subject);
// 16. Rewrites the subject with subject.id.
WriteResult updateSubject(const Subject &subject);
// 16, reading: the subject with this ID, if there is one.
Result<std::optional<Subject>> findSubjectById(qint64 subjectId);
// 17. The subjects that hold this fiscal code (case aside).
Result<QVector<Subject>> findSubjectsByFiscalCode(const QString &code);

// A write of the registry that keeps fiscal codes unique: the code is looked up again
// (statement 17) in the same transaction as the write.
struct SubjectWriteResult
{
    qint64 id = 0;              // the new subject's ID after an insert
    int rowsAffected = 0;       // 0 after a modify: the subject is no longer there
    bool duplicateCode = false; // another subject holds the code; nothing was written
    QSqlError error;
    bool ok() const { return !error.isValid(); }
};

// 15 after 17: a new subject, unless another subject holds its code.
SubjectWriteResult insertSubjectWithFreeCode(const Subject &subject);
// 16 after 17: rewrites subject.id. The code is checked only when it differs from the
// stored one, so that subjects stored twice with one code can still be edited.
SubjectWriteResult updateSubjectWithFreeCode(const Subject &subject);

// 18. Import of the earlier version's data file: each table's rows go in with their own
//     IDs, so that new IDs continue after the largest. Values come in the order of
//     DbConnection::tableColumns(table); a date and time becomes a date, except in the
//     version stamp, which keeps its time; a NULL stays NULL. Each table's statement is
//     prepared once; the caller holds one WriteTransaction around the whole import.
class ImportWriter
{
public:
    QSqlError insertSubjectRow(const QVariantList &values);
    QSqlError insertDiaryEntryRow(const QVariantList &values);
    // The first row takes the place of the new file's empty stamp.
    QSqlError insertVersionRow(const QVariantList &values);
    // How many times of day other than midnight the date-only columns left out.
    int timesLeftOut() const { return m_timesLeftOut; }
    // After the last row, before the commit: new IDs continue after the largest one
    // brought across, and after the largest one a copied file ever gave (usedIds, by
    // table), so that the ID of a row deleted there is not given again.
    QSqlError finish(const QHash<QString, qint64> &usedIds = {});

private:
    QSqlError insertRow(const QString &table, const QVariantList &values, bool keepTime);

    QMap<QString, QSqlQuery> m_prepared;
    bool m_versionRowsCleared = false;
    int m_timesLeftOut = 0;
};
// 18, before an import that replaces an archive on a server: every subject and entry
//     goes (the stamp is replaced by the import), inside the
//     caller's transaction.
QSqlError emptyArchive();
// 18, from a data file onto a server: every row of one of the program's tables of the
//     file open on `source`, its columns in the order of DbConnection::tableColumns(),
//     by ID.
RowsResult selectTableForCopy(const QSqlDatabase &source, const QString &table);
// The largest ID that each table of a data file has ever given, deleted rows included.
Result<QHash<QString, qint64>> selectUsedIds(const QSqlDatabase &source);
// 19. How many subjects and diary entries the file holds.
Result<qint64> countArchiveRows();
// 20. SQLite's own check of the whole file: "ok", or what is wrong.
Result<QString> checkIntegrity();
// 21. A consistent copy of the open file into a new file (the backups).
WriteResult copyDataFileTo(const QString &path);
