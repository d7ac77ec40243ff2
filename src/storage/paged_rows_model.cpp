// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/paged_rows_model.h"

QSqlError PagedRowsModel::reload(bool read)
{
    beginResetModel();
    m_rows.clear();
    m_columns = 0;
    m_more = false;
    const QSqlError error = read ? readPage() : QSqlError();
    endResetModel();
    return error;
}

// Appends the next page, which starts after the last row read.
QSqlError PagedRowsModel::readPage()
{
    RowsResult page = nextPage(m_rows.isEmpty() ? nullptr : &m_rows.last());
    if (!page.ok()) {
        m_more = false;
        return page.error;
    }
    if (m_rows.isEmpty())
        m_columns = columnsToKeep(page.value);
    QVector<QVector<QVariant>> rows;
    while (page.value.next()) {
        QVector<QVariant> row(m_columns);
        for (int column = 0; column < m_columns; ++column)
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

int PagedRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

bool PagedRowsModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void PagedRowsModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        readPage();
}
