// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/calendar_digest.h"

#include "storage/sqlite_handle.h"

#include <QSqlDatabase>

#include <sqlite3.h>

namespace {

// FNV-1a over each value's type and bytes: stable from run to run and from version to
// version, which Qt's seeded hashes are not. Its last step alone would let two rows
// changed by one letter each move the sum by opposite amounts: the finish of MurmurHash3
// spreads every change over all the bits first.
void rowDigest(sqlite3_context *context, int count, sqlite3_value **values)
{
    quint32 hash = 2166136261u;
    const auto mix = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 16777619u;
    };
    for (int i = 0; i < count; ++i) {
        const int type = sqlite3_value_type(values[i]);
        mix(static_cast<unsigned char>(type));
        if (type == SQLITE_NULL)
            continue;
        const auto *bytes = sqlite3_value_text(values[i]);
        const int length = sqlite3_value_bytes(values[i]);
        for (int at = 0; at < length; ++at)
            mix(bytes[at]);
    }
    hash ^= hash >> 16;
    hash *= 0x85ebca6bu;
    hash ^= hash >> 13;
    hash *= 0xc2b2ae35u;
    hash ^= hash >> 16;
    sqlite3_result_int64(context, hash);
}

} // namespace

QString calendarDeadlinesFrom(const QDate &firstDue)
{
    QString from = QStringLiteral("FROM Utente INNER JOIN Tavelo ON Utente.ID = Tavelo.Utente "
                                  "WHERE Tavelo.scadenza IS NOT NULL AND Tavelo.Chiusa IS NULL ");
    if (firstDue.isValid())
        from += QStringLiteral("AND Tavelo.scadenza >= :first ");
    return from;
}

QString calendarRowDigestSum(bool server)
{
    // Each row's number fits in 32 bits, so that the sum of millions cannot overflow.
    if (server)
        return QStringLiteral(
            "coalesce(sum(('x' || substr(md5(concat_ws(chr(31), Tavelo.ID, Tavelo.data, "
            "Tavelo.scadenza, Tavelo.Oggetto, Tavelo.ndoc, Utente.Soggetto)), 1, 8))"
            "::bit(32)::bigint), 0)");
    return QStringLiteral("coalesce(sum(tavelo_row_digest(Tavelo.ID, Tavelo.data, "
                          "Tavelo.scadenza, Tavelo.Oggetto, Tavelo.ndoc, Utente.Soggetto)), 0)");
}

bool registerRowDigest(QSqlDatabase &db)
{
    sqlite3 *connection = sqliteHandle(db);
    return connection &&
           sqlite3_create_function_v2(connection, "tavelo_row_digest", -1,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, rowDigest,
                                      nullptr, nullptr, nullptr) == SQLITE_OK;
}
