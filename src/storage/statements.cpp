// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/statements.h"

#include "core/dates.h"
#include "storage/calendar_digest.h"
#include "storage/db_connection.h"
#include "storage/italian_collation.h"
#include "storage/schema.h"
#include "storage/text_search.h"

#include <QFile>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <array>
#include <functional>
#include <iterator>
#include <optional>

namespace {

using Binding = std::pair<QString, QVariant>;
using Bindings = QList<Binding>;

QSqlError notOpenError()
{
    return QSqlError(QString(), QStringLiteral("archivio non aperto"), QSqlError::ConnectionError);
}

// Prepares and runs one statement with its values bound.
bool run(QSqlQuery &query, const QString &sql, const Bindings &bindings, QSqlError *error)
{
    if (!query.prepare(sql)) {
        *error = query.lastError();
        return false;
    }
    for (const Binding &binding : bindings)
        query.bindValue(binding.first, binding.second);
    if (!query.exec()) {
        *error = query.lastError();
        return false;
    }
    return true;
}

// An executed query, positioned before its first row.
struct Executed
{
    QSqlQuery query;
    QSqlError error;
    bool ok() const { return !error.isValid(); }
};

Executed readRowsOn(const QSqlDatabase &db, const QString &sql, const Bindings &bindings)
{
    Executed result;
    if (!db.isOpen()) {
        result.error = notOpenError();
        return result;
    }
    result.query = QSqlQuery(db);
    result.query.setForwardOnly(true);
    run(result.query, sql, bindings, &result.error);
    return result;
}

Executed readRows(const QString &sql, const Bindings &bindings)
{
    return readRowsOn(DbConnection::instance().database(), sql, bindings);
}

// Rows of one kind from an executed query; `decoder` finds the columns it needs on the
// reader once and gives the function that makes each row.
template <typename Row, typename MakeDecoder>
RowStream<Row> streamOf(Executed &&executed, MakeDecoder decoder)
{
    if (!executed.ok())
        return RowStream<Row>(executed.error);
    RowReader reader(std::move(executed.query));
    auto decode = decoder(reader);
    return RowStream<Row>(std::move(reader), std::move(decode));
}

// A text column: NULL stays a null text, an empty text stays empty but not null, so
// that a page of the registry knows where a NULL name was.
QString storedText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    QString text = value.toString();
    return text.isNull() ? QString(QLatin1String("")) : text;
}

// The ID that an INSERT … RETURNING ID handed back. Both engines run RETURNING; the
// driver's last insert ID would not do on the server, where it is an OID.
QVariant returnedId(QSqlQuery &query)
{
    const QVariant id = query.next() ? query.value(0) : QVariant();
    query.finish();
    return id;
}

// Why a write of a picked row touched nothing: the row changed, or it is gone. Read
// inside the write's transaction.
RowConflict missedRow(const char *table, qint64 id, QSqlError *error)
{
    QSqlQuery query(DbConnection::instance().database());
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("SELECT ID FROM %1 WHERE ID = :id").arg(QLatin1String(table)),
             {{":id", id}}, error))
        return RowConflict::None;
    return query.next() ? RowConflict::Changed : RowConflict::Deleted;
}

// The row a write was picked as: when the write touches nothing, the row changed or went.
struct PickedRow
{
    const char *table;
    qint64 id;
};

// Runs one write in its own transaction; a statement that fails leaves nothing behind,
// and a write of a picked row that touched nothing is told why and commits nothing.
WriteResult write(const QString &sql, const Bindings &bindings, QVariant *insertedId = nullptr,
                  std::optional<PickedRow> picked = std::nullopt)
{
    WriteResult result;
    WriteTransaction transaction;
    if (!transaction.started()) {
        result.error = transaction.error();
        return result;
    }
    QSqlQuery query(DbConnection::instance().database());
    if (!run(query, sql, bindings, &result.error))
        return result;
    result.rowsAffected = query.numRowsAffected();
    if (picked && result.rowsAffected == 0) {
        result.conflict = missedRow(picked->table, picked->id, &result.error);
        return result;
    }
    if (insertedId)
        *insertedId = returnedId(query);
    if (!transaction.commit()) {
        result.error = transaction.error();
        result.rowsAffected = 0;
    }
    return result;
}

// A write of the picked row `id` of `table`, whose statement holds the row to its picked
// values, in its own transaction.
WriteResult writePicked(const char *table, qint64 id, const QString &sql, const Bindings &bindings)
{
    return write(sql, bindings, nullptr, PickedRow{table, id});
}

QVariant dateValue(const QDate &date)
{
    return date.isValid() ? QVariant(toStoredDate(date)) : QVariant(QMetaType(QMetaType::QString));
}

// The written columns of a subject, in table order.
Bindings subjectValues(const Subject &s)
{
    return {{":soggetto", s.soggetto}, {":indirizzo", s.indirizzo},
            {":comune", s.comune},     {":pr", s.pr},
            {":cap", s.cap},           {":codice", s.codice},
            {":partita", s.partita},   {":utente", s.utente},
            {":email", s.email},       {":telefono", s.telefono},
            {":cell", s.cell},         {":fax", s.fax},
            {":pwd", s.pwd},           {":annotazione", s.annotazione}};
}

Bindings entryValues(const DiaryEntry &e)
{
    return {{":data", dateValue(e.data)},
            {":scadenza", dateValue(e.scadenza)},
            {":oggetto", e.oggetto},
            {":ndoc", e.ndoc},
            {":utente", e.utente},
            {":agg", dateValue(e.agg)},
            {":ripeti",
             e.ripeti.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(e.ripeti)}};
}

QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// How a column is compared with the value that the operator picked: as the program read
// it. A text to the letter (the columns themselves ignore case); a date by the day that
// the program took from it, so that a file holding "" or a time after the day compares
// as it reads; a number with NULL read as 0.
enum class Reading { Number, Text, Date };

struct PickedValue
{
    const char *column;
    Reading reading;
    QVariant value;
};

QString sameAsPickedTerm(const PickedValue &picked, const QString &placeholder)
{
    const bool server = DbConnection::instance().isServer();
    QString read;
    switch (picked.reading) {
    case Reading::Text:
        read = server ? QStringLiteral("%1 COLLATE \"C\"") : QStringLiteral("%1 COLLATE BINARY");
        break;
    case Reading::Number:
        read = QStringLiteral("COALESCE(%1, 0)");
        break;
    case Reading::Date:
        // A server's date column holds dates only.
        read = server ? QStringLiteral("%1")
                      : QStringLiteral("(CASE WHEN date(substr(%1, 1, 10)) = substr(%1, 1, 10) "
                                       "THEN substr(%1, 1, 10) END)");
        break;
    }
    return read.arg(QLatin1String(picked.column)) +
           (server ? QLatin1String(" IS NOT DISTINCT FROM ") : QLatin1String(" IS ")) + placeholder;
}

// The condition that the row still holds every picked value, NULL for NULL; its values
// go into `bindings`.
QString sameAsPicked(const QList<PickedValue> &values, Bindings *bindings)
{
    QStringList terms;
    for (const PickedValue &picked : values) {
        const QString placeholder = QStringLiteral(":picked%1").arg(terms.size());
        terms << sameAsPickedTerm(picked, placeholder);
        bindings->append({placeholder, picked.value});
    }
    return terms.join(QLatin1String(" AND "));
}

QList<PickedValue> pickedEntry(const DiaryEntry &e)
{
    return {{"data", Reading::Date, dateValue(e.data)},
            {"scadenza", Reading::Date, dateValue(e.scadenza)},
            {"Oggetto", Reading::Text, textValue(e.oggetto)},
            {"ndoc", Reading::Text, textValue(e.ndoc)},
            {"Utente", Reading::Number, e.utente},
            {"AGG", Reading::Date, dateValue(e.agg)},
            {"Ripeti", Reading::Text, textValue(e.ripeti)},
            {"Chiusa", Reading::Date, dateValue(e.chiusa)}};
}

// The columns of Utente, in table order.
const char *const subjectColumns[] = {"ID",       "Soggetto", "indirizzo", "Comune", "pr",
                                      "cap",      "Codice",   "Partita",   "utente", "email",
                                      "telefono", "cell",     "fax",       "Pwd",    "Annotazione"};

// A subject's text members, in table order after the ID.
QString Subject::*const subjectTexts[] = {
    &Subject::soggetto, &Subject::indirizzo,  &Subject::comune,  &Subject::pr,
    &Subject::cap,      &Subject::codice,     &Subject::partita, &Subject::utente,
    &Subject::email,    &Subject::telefono,   &Subject::cell,    &Subject::fax,
    &Subject::pwd,      &Subject::annotazione};

QList<PickedValue> pickedSubject(const Subject &s)
{
    QList<PickedValue> values;
    for (std::size_t i = 0; i < std::size(subjectTexts); ++i)
        values.append({subjectColumns[i + 1], Reading::Text, textValue(s.*subjectTexts[i])});
    return values;
}

// Makes subjects of the rows of a query on Utente, its columns found by name once.
std::function<Subject(const RowReader &)> subjectDecoder(const RowReader &reader)
{
    std::array<int, std::size(subjectColumns)> index{};
    for (std::size_t i = 0; i < index.size(); ++i)
        index[i] = reader.column(QString::fromLatin1(subjectColumns[i]));
    return [index](const RowReader &row) {
        Subject s;
        s.id = row.number(index[0]);
        for (std::size_t i = 1; i < index.size(); ++i)
            s.*subjectTexts[i - 1] = index[i] < 0 ? QString() : storedText(row.value(index[i]));
        return s;
    };
}

std::function<DiaryEntry(const RowReader &)> entryDecoder(const RowReader &reader)
{
    const int id = reader.column(u"ID"), data = reader.column(u"data"),
              scadenza = reader.column(u"scadenza"), oggetto = reader.column(u"Oggetto"),
              ndoc = reader.column(u"ndoc"), utente = reader.column(u"Utente"),
              agg = reader.column(u"AGG"), ripeti = reader.column(u"Ripeti"),
              chiusa = reader.column(u"Chiusa");
    return [=](const RowReader &row) {
        DiaryEntry e;
        e.id = row.number(id);
        e.data = row.date(data);
        e.scadenza = row.date(scadenza);
        e.oggetto = storedText(row.value(oggetto));
        e.ndoc = storedText(row.value(ndoc));
        e.utente = row.number(utente);
        e.agg = row.date(agg);
        e.ripeti = storedText(row.value(ripeti));
        e.chiusa = row.date(chiusa);
        return e;
    };
}

const char *const insertSubjectSql =
    "INSERT INTO Utente (Soggetto, indirizzo, Comune, pr, cap, Codice, Partita, utente, email, "
    "telefono, cell, fax, Pwd, Annotazione) VALUES (:soggetto, :indirizzo, :comune, :pr, :cap, "
    ":codice, :partita, :utente, :email, :telefono, :cell, :fax, :pwd, :annotazione) "
    "RETURNING ID";

const char *const updateSubjectSql =
    "UPDATE Utente SET Soggetto = :soggetto, indirizzo = :indirizzo, Comune = :comune, pr = :pr, "
    "cap = :cap, Codice = :codice, Partita = :partita, utente = :utente, email = :email, "
    "telefono = :telefono, cell = :cell, fax = :fax, Pwd = :pwd, Annotazione = :annotazione "
    "WHERE ID = :id";

// Two desks that write a subject with the same fiscal code at the same moment: the
// lookup and the write must not interleave. On a file the engine sees to it (a write
// whose reading is out of date fails). A server lets writers run side by side, so the
// writes of subjects wait for one another here, while readers go on; the lock, a
// server's own statement, ends with the transaction.
bool serialiseSubjectWrites(QSqlError *error)
{
    if (!DbConnection::instance().isServer())
        return true;
    // Run as it stands: the server prepares only queries and data changes.
    QSqlQuery query(DbConnection::instance().database());
    if (query.exec(QStringLiteral("LOCK TABLE Utente IN SHARE ROW EXCLUSIVE MODE")))
        return true;
    *error = query.lastError();
    return false;
}

// Whether a subject other than exceptId holds the code, looked up inside the caller's
// transaction.
bool codeTaken(const QString &code, qint64 exceptId, bool *taken, QSqlError *error)
{
    QSqlQuery query(DbConnection::instance().database());
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("SELECT ID FROM Utente WHERE Codice = :code AND ID <> :except"),
             {{":code", code}, {":except", exceptId}}, error))
        return false;
    *taken = query.next();
    return true;
}

// The stored code of a subject, and whether the subject is there at all.
bool storedCode(qint64 id, std::optional<QString> *code, QSqlError *error)
{
    QSqlQuery query(DbConnection::instance().database());
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("SELECT Codice FROM Utente WHERE ID = :id"), {{":id", id}},
             error))
        return false;
    if (query.next())
        *code = query.value(0).toString();
    return true;
}

// The subjects of an executed query, all of them.
Result<QVector<Subject>> subjectsOf(Executed &&executed)
{
    const QSqlError failure = executed.error;
    RowStream<Subject> rows = streamOf<Subject>(std::move(executed), subjectDecoder);
    Result<QVector<Subject>> result{{}, failure};
    Subject subject;
    while (rows.next(&subject))
        result.value.append(subject);
    result.error = rows.error();
    return result;
}

// The first subject of an executed query, if there is one.
Result<std::optional<Subject>> firstSubjectOf(Executed &&executed)
{
    RowStream<Subject> rows = streamOf<Subject>(std::move(executed), subjectDecoder);
    Result<std::optional<Subject>> result;
    Subject subject;
    if (rows.next(&subject))
        result.value = subject;
    result.error = rows.error();
    return result;
}

} // namespace

// The rows of selectUsers(); the user list reads only their names.
static QString usersSql(const char *columns)
{
    return QStringLiteral("SELECT %1 FROM Utente WHERE utente = 'S' "
                          "ORDER BY Soggetto COLLATE ITALIAN NULLS FIRST, ID")
        .arg(QLatin1String(columns));
}

Result<QVector<Subject>> selectUsers()
{
    return subjectsOf(readRows(usersSql("*"), {}));
}

Result<QStringList> selectUserNames()
{
    Executed rows = readRows(usersSql("Soggetto"), {});
    Result<QStringList> result{{}, rows.error};
    while (rows.ok() && rows.query.next())
        result.value.append(rows.query.value(0).toString());
    return result;
}

Result<std::optional<Subject>> findSubjectByName(const QString &name)
{
    return firstSubjectOf(
        readRows(QStringLiteral("SELECT * FROM Utente WHERE Soggetto = :name ORDER BY ID"),
                 {{":name", name}}));
}

RowStream<DiaryEntry> selectDiaryGridRows(qint64 userId, int limit, const DiaryEntry *after)
{
    // Entries without a due date first, then by date; equal dates by ID.
    QString sql = QStringLiteral("SELECT * FROM Tavelo WHERE Utente = :user");
    Bindings bindings{{":user", userId}};
    if (after && !after->scadenza.isValid()) {
        sql += QStringLiteral(" AND ((scadenza IS NULL AND ID > :id) OR scadenza IS NOT NULL)");
        bindings << Binding{":id", after->id};
    } else if (after) {
        // The index is sought to the last date, not read from the user's first entry.
        sql += QStringLiteral(" AND scadenza >= :due AND (scadenza > :same OR ID > :id)");
        const QVariant due = dateValue(after->scadenza);
        bindings << Binding{":due", due} << Binding{":same", due} << Binding{":id", after->id};
    }
    sql += QStringLiteral(" ORDER BY scadenza NULLS FIRST, ID");
    if (limit > 0) {
        sql += QStringLiteral(" LIMIT :limit");
        bindings << Binding{":limit", limit};
    }
    return streamOf<DiaryEntry>(readRows(sql, bindings), entryDecoder);
}

Result<std::optional<QString>> readVersionStamp()
{
    // The file may hold an empty text; the server's timestamp compares with text only
    // when cast.
    Executed rows =
        readRows(QStringLiteral("SELECT Versione FROM Versione "
                                "WHERE Versione IS NOT NULL AND CAST(Versione AS TEXT) <> ''"),
                 {});
    Result<std::optional<QString>> result{{}, rows.error};
    if (rows.ok() && rows.query.next()) {
        const QVariant stamp = rows.query.value(0);
        // The file holds the stamp's text; the server hands over a date and time.
        result.value = stamp.typeId() == QMetaType::QDateTime ? toStoredDateTime(stamp.toDateTime())
                                                              : stamp.toString();
    }
    return result;
}

WriteResult writeVersionStamp(const QString &stamp)
{
    // The table has no key: its first row is the one stored first. A file keeps that
    // order in its rowid; a server keeps none of its own (an updated row moves), so its
    // table numbers the rows in the column Riga.
    const QString place =
        DbConnection::instance().isServer() ? QStringLiteral("Riga") : QStringLiteral("rowid");
    return write(QStringLiteral("UPDATE Versione SET Versione = :stamp "
                                "WHERE %1 = (SELECT MIN(%1) FROM Versione)")
                     .arg(place),
                 {{":stamp", stamp}});
}

static const char *const insertEntrySql =
    "INSERT INTO Tavelo (data, scadenza, Oggetto, ndoc, Utente, AGG, Ripeti) "
    "VALUES (:data, :scadenza, :oggetto, :ndoc, :utente, :agg, :ripeti) RETURNING ID";

Result<qint64> insertDiaryEntry(const DiaryEntry &entry)
{
    QVariant id;
    const WriteResult written = write(QLatin1String(insertEntrySql), entryValues(entry), &id);
    return {written.ok() ? id.toLongLong() : 0, written.error};
}

static const char *const updateEntrySql =
    "UPDATE Tavelo SET data = :data, scadenza = :scadenza, Oggetto = :oggetto, ndoc = :ndoc, "
    "Utente = :utente, AGG = :agg, Ripeti = :ripeti WHERE ID = :id";

WriteResult updateDiaryEntry(const DiaryEntry &entry)
{
    return write(QLatin1String(updateEntrySql), entryValues(entry) << Binding{":id", entry.id});
}

WriteResult deleteDiaryEntry(qint64 entryId)
{
    return write(QStringLiteral("DELETE FROM Tavelo WHERE ID = :id"), {{":id", entryId}});
}

WriteResult deleteSubject(qint64 subjectId)
{
    return write(QStringLiteral("DELETE FROM Utente WHERE ID = :id"), {{":id", subjectId}});
}

WriteResult updatePickedDiaryEntry(const DiaryEntry &entry, const DiaryEntry &picked)
{
    Bindings bindings = entryValues(entry) << Binding{":id", picked.id};
    const QString unchanged = sameAsPicked(pickedEntry(picked), &bindings);
    return writePicked("Tavelo", picked.id,
                       QLatin1String(updateEntrySql) + QLatin1String(" AND ") + unchanged,
                       bindings);
}

namespace {

// Deletes the picked row `id` of `table` while it still holds the picked values.
WriteResult deletePicked(const char *table, qint64 id, const QList<PickedValue> &values)
{
    Bindings bindings = {{":id", id}};
    const QString unchanged = sameAsPicked(values, &bindings);
    return writePicked(
        table, id,
        QStringLiteral("DELETE FROM %1 WHERE ID = :id AND ").arg(QLatin1String(table)) + unchanged,
        bindings);
}

} // namespace

WriteResult deletePickedDiaryEntry(const DiaryEntry &picked)
{
    return deletePicked("Tavelo", picked.id, pickedEntry(picked));
}

namespace {

// Why closing touched nothing: the entry is gone, closed already (and when), or changed.
RowConflict missedClosing(qint64 id, QDate *closedBefore, QSqlError *error)
{
    QSqlQuery query(DbConnection::instance().database());
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("SELECT Chiusa FROM Tavelo WHERE ID = :id"), {{":id", id}},
             error))
        return RowConflict::None;
    if (!query.next())
        return RowConflict::Deleted;
    *closedBefore = storedDate(query.value(0));
    return query.value(0).isNull() ? RowConflict::Changed : RowConflict::Closed;
}

} // namespace

ClosingResult closePickedDiaryEntry(const DiaryEntry &picked, const QDate &closedOn,
                                    const std::optional<DiaryEntry> &next)
{
    ClosingResult result;
    WriteTransaction transaction;
    if (!transaction.started()) {
        result.error = transaction.error();
        return result;
    }
    Bindings bindings{{":closed", dateValue(closedOn)}, {":id", picked.id}};
    const QString unchanged = sameAsPicked(pickedEntry(picked), &bindings);
    QSqlQuery close(DbConnection::instance().database());
    if (!run(close,
             QStringLiteral("UPDATE Tavelo SET Chiusa = :closed "
                            "WHERE ID = :id AND Chiusa IS NULL AND ") +
                 unchanged,
             bindings, &result.error))
        return result;
    if (close.numRowsAffected() == 0) {
        result.conflict = missedClosing(picked.id, &result.closedBefore, &result.error);
        return result;
    }
    if (next) {
        QSqlQuery insert(DbConnection::instance().database());
        if (!run(insert, QLatin1String(insertEntrySql), entryValues(*next), &result.error))
            return result;
        result.nextId = returnedId(insert).toLongLong();
    }
    if (!transaction.commit()) {
        result.error = transaction.error();
        return result;
    }
    result.rowsAffected = 1;
    return result;
}

WriteResult deletePickedSubject(const Subject &picked)
{
    return deletePicked("Utente", picked.id, pickedSubject(picked));
}

RowStream<OverviewDeadline> selectDeadlines(int limit, const OverviewDeadline *after,
                                            const QStringList &words)
{
    QString sql = QStringLiteral("SELECT Tavelo.scadenza, Tavelo.Oggetto, Tavelo.Utente, "
                                 "Utente.Soggetto, Tavelo.ID "
                                 "FROM Utente INNER JOIN Tavelo ON Utente.ID = Tavelo.Utente "
                                 "WHERE Tavelo.scadenza IS NOT NULL AND Tavelo.Chiusa IS NULL");
    Bindings bindings;
    QSqlDatabase db = DbConnection::instance().database();
    // Each word is bound twice, under names of its own: the note's and the name's.
    static const char *const wordNames[][2] = {{":w0n", ":w0s"}, {":w1n", ":w1s"}, {":w2n", ":w2s"},
                                               {":w3n", ":w3s"}, {":w4n", ":w4s"}, {":w5n", ":w5s"},
                                               {":w6n", ":w6s"}, {":w7n", ":w7s"}};
    const int searched = std::min<int>(words.size(), int(std::size(wordNames)));
    for (int w = 0; w < searched && db.isOpen(); ++w) {
        const auto &names = wordNames[w];
        sql += QStringLiteral(" AND (%1 OR %2)")
                   .arg(holdsWordCondition(db, QStringLiteral("Tavelo.Oggetto"),
                                           QLatin1String(names[0])),
                        holdsWordCondition(db, QStringLiteral("Utente.Soggetto"),
                                           QLatin1String(names[1])));
        bindings << Binding{names[0], words.at(w)} << Binding{names[1], words.at(w)};
    }
    if (after) {
        sql += QStringLiteral(" AND (Tavelo.scadenza > :due OR "
                              "(Tavelo.scadenza = :same AND Tavelo.ID > :id))");
        const QVariant due = dateValue(after->scadenza);
        bindings << Binding{":due", due} << Binding{":same", due} << Binding{":id", after->entryId};
    }
    sql += QStringLiteral(" ORDER BY Tavelo.scadenza, Tavelo.ID");
    if (limit > 0) {
        sql += QStringLiteral(" LIMIT :limit");
        bindings << Binding{":limit", limit};
    }
    return streamOf<OverviewDeadline>(readRows(sql, bindings), [](const RowReader &reader) {
        const int due = reader.column(u"scadenza"), note = reader.column(u"Oggetto"),
                  owner = reader.column(u"Utente"), name = reader.column(u"Soggetto"),
                  entry = reader.column(u"ID");
        return [=](const RowReader &row) {
            return OverviewDeadline{row.date(due), storedText(row.value(note)), row.number(owner),
                                    storedText(row.value(name)), row.number(entry)};
        };
    });
}

Result<DueCounts> countDueDeadlines(const QSqlDatabase &db, const QDate &today, int soon)
{
    Executed rows = readRowsOn(
        db,
        QStringLiteral(
            "SELECT COALESCE(SUM(CASE WHEN Tavelo.scadenza < :today THEN 1 ELSE 0 END), 0), "
            "COUNT(*) "
            "FROM Utente INNER JOIN Tavelo ON Utente.ID = Tavelo.Utente "
            "WHERE Tavelo.scadenza IS NOT NULL AND Tavelo.scadenza <= :soon "
            "AND Tavelo.Chiusa IS NULL"),
        {{":today", dateValue(today)}, {":soon", dateValue(today.addDays(soon))}});
    Result<DueCounts> result{{}, rows.error};
    if (rows.ok() && rows.query.next()) {
        result.value.pastDue = rows.query.value(0).toLongLong();
        result.value.dueSoon = rows.query.value(1).toLongLong() - result.value.pastDue;
    }
    return result;
}

namespace {

Result<RowReader> reportRows(const QString &sql, const Bindings &bindings)
{
    Executed executed = readRows(sql, bindings);
    Result<RowReader> result;
    result.error = executed.error;
    if (executed.ok())
        result.value = RowReader(std::move(executed.query));
    return result;
}

} // namespace

Result<RowReader> selectUserCardRows(qint64 userId)
{
    return reportRows(
        QStringLiteral("SELECT * FROM Tavelo WHERE data IS NOT NULL AND Utente = :user "
                       "ORDER BY scadenza NULLS FIRST, ID"),
        {{":user", userId}});
}

Result<RowReader> selectAllUsersDeadlines()
{
    return reportRows(QStringLiteral("SELECT Utente.ID, Utente.Soggetto, Tavelo.scadenza, "
                                     "Tavelo.Oggetto, Tavelo.Utente, Utente.Soggetto "
                                     "FROM Utente INNER JOIN Tavelo ON Utente.ID = Tavelo.Utente "
                                     "WHERE Tavelo.scadenza IS NOT NULL "
                                     "AND Tavelo.Chiusa IS NULL "
                                     "ORDER BY Tavelo.scadenza, Tavelo.ID"),
                      {});
}

RowStream<CalendarRow> selectCalendarDeadlines(std::optional<qint64> userId, const QDate &firstDue)
{
    QString sql = QStringLiteral("SELECT Tavelo.ID, Tavelo.data, Tavelo.scadenza, Tavelo.Oggetto, "
                                 "Tavelo.ndoc, Utente.ID, Utente.Soggetto ") +
                  calendarDeadlinesFrom(firstDue);
    Bindings bindings;
    if (firstDue.isValid())
        bindings.append({":first", toStoredDate(firstDue)});
    if (userId) {
        sql += QStringLiteral("AND Tavelo.data IS NOT NULL AND Tavelo.Utente = :user ");
        bindings.append({":user", *userId});
    }
    sql += QStringLiteral("ORDER BY Tavelo.scadenza, Tavelo.ID");
    // The entry's and the owner's columns share the name ID: told apart by position.
    return streamOf<CalendarRow>(readRows(sql, bindings), [](const RowReader &) {
        return [](const RowReader &row) {
            return CalendarRow{row.number(0),
                               row.date(1),
                               row.date(2),
                               storedText(row.value(3)),
                               storedText(row.value(4)),
                               row.number(5),
                               storedText(row.value(6))};
        };
    });
}

LargePageCache::LargePageCache()
{
    if (DbConnection::instance().isServer())
        return;
    QSqlQuery query(DbConnection::instance().database());
    if (query.exec(QStringLiteral("PRAGMA cache_size")) && query.next())
        m_before = query.value(0);
    if (m_before.isValid())
        query.exec(QStringLiteral("PRAGMA cache_size = -65536"));
}

LargePageCache::~LargePageCache()
{
    if (m_before.isValid())
        QSqlQuery(DbConnection::instance().database())
            .exec(QStringLiteral("PRAGMA cache_size = %1").arg(m_before.toLongLong()));
}

Result<QString> selectCalendarDigest(const QDate &firstDue)
{
    Result<QString> result;
    QSqlDatabase db = DbConnection::instance().database();
    if (!db.isOpen()) {
        result.error = notOpenError();
        return result;
    }
    if (!DbConnection::instance().isServer() && !registerRowDigest(db)) {
        result.error =
            QSqlError(QString(), QStringLiteral("impronta delle scadenze non disponibile"),
                      QSqlError::ConnectionError);
        return result;
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT count(*), max(Tavelo.ID), %1 ")
                            .arg(calendarRowDigestSum(DbConnection::instance().isServer())) +
                        calendarDeadlinesFrom(firstDue);
    Bindings bindings;
    if (firstDue.isValid())
        bindings.append({":first", toStoredDate(firstDue)});
    if (!run(query, sql, bindings, &result.error))
        return result;
    if (!query.next()) {
        result.error = query.lastError();
        return result;
    }
    result.value = QStringLiteral("%1-%2-%3")
                       .arg(query.value(0).toLongLong())
                       .arg(query.value(1).toLongLong())
                       .arg(query.value(2).toString());
    return result;
}

Result<RowReader> selectRegistryReportRows()
{
    return reportRows(
        QStringLiteral("SELECT * FROM Utente ORDER BY Soggetto COLLATE ITALIAN NULLS FIRST, ID"),
        {});
}

RowStream<Subject> selectRegistryGridRows(int limit, const Subject *after)
{
    // NULL names come first in this order, then the names; equal names by ID.
    QString sql = QStringLiteral("SELECT * FROM Utente");
    Bindings bindings;
    if (after) {
        const QVariant name = after->soggetto.isNull() ? QVariant() : QVariant(after->soggetto);
        if (name.isNull()) {
            sql += QStringLiteral(" WHERE (Soggetto IS NULL AND ID > :id) OR Soggetto IS NOT NULL");
        } else {
            // Written so that the index is sought to the last name: for an OR of the two
            // SQLite would read both ranges and sort them again.
            sql += QStringLiteral(" WHERE Soggetto COLLATE ITALIAN >= :name AND "
                                  "(Soggetto COLLATE ITALIAN > :same OR ID > :id)");
            bindings << Binding{":name", name} << Binding{":same", name};
        }
        bindings << Binding{":id", after->id};
    }
    sql += QStringLiteral(" ORDER BY Soggetto COLLATE ITALIAN NULLS FIRST, ID");
    if (limit > 0) {
        sql += QStringLiteral(" LIMIT :limit");
        bindings << Binding{":limit", limit};
    }
    return streamOf<Subject>(readRows(sql, bindings), subjectDecoder);
}

QVariant subjectColumnValue(const Subject &subject, int tableColumn)
{
    if (tableColumn == 0)
        return subject.id;
    if (tableColumn < 1 || tableColumn > int(std::size(subjectTexts)))
        return {};
    const QString &text = subject.*subjectTexts[tableColumn - 1];
    return text.isNull() ? QVariant() : QVariant(text);
}

Result<qint64> insertSubject(const Subject &s)
{
    QVariant id;
    const WriteResult written = write(QLatin1String(insertSubjectSql), subjectValues(s), &id);
    return {written.ok() ? id.toLongLong() : 0, written.error};
}

WriteResult updateSubject(const Subject &s)
{
    return write(QLatin1String(updateSubjectSql), subjectValues(s) << Binding{":id", s.id});
}

Result<std::optional<Subject>> findSubjectById(qint64 subjectId)
{
    return firstSubjectOf(
        readRows(QStringLiteral("SELECT * FROM Utente WHERE ID = :id"), {{":id", subjectId}}));
}

Result<QVector<Subject>> findSubjectsByFiscalCode(const QString &code)
{
    return subjectsOf(
        readRows(QStringLiteral("SELECT * FROM Utente WHERE Codice = :code ORDER BY ID"),
                 {{":code", code}}));
}

namespace {

// Runs the write of a subject in the transaction already open, and commits it.
void writeSubject(WriteTransaction &transaction, const QString &sql, const Bindings &bindings,
                  SubjectWriteResult *result)
{
    QSqlQuery query(DbConnection::instance().database());
    if (!run(query, sql, bindings, &result->error))
        return;
    result->rowsAffected = query.numRowsAffected();
    result->id = returnedId(query).toLongLong();
    if (!transaction.commit()) {
        result->error = transaction.error();
        result->rowsAffected = 0;
        result->id = 0;
    }
}

} // namespace

SubjectWriteResult insertSubjectWithFreeCode(const Subject &s)
{
    SubjectWriteResult result;
    WriteTransaction transaction;
    if (!transaction.started()) {
        result.error = transaction.error();
        return result;
    }
    bool taken = false;
    if (!serialiseSubjectWrites(&result.error) || !codeTaken(s.codice, 0, &taken, &result.error))
        return result;
    if (taken) {
        result.duplicateCode = true;
        return result;
    }
    writeSubject(transaction, QLatin1String(insertSubjectSql), subjectValues(s), &result);
    return result;
}

namespace {

// A modify of the registry, the code looked up first; with `picked`, only while the
// stored subject still holds its values.
SubjectWriteResult rewriteSubject(const Subject &s, const Subject *picked)
{
    SubjectWriteResult result;
    WriteTransaction transaction;
    if (!transaction.started()) {
        result.error = transaction.error();
        return result;
    }
    std::optional<QString> stored;
    if (!serialiseSubjectWrites(&result.error) || !storedCode(s.id, &stored, &result.error))
        return result;
    if (!stored) {
        result.conflict = picked ? RowConflict::Deleted : RowConflict::None;
        return result;
    }
    if (stored->compare(s.codice, Qt::CaseInsensitive) != 0) {
        bool taken = false;
        if (!codeTaken(s.codice, s.id, &taken, &result.error))
            return result;
        if (taken) {
            result.duplicateCode = true;
            return result;
        }
    }
    Bindings bindings = subjectValues(s) << Binding{":id", s.id};
    QString sql = QLatin1String(updateSubjectSql);
    if (picked)
        sql += QLatin1String(" AND ") + sameAsPicked(pickedSubject(*picked), &bindings);
    writeSubject(transaction, sql, bindings, &result);
    if (picked && result.ok() && result.rowsAffected == 0)
        result.conflict = RowConflict::Changed;
    result.id = result.ok() ? s.id : 0;
    return result;
}

} // namespace

SubjectWriteResult updateSubjectWithFreeCode(const Subject &s)
{
    return rewriteSubject(s, nullptr);
}

SubjectWriteResult updatePickedSubjectWithFreeCode(const Subject &s, const Subject &picked)
{
    return rewriteSubject(s, &picked);
}

QSqlError ImportWriter::insertSubjectRow(const QVariantList &values)
{
    return insertRow(QStringLiteral("Utente"), values, false);
}

QSqlError ImportWriter::insertDiaryEntryRow(const QVariantList &values)
{
    return insertRow(QStringLiteral("Tavelo"), values, false);
}

QSqlError ImportWriter::insertVersionRow(const QVariantList &values)
{
    if (!m_versionRowsCleared) {
        QSqlQuery clear(DbConnection::instance().database());
        QSqlError error;
        if (!run(clear, QStringLiteral("DELETE FROM Versione"), {}, &error))
            return error;
        m_versionRowsCleared = true;
    }
    return insertRow(QStringLiteral("Versione"), values, true);
}

QSqlError ImportWriter::insertRow(const QString &table, const QVariantList &values, bool keepTime)
{
    const QStringList columns = DbConnection::tableColumns(table);
    if (values.size() != columns.size())
        return QSqlError(QString(), QStringLiteral("numero di valori errato"),
                         QSqlError::StatementError);
    auto prepared = m_prepared.find(table);
    if (prepared == m_prepared.end()) {
        QSqlDatabase db = DbConnection::instance().database();
        if (!db.isOpen())
            return notOpenError();
        QSqlQuery query(db);
        const QString sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, columns.join(QStringLiteral(", ")),
                     QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        if (!query.prepare(sql))
            return query.lastError();
        prepared = m_prepared.insert(table, query);
    }
    QSqlQuery &query = prepared.value();
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        if (value.typeId() == QMetaType::QDateTime) {
            const QDateTime moment = value.toDateTime();
            if (!keepTime && moment.isValid() && moment.time() != QTime(0, 0))
                ++m_timesLeftOut;
            query.bindValue(i, !moment.isValid() ? QVariant(QMetaType(QMetaType::QString))
                               : keepTime        ? QVariant(toStoredDateTime(moment))
                                                 : dateValue(moment.date()));
        } else {
            query.bindValue(i, value);
        }
    }
    if (!query.exec())
        return query.lastError();
    return {};
}

QSqlError ImportWriter::finish(const QHash<QString, qint64> &usedIds)
{
    // A file's AUTOINCREMENT follows the largest ID written by itself; a server's
    // identity column draws from a sequence that must be moved past it, in a form only
    // the server knows.
    if (!DbConnection::instance().isServer())
        return {};
    for (const char *table : {"utente", "tavelo"}) {
        QSqlQuery query(DbConnection::instance().database());
        QSqlError error;
        if (!run(query,
                 QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), "
                                "GREATEST((SELECT COALESCE(MAX(ID), 0) FROM %1), :used) + 1, "
                                "false)")
                     .arg(QLatin1String(table)),
                 {{":used", usedIds.value(QLatin1String(table), 0)}}, &error))
            return error;
    }
    return {};
}

Result<QHash<QString, qint64>> selectUsedIds(const QSqlDatabase &source)
{
    // SQLite keeps, for each AUTOINCREMENT table, the largest ID it ever gave.
    Result<QHash<QString, qint64>> result;
    QSqlQuery query(source);
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("SELECT name, seq FROM sqlite_sequence"), {}, &result.error))
        return result;
    while (query.next())
        result.value.insert(query.value(0).toString().toLower(), query.value(1).toLongLong());
    return result;
}

RowStream<QVariantList> selectTableForCopy(const QSqlDatabase &source, const QString &table)
{
    const QStringList columns = DbConnection::tableColumns(table);
    if (columns.isEmpty())
        return RowStream<QVariantList>(
            QSqlError(QString(), QStringLiteral("tabella sconosciuta %1").arg(table),
                      QSqlError::StatementError));
    // A file written before some columns were added gives them as NULL.
    QStringList present;
    QSqlQuery shape(source);
    if (shape.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
        while (shape.next())
            present << shape.value(1).toString().toLower();
    }
    QStringList selected;
    for (const QString &column : columns)
        selected << (isAddedColumn(column) && !present.contains(column.toLower())
                         ? QStringLiteral("NULL AS %1").arg(column)
                         : column);
    Executed executed;
    executed.query = QSqlQuery(source);
    executed.query.setForwardOnly(true);
    // The file's stored order for the version stamp, whose first row is the one that
    // counts; the other tables by ID.
    const QString order =
        table == QLatin1String("Versione") ? QStringLiteral("rowid") : QStringLiteral("ID");
    run(executed.query,
        QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
            .arg(selected.join(QStringLiteral(", ")), table, order),
        {}, &executed.error);
    return streamOf<QVariantList>(std::move(executed), [columns](const RowReader &reader) {
        QVector<int> index;
        QVector<bool> dates;
        for (const QString &column : columns) {
            index << reader.column(column);
            dates << isDateColumn(column);
        }
        return [index, dates](const RowReader &row) {
            QVariantList values;
            values.reserve(index.size());
            for (int i = 0; i < index.size(); ++i) {
                // Read as stored: the import keeps a date's time where the stamp has one.
                QVariant value = row.stored(index.at(i));
                if (dates.at(i) && !value.isNull() && value.toString().trimmed().isEmpty())
                    value = QVariant(QMetaType(QMetaType::QString));
                values << value;
            }
            return values;
        };
    });
}

QSqlError emptyArchive()
{
    QSqlError error;
    for (const char *table : {"Tavelo", "Utente"}) {
        QSqlQuery query(DbConnection::instance().database());
        if (!run(query, QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)), {}, &error))
            return error;
    }
    return {};
}

Result<qint64> countArchiveRows()
{
    Executed rows = readRows(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM Utente) + (SELECT COUNT(*) FROM Tavelo)"), {});
    Result<qint64> result{0, rows.error};
    if (rows.ok() && rows.query.next())
        result.value = rows.query.value(0).toLongLong();
    return result;
}

Result<QString> checkIntegrity()
{
    Executed rows = readRows(QStringLiteral("PRAGMA integrity_check"), {});
    Result<QString> result{{}, rows.error};
    QStringList lines;
    while (rows.ok() && rows.query.next())
        lines << rows.query.value(0).toString();
    result.value = lines.join(QLatin1Char('\n'));
    return result;
}

WriteResult copyDataFileTo(const QString &path)
{
    WriteResult result;
    QSqlDatabase db = DbConnection::instance().database();
    if (!db.isOpen()) {
        result.error = notOpenError();
        return result;
    }
    // Outside any transaction: the copy is one consistent reading of the file.
    const QString sql = QStringLiteral("VACUUM INTO :path");
    QSqlQuery query(db);
    if (run(query, sql, {{":path", path}}, &result.error))
        return result;
    // A grid that still reads its rows keeps the connection busy ("statements in
    // progress"); a second, read-only connection to the same file sees the same
    // committed data and makes the same copy.
    QFile::remove(path);
    const QString second = QStringLiteral("tavelo-backup");
    {
        QSqlDatabase copier = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), second);
        copier.setDatabaseName(db.databaseName());
        copier.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        // The copy rebuilds the registry's index, which sorts through the collation.
        if (copier.open() && registerItalianCollation(copier)) {
            QSqlQuery retry(copier);
            QSqlError error;
            if (run(retry, sql, {{":path", path}}, &error))
                result.error = QSqlError();
        }
    }
    QSqlDatabase::removeDatabase(second);
    return result;
}
