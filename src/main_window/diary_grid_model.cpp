// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/diary_grid_model.h"

#include "core/dates.h"
#include "storage/db_connection.h"

namespace {

// The rows read at a time, as the grid scrolls.
constexpr int batch = 256;

enum Column { IdColumn, DataColumn, DueDateColumn, NoteColumn, DocColumn, UserColumn, AggColumn };

QVariant text(const QString &value)
{
    return value.isNull() ? QVariant() : QVariant(value);
}

QVariant date(const QDate &value, int role)
{
    if (!value.isValid())
        return {};
    return role == Qt::DisplayRole ? QVariant(toScreenDate(value)) : QVariant(value);
}

} // namespace

QSqlError DiaryGridModel::load(qint64 userId)
{
    beginResetModel();
    m_rows.clear();
    m_stream = selectDiaryGridRows(userId);
    m_more = m_stream.ok();
    m_columns = m_more ? DbConnection::tableColumns(QStringLiteral("Tavelo")) : QStringList();
    endResetModel();
    if (!m_stream.ok())
        return m_stream.error();
    fetchMore();
    return {};
}

void DiaryGridModel::clear()
{
    beginResetModel();
    m_stream = RowStream<DiaryEntry>();
    m_rows.clear();
    m_columns.clear();
    m_more = false;
    endResetModel();
}

std::optional<DiaryEntry> DiaryGridModel::entryAt(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return std::nullopt;
    return m_rows.at(row);
}

int DiaryGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DiaryGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

bool DiaryGridModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void DiaryGridModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    QVector<DiaryEntry> read;
    DiaryEntry entry;
    while (read.size() < batch && m_stream.next(&entry))
        read.append(entry);
    m_more = read.size() == batch;
    if (!m_more)
        m_stream = RowStream<DiaryEntry>(); // lets the archive go
    if (read.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + read.size() - 1));
    m_rows += read;
    endInsertRows();
}

QVariant DiaryGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const DiaryEntry &entry = m_rows.at(index.row());
    switch (index.column()) {
    case IdColumn:
        return entry.id;
    case DataColumn:
        return date(entry.data, role);
    case DueDateColumn:
        return date(entry.scadenza, role);
    case NoteColumn:
        return text(entry.oggetto);
    case DocColumn:
        return text(entry.ndoc);
    case UserColumn:
        return entry.utente;
    case AggColumn:
        return date(entry.agg, role);
    }
    return {};
}

QVariant DiaryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
