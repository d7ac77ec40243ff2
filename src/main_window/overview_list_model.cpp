// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/overview_list_model.h"

#include "core/dates.h"
#include "storage/statements.h"

#include <QSqlQuery>

namespace {

// Statement 10 reads five columns; the list shows the first four, the fifth is the
// entry's ID.
constexpr int readColumns = 5;
constexpr int shownColumns = 4;
constexpr int dueDateColumn = 0;
constexpr int entryIdColumn = 4;

} // namespace

QSqlError OverviewListModel::load()
{
    beginResetModel();
    m_rows.clear();
    m_more = false;
    const QSqlError error = readPage();
    endResetModel();
    return error;
}

void OverviewListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_headers.clear();
    m_more = false;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, shownColumns - 1);
}

// Appends the next page, which starts after the last deadline read.
QSqlError OverviewListModel::readPage()
{
    std::optional<DeadlineOrderKey> after;
    if (!m_rows.isEmpty())
        after = DeadlineOrderKey{m_rows.last().at(dueDateColumn),
                                 m_rows.last().at(entryIdColumn).toLongLong()};
    RowsResult page = selectDeadlines(pageSize, after);
    if (!page.ok()) {
        m_more = false;
        return page.error;
    }
    QVector<QVector<QVariant>> rows;
    while (page.value.next()) {
        QVector<QVariant> row(readColumns);
        for (int column = 0; column < readColumns; ++column)
            row[column] = page.value.value(column);
        rows.append(std::move(row));
    }
    m_more = rows.size() == pageSize;
    if (rows.isEmpty())
        return {};
    if (m_rows.isEmpty()) {
        m_rows = std::move(rows);
    } else {
        beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size() - 1));
        m_rows += rows;
        endInsertRows();
    }
    return {};
}

int OverviewListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int OverviewListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shownColumns;
}

QVariant OverviewListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= shownColumns)
        return {};
    const QVector<QVariant> &row = m_rows.at(index.row());
    if (role == EntryIdRole)
        return row.at(entryIdColumn);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const QVariant &value = row.at(index.column());
    if (value.isNull())
        return {};
    if (role != Qt::DisplayRole || index.column() != dueDateColumn)
        return value;
    // The file keeps dates as text, a server hands them over as dates.
    const QDate date =
        value.typeId() == QMetaType::QDate ? value.toDate() : fromStoredDate(value.toString());
    return date.isValid() ? QVariant(toScreenDate(date)) : value;
}

QVariant OverviewListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        const auto header =
            m_headers.constFind({section, role == Qt::EditRole ? int(Qt::DisplayRole) : role});
        if (header != m_headers.constEnd())
            return *header;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool OverviewListModel::setHeaderData(int section, Qt::Orientation orientation,
                                      const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= shownColumns)
        return false;
    m_headers.insert({section, role == Qt::EditRole ? int(Qt::DisplayRole) : role}, value);
    emit headerDataChanged(orientation, section, section);
    return true;
}

bool OverviewListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void OverviewListModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        readPage();
}
