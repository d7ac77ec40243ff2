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

Outcome<QVariant> valid(const QVariant &value)
{
    return {value, {}};
}

Outcome<QVariant> typedValue(const MdbColumn *column, const QByteArray &text, bool isNull)
{
    const QString value = QString::fromUtf8(text);
    switch (column->col_type) {
    case MDB_BOOL:
        return valid(value == QLatin1String("1"));
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT: {
        if (isNull)
            return valid(QVariant(QMetaType(QMetaType::LongLong)));
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok)
            return Outcome<QVariant>::failure(QStringLiteral("valore non valido nella colonna %1")
                                                  .arg(QString::fromUtf8(column->name)));
        return valid(number);
    }
    case MDB_DATETIME: {
        if (isNull)
            return valid(QVariant(QMetaType(QMetaType::QDateTime)));
        const QDateTime moment =
            QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!moment.isValid())
            return Outcome<QVariant>::failure(QStringLiteral("data non valida «%1»").arg(value));
        return valid(moment);
    }
    case MDB_TEXT:
    case MDB_MEMO:
        if (isNull)
            return valid(QVariant(QMetaType(QMetaType::QString)));
        if (size_t(text.size()) >= bindSize - 1)
            return Outcome<QVariant>::failure(
                QStringLiteral("il testo della colonna %1 è troppo lungo")
                    .arg(QString::fromUtf8(column->name)));
        return valid(value);
    default:
        if (isNull)
            return valid(QVariant(QMetaType(QMetaType::QString)));
        return valid(value);
    }
}

Outcome<LegacyDatabase::Table> readColumns(MdbTableDef *table, const QString &path,
                                           const QString &tableName)
{
    if (!mdb_read_columns(table))
        return Outcome<LegacyDatabase::Table>::failure(
            damaged(path, QStringLiteral("le colonne della tabella %1 non si possono "
                                         "leggere.")
                              .arg(tableName)));
    LegacyDatabase::Table shape;
    for (unsigned int i = 0; i < table->num_cols; ++i) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        shape.columns << QString::fromUtf8(column->name);
    }
    shape.declaredRows = int(table->num_rows);
    return {shape, {}};
}

// A row that cannot be read names the table, the row and the column.
Outcome<QVariantList> rowValues(MdbHandle *mdb, MdbTableDef *table, const QString &tableName,
                                int rowNumber)
{
    const std::vector<bool> nulls = nullColumns(table);
    QVariantList values;
    values.reserve(int(table->num_cols));
    for (unsigned int i = 0; i < table->num_cols; ++i) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        const Outcome<QVariant> value = typedValue(column, columnText(mdb, column), nulls[i]);
        if (!value.ok())
            return Outcome<QVariantList>::failure(QStringLiteral("tabella %1, riga %2: %3")
                                                      .arg(tableName)
                                                      .arg(rowNumber)
                                                      .arg(value.problem));
        values << value.value;
    }
    return {values, {}};
}

Check readRows(MdbHandle *mdb, MdbTableDef *table, const QString &path, const QString &tableName,
               int declaredRows, const LegacyDatabase::RowHandler &onRow)
{
    mdb_rewind_table(table);
    int rowNumber = 0;
    while (mdb_fetch_row(table)) {
        ++rowNumber;
        const Outcome<QVariantList> values = rowValues(mdb, table, tableName, rowNumber);
        if (!values.ok())
            return Check::failure(values.problem);
        if (Check handled = onRow(rowNumber, values.value); !handled.ok())
            return handled;
    }
    if (rowNumber != declaredRows)
        return Check::failure(damaged(path, QStringLiteral("la tabella %1 dovrebbe avere %2 righe, "
                                                           "se ne leggono %3.")
                                                .arg(tableName)
                                                .arg(declaredRows)
                                                .arg(rowNumber)));
    return passed();
}

} // namespace

LegacyDatabase::~LegacyDatabase()
{
    if (m_handle)
        mdb_close(handleOf(m_handle));
}

Check LegacyDatabase::open(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return Check::failure(
            QStringLiteral("Il file «%1» non esiste o non si può leggere.").arg(path));
    MdbHandle *mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb)
        return Check::failure(QStringLiteral("Il file «%1» non è un archivio della versione "
                                             "precedente (un file .mdb di Access) o è danneggiato.")
                                  .arg(path));
    m_handle = mdb;
    m_path = path;
    // A file cut short ends in the middle of a page.
    if (info.size() % mdb->fmt->pg_size != 0)
        return Check::failure(damaged(path, QStringLiteral("il file è troncato.")));
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        return Check::failure(
            damaged(path, QStringLiteral("l'elenco delle tabelle non si può leggere.")));
    mdb_set_date_fmt(mdb, dateFormat);
    mdb_set_bind_size(mdb, bindSize);
    return passed();
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

Outcome<LegacyDatabase::Table> LegacyDatabase::describeTable(const QString &table)
{
    return readTable(table, {});
}

Outcome<LegacyDatabase::Table> LegacyDatabase::readTable(const QString &tableName,
                                                         const RowHandler &onRow)
{
    MdbHandle *mdb = handleOf(m_handle);
    QByteArray name = tableName.toUtf8();
    MdbTableDef *table = mdb ? mdb_read_table_by_name(mdb, name.data(), MDB_TABLE) : nullptr;
    if (!table)
        return Outcome<Table>::failure(
            damaged(m_path, QStringLiteral("la tabella %1 non si può leggere.").arg(tableName)));
    Outcome<Table> read = readColumns(table, m_path, tableName);
    if (read.ok() && onRow) {
        if (const Check rows =
                readRows(mdb, table, m_path, tableName, read.value.declaredRows, onRow);
            !rows.ok())
            read = Outcome<Table>::failure(rows.problem);
    }
    mdb_free_tabledef(table);
    return read;
}
