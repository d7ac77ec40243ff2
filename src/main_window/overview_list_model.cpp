// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/overview_list_model.h"

#include "core/dates.h"
#include "storage/statements.h"

#include <QSqlQuery>

namespace {

// selectDeadlines() reads five columns; the list shows the first four, the fifth is the
// entry's ID.
constexpr int readColumns = 5;
constexpr int shownColumns = 4;
constexpr int dueDateColumn = 0;
constexpr int entryIdColumn = 4;

} // namespace

QSqlError OverviewListModel::load()
{
    return reload(true);
}

void OverviewListModel::clear()
{
    m_headers.clear();
    reload(false);
    emit headerDataChanged(Qt::Horizontal, 0, shownColumns - 1);
}

// The next deadlines after the last one read.
RowsResult OverviewListModel::nextPage(const QVector<QVariant> *last)
{
    std::optional<DeadlineOrderKey> after;
    if (last)
        after = DeadlineOrderKey{last->at(dueDateColumn), last->at(entryIdColumn).toLongLong()};
    return selectDeadlines(pageSize, after);
}

int OverviewListModel::columnsToKeep(const QSqlQuery &)
{
    return readColumns;
}

int OverviewListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shownColumns;
}

QVariant OverviewListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows().size() || index.column() >= shownColumns)
        return {};
    const QVector<QVariant> &row = rows().at(index.row());
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
