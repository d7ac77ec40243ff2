// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/overview_list_model.h"

#include "core/dates.h"

#include <QSqlRecord>

namespace {

// The query's fifth column is the entry's ID; the list shows the first four.
constexpr int shownColumns = 4;
constexpr int entryIdColumn = 4;

} // namespace

void OverviewListModel::load(QSqlQuery &&query)
{
    m_loading = true;
    setQuery(std::move(query));
    m_loading = false;
}

bool OverviewListModel::canFetchMore(const QModelIndex &parent) const
{
    return !m_loading && QSqlQueryModel::canFetchMore(parent);
}

int OverviewListModel::columnCount(const QModelIndex &parent) const
{
    return qMin(QSqlQueryModel::columnCount(parent), shownColumns);
}

QVariant OverviewListModel::data(const QModelIndex &index, int role) const
{
    if (role == EntryIdRole)
        return record(index.row()).value(entryIdColumn);
    const QVariant value = QSqlQueryModel::data(index, role);
    if (role != Qt::DisplayRole || index.column() != 0 || value.isNull())
        return value;
    const QDate date = fromStoredDate(value.toString());
    return date.isValid() ? QVariant(toScreenDate(date)) : value;
}
