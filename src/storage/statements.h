// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every statement that the program runs on the data file, one function each. Nobody
// else writes SQL. Values are always bound
// parameters: a quote, "%" or "_" in a name or code is just a character, and text
// comparisons ignore case because the text columns are declared so.

#include "storage/row_reader.h"

#include <QDate>
#include <QHash>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
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
    // How the deadline repeats, as an iCalendar rule (empty: it does not).
    QString ripeti;
    // The day it was closed ("Fatta"); invalid while it is open.
    QDate chiusa;
};

template <typename T> struct Result
{
    T value{};
    QSqlError error;
    bool ok() const { return !error.isValid(); }
};

// What a write of a row that the operator picked found: the row as picked, or changed or
// deleted by another desk (or window) since, when nothing was written; an entry to close
// may also have been closed already.
enum class RowConflict { None, Changed, Deleted, Closed };

// A write: how many rows it touched, or the error that rolled it back.
struct WriteResult
{
    int rowsAffected = 0;
    RowConflict conflict = RowConflict::None;
    QSqlError error;
    bool ok() const { return !error.isValid(); }
};

// A deadline of the overview: due date, note, the owner's ID and name, and the entry
// it belongs to (for opening it).
struct OverviewDeadline
{
    QDate scadenza;
    QString oggetto;
    qint64 utente = 0;
    QString soggetto;
    qint64 entryId = 0;
};

// A deadline as the calendar shows it: the entry with its owner's ID and name.
struct CalendarRow
{
    qint64 entryId = 0;
    QDate data; // invalid: none
    QDate scadenza;
    QString oggetto;
    QString ndoc;
    qint64 utente = 0;
    QString soggetto;
};

// The subjects marked as users, by name.
Result<QVector<Subject>> selectUsers();
// The users as the user list shows them: their names alone, in the same order. Reading
// a name is all the list needs; reading every column of ten thousand users would make
// the start wait.
Result<QStringList> selectUserNames();
// The first subject with exactly this name (case aside).
Result<std::optional<Subject>> findSubjectByName(const QString &name);
// A user's diary for the entry grid, by due date (entries without one first): all of
// it, or a page of at most `limit` entries after `after` (the last one of the page
// before), so that a long diary shows its first rows at once on a server too.
RowStream<DiaryEntry> selectDiaryGridRows(qint64 userId, int limit = 0,
                                          const DiaryEntry *after = nullptr);
// The version stamp, when one has been written.
Result<std::optional<QString>> readVersionStamp();
// Writes the version stamp into the first row; with no row nothing is written.
[[nodiscard]] WriteResult writeVersionStamp(const QString &stamp);
// A new diary entry; the value is its new ID.
[[nodiscard]] Result<qint64> insertDiaryEntry(const DiaryEntry &entry);
// Rewrites the entry with entry.id.
[[nodiscard]] WriteResult updateDiaryEntry(const DiaryEntry &entry);
// Deletes one diary entry.
[[nodiscard]] WriteResult deleteDiaryEntry(qint64 entryId);
// Deletes one subject; its diary entries stay in the file.
[[nodiscard]] WriteResult deleteSubject(qint64 subjectId);
// The writes of a row that the operator picked: each goes through only while the stored row
// still holds every value of `picked` (as the program read it), compared in the write
// itself; otherwise nothing is written and the result's conflict says why.
[[nodiscard]] WriteResult updatePickedDiaryEntry(const DiaryEntry &entry, const DiaryEntry &picked);
[[nodiscard]] WriteResult deletePickedDiaryEntry(const DiaryEntry &picked);
[[nodiscard]] WriteResult deletePickedSubject(const Subject &picked);

// What closing an entry wrote: the ID of the entry that follows a repeating one, or the
// day on which somebody closed it first.
struct ClosingResult : WriteResult
{
    qint64 nextId = 0;
    QDate closedBefore;
};
// Closes the picked entry on `closedOn` and, in the same transaction, writes `next` (the
// following occurrence of a repeating deadline) when given. Guarded as the picked writes
// above; an entry closed already is never closed again (conflict Closed).
[[nodiscard]] ClosingResult closePickedDiaryEntry(const DiaryEntry &picked, const QDate &closedOn,
                                                  const std::optional<DiaryEntry> &next);
// Every user's deadlines, earliest first: all of them, or a page of at most `limit`
// deadlines after `after` (the last one of the page before), so that the overview reads
// only as far as the operator scrolls, on a server as well as on the file. With
// `words` (folded by searchWords), only the deadlines whose note or owner's name holds
// each of them; words after the eighth are not searched.
RowStream<OverviewDeadline> selectDeadlines(int limit = 0, const OverviewDeadline *after = nullptr,
                                            const QStringList &words = {});
// What the overview holds that needs the operator: deadlines past due, and those due
// from today to `soon` days on (a week, as the overview marks them).
constexpr int dueSoonDays = 7;
struct DueCounts
{
    qint64 pastDue = 0;
    qint64 dueSoon = 0;
};
Result<DueCounts> countDueDeadlines(const QDate &today, int soon = dueSoonDays);
// The rows of the reports, read by the reports' field names. The user's card: one
// user's entries with an entry date, by due date.
Result<RowReader> selectUserCardRows(qint64 userId);
// The all-users report: every user's deadlines, earliest first, with the owner's ID and
// name (ID, Soggetto, scadenza, Oggetto, Utente).
Result<RowReader> selectAllUsersDeadlines();
// The registry report: every subject, by name.
Result<RowReader> selectRegistryReportRows();
// Every user's deadlines for the calendar, earliest first; with a user, that user's
// entries that have both an entry date and a due date. With a first day, only those due
// from that day on.
RowStream<CalendarRow> selectCalendarDeadlines(std::optional<qint64> userId = std::nullopt,
                                               const QDate &firstDue = QDate());
// While it lives, the file's connection keeps up to 64 MB of pages in memory instead of
// 2 MB: a long read that goes through an index to rows all over the table (every
// deadline by due date) then reads each page once, instead of once for each row on it.
class LargePageCache
{
public:
    LargePageCache();
    ~LargePageCache();
    LargePageCache(const LargePageCache &) = delete;
    LargePageCache &operator=(const LargePageCache &) = delete;

private:
    QVariant m_before;
};

// What the calendar's deadlines due from firstDue on are made of, in a few numbers: any
// change to one of them (its dates, note, document number or owner's name), one more or
// one less gives other numbers. One aggregate on the archive, for knowing whether the
// calendar written before is still right.
Result<QString> selectCalendarDigest(const QDate &firstDue);
// The registry for the registry grid, by name: every subject, or a page of at most
// `limit` subjects after `after` (the last one of the page before). A page is read from
// the index in that order, so the grid reads only as far as the operator scrolls.
RowStream<Subject> selectRegistryGridRows(int limit = 0, const Subject *after = nullptr);
// The value of a subject's column, by its position in table order (as
// DbConnection::tableColumns("Utente") names them); a NULL text is a null QVariant.
QVariant subjectColumnValue(const Subject &subject, int tableColumn);
// A new subject; the value is its new ID.
[[nodiscard]] Result<qint64> insertSubject(const Subject &subject);
// Rewrites the subject with subject.id.
[[nodiscard]] WriteResult updateSubject(const Subject &subject);
// The subject with this ID, if there is one.
Result<std::optional<Subject>> findSubjectById(qint64 subjectId);
// The subjects that hold this fiscal code (case aside).
Result<QVector<Subject>> findSubjectsByFiscalCode(const QString &code);

// A write of the registry that keeps fiscal codes unique: the code is looked up again
// (as findSubjectsByFiscalCode does) in the same transaction as the write.
struct SubjectWriteResult
{
    qint64 id = 0;              // the new subject's ID after an insert
    int rowsAffected = 0;       // 0 after a modify: the subject is no longer there
    bool duplicateCode = false; // another subject holds the code; nothing was written
    RowConflict conflict = RowConflict::None;
    QSqlError error;
    bool ok() const { return !error.isValid(); }
};

// insertSubject after the code's lookup: a new subject, unless another subject holds
// its code.
[[nodiscard]] SubjectWriteResult insertSubjectWithFreeCode(const Subject &subject);
// updateSubject after the code's lookup: rewrites subject.id. The code is checked only when it
// differs from the stored one, so that subjects stored twice with one code can still be edited.
[[nodiscard]] SubjectWriteResult updateSubjectWithFreeCode(const Subject &subject);
// The same for the subject that the operator picked, as updatePickedDiaryEntry guards it.
[[nodiscard]] SubjectWriteResult updatePickedSubjectWithFreeCode(const Subject &subject,
                                                                 const Subject &picked);

// Import of the earlier version's data file: each table's rows go in with their own
//     IDs, so that new IDs continue after the largest. Values come in the order of
//     DbConnection::tableColumns(table); a date and time becomes a date, except in the
//     version stamp, which keeps its time; a NULL stays NULL. Each table's statement is
//     prepared once; the caller holds one WriteTransaction around the whole import.
class ImportWriter
{
public:
    [[nodiscard]] QSqlError insertSubjectRow(const QVariantList &values);
    [[nodiscard]] QSqlError insertDiaryEntryRow(const QVariantList &values);
    // The first row takes the place of the new file's empty stamp.
    [[nodiscard]] QSqlError insertVersionRow(const QVariantList &values);
    // How many times of day other than midnight the date-only columns left out.
    int timesLeftOut() const { return m_timesLeftOut; }
    // After the last row, before the commit: new IDs continue after the largest one
    // brought across, and after the largest one a copied file ever gave (usedIds, by
    // table), so that the ID of a row deleted there is not given again.
    [[nodiscard]] QSqlError finish(const QHash<QString, qint64> &usedIds = {});

private:
    QSqlError insertRow(const QString &table, const QVariantList &values, bool keepTime);

    QMap<QString, QSqlQuery> m_prepared;
    bool m_versionRowsCleared = false;
    int m_timesLeftOut = 0;
};
// Before an import that replaces an archive on a server: every subject and entry goes
// (the stamp is replaced by the import), inside the caller's transaction.
[[nodiscard]] QSqlError emptyArchive();
// From a data file onto a server: every row of one of the program's tables of the file
// open on `source`, its values in the order of DbConnection::tableColumns(), by ID. An
// empty text in a date column (which the file may hold) comes as NULL.
RowStream<QVariantList> selectTableForCopy(const QSqlDatabase &source, const QString &table);
// The largest ID that each table of a data file has ever given, deleted rows included.
Result<QHash<QString, qint64>> selectUsedIds(const QSqlDatabase &source);
// How many subjects and diary entries the file holds.
Result<qint64> countArchiveRows();
// SQLite's own check of the whole file: "ok", or what is wrong.
Result<QString> checkIntegrity();
// A consistent copy of the open file into a new file (the backups).
[[nodiscard]] WriteResult copyDataFileTo(const QString &path);
