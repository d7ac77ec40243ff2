// SPDX-License-Identifier: GPL-3.0-or-later
#include "legacy/legacy_database.h"

#include <QDateTime>
#include <QFileInfo>

#include <vector>

// mdbtools' header uses glib's types without including glib itself.
#include <glib.h>
extern "C" {
#include <mdbtools.h>
}

namespace {

// The longest text, in bytes of UTF-8, that the library hands back. A note that long is
// refused rather than cut; it is far beyond what the earlier version's forms let anyone
// type.
constexpr size_t bindSize = 1 << 20;
const char *const dateFormat = "%Y-%m-%d %H:%M:%S";

MdbHandle *handleOf(void *handle)
{
    return static_cast<MdbHandle *>(handle);
}

QString damaged(const QString &path, const QString &detail)
{
    return QStringLiteral("Il file «%1» è danneggiato: %2").arg(path, detail);
}

// One column's value of the row just fetched, as text in UTF-8 (dates in the format set
// on the handle). Read without binding: a bound column costs a copy of the whole bind
// size for every value.
QByteArray columnText(MdbHandle *mdb, const MdbColumn *column)
{
    if (column->cur_value_len <= 0)
        return QByteArray("");
    char *text = mdb_col_to_string(mdb, mdb->pg_buf, column->cur_value_start, column->col_type,
                                   column->cur_value_len);
    if (!text)
        return QByteArray("");
    QByteArray value(text);
    g_free(text);
    return value;
}

// The library reads a NULL and an empty text alike; the row's own null mask, read again
// from the page that holds the row just fetched, tells them apart.
std::vector<bool> nullColumns(MdbTableDef *table)
{
    std::vector<bool> nulls(table->num_cols, false);
    MdbHandle *mdb = table->entry->mdb;
    int start = 0;
    size_t size = 0;
    if (table->cur_row == 0 || mdb_find_row(mdb, int(table->cur_row) - 1, &start, &size) != 0)
        return nulls;
    std::vector<MdbField> fields(std::max<size_t>(table->num_cols, 256));
    const int count = mdb_crack_row(table, start, size, fields.data());
    for (int i = 0; i < count; ++i) {
        const int column = fields[i].colnum;
        if (column >= 0 && column < int(table->num_cols))
            nulls[column] = fields[i].is_null != 0;
    }
    return nulls;
}

QVariant typedValue(const MdbColumn *column, const QByteArray &text, bool isNull, bool *ok,
                    QString *problem)
{
    *ok = true;
    const QString value = QString::fromUtf8(text);
    switch (column->col_type) {
    case MDB_BOOL:
        return value == QLatin1String("1");
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        if (isNull)
            return QVariant(QMetaType(QMetaType::LongLong));
        return value.toLongLong(ok);
    case MDB_DATETIME: {
        if (isNull)
            return QVariant(QMetaType(QMetaType::QDateTime));
        const QDateTime moment =
            QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        *ok = moment.isValid();
        if (!*ok)
            *problem = QStringLiteral("data non valida «%1»").arg(value);
        return moment;
    }
    case MDB_TEXT:
    case MDB_MEMO:
        if (isNull)
            return QVariant(QMetaType(QMetaType::QString));
        if (size_t(text.size()) >= bindSize - 1) {
            *ok = false;
            *problem = QStringLiteral("il testo della colonna %1 è troppo lungo")
                           .arg(QString::fromUtf8(column->name));
        }
        return value;
    default:
        if (isNull)
            return QVariant(QMetaType(QMetaType::QString));
        return value;
    }
}

} // namespace

LegacyDatabase::~LegacyDatabase()
{
    if (m_handle)
        mdb_close(handleOf(m_handle));
}

bool LegacyDatabase::open(const QString &path, QString *problem)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        *problem = QStringLiteral("Il file «%1» non esiste o non si può leggere.").arg(path);
        return false;
    }
    MdbHandle *mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb) {
        *problem = QStringLiteral("Il file «%1» non è un archivio della versione precedente "
                                  "(un file .mdb di Access) o è danneggiato.")
                       .arg(path);
        return false;
    }
    m_handle = mdb;
    m_path = path;
    // A file cut short ends in the middle of a page.
    if (info.size() % mdb->fmt->pg_size != 0) {
        *problem = damaged(path, QStringLiteral("il file è troncato."));
        return false;
    }
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        *problem = damaged(path, QStringLiteral("l'elenco delle tabelle non si può leggere."));
        return false;
    }
    mdb_set_date_fmt(mdb, dateFormat);
    mdb_set_bind_size(mdb, bindSize);
    return true;
}

bool LegacyDatabase::hasTable(const QString &table) const
{
    MdbHandle *mdb = handleOf(m_handle);
    if (!mdb || !mdb->catalog)
        return false;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE &&
            QString::fromUtf8(entry->object_name).compare(table, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool LegacyDatabase::describeTable(const QString &table, Table *shape, QString *problem)
{
    return readTable(table, shape, {}, problem);
}

bool LegacyDatabase::readTable(const QString &tableName, Table *shape, const RowHandler &onRow,
                               QString *problem)
{
    MdbHandle *mdb = handleOf(m_handle);
    QByteArray name = tableName.toUtf8();
    MdbTableDef *table = mdb ? mdb_read_table_by_name(mdb, name.data(), MDB_TABLE) : nullptr;
    if (!table) {
        *problem =
            damaged(m_path, QStringLiteral("la tabella %1 non si può leggere.").arg(tableName));
        return false;
    }
    bool ok = true;
    if (!mdb_read_columns(table)) {
        *problem = damaged(m_path, QStringLiteral("le colonne della tabella %1 non si possono "
                                                  "leggere.")
                                       .arg(tableName));
        ok = false;
    }
    if (ok) {
        shape->columns.clear();
        for (unsigned int i = 0; i < table->num_cols; ++i) {
            auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
            shape->columns << QString::fromUtf8(column->name);
        }
        shape->declaredRows = int(table->num_rows);
    }
    if (ok && onRow) {
        mdb_rewind_table(table);
        int rowNumber = 0;
        while (ok && mdb_fetch_row(table)) {
            ++rowNumber;
            const std::vector<bool> nulls = nullColumns(table);
            QVariantList values;
            values.reserve(int(table->num_cols));
            for (unsigned int i = 0; ok && i < table->num_cols; ++i) {
                auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
                QString detail;
                values << typedValue(column, columnText(mdb, column), nulls[i], &ok, &detail);
                if (!ok)
                    *problem = QStringLiteral("tabella %1, riga %2: %3")
                                   .arg(tableName)
                                   .arg(rowNumber)
                                   .arg(detail.isEmpty() ? QStringLiteral("valore non valido "
                                                                          "nella colonna %1")
                                                               .arg(shape->columns.at(int(i)))
                                                         : detail);
            }
            if (ok && !onRow(rowNumber, values))
                ok = false;
        }
        if (ok && rowNumber != shape->declaredRows) {
            *problem = damaged(m_path, QStringLiteral("la tabella %1 dovrebbe avere %2 righe, "
                                                      "se ne leggono %3.")
                                           .arg(tableName)
                                           .arg(shape->declaredRows)
                                           .arg(rowNumber));
            ok = false;
        }
    }
    mdb_free_tabledef(table);
    return ok;
}
