// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/paged_rows_model.h"

QSqlError PagedRowsModel::reload(bool read)
{
    beginResetModel();
    forgetRows();
    m_more = false;
    const QSqlError error = read ? readPage() : QSqlError();
    endResetModel();
    return error;
}

// Appends the next page, which starts after the last row read.
QSqlError PagedRowsModel::readPage()
{
    int count = 0;
    const QSqlError error = readNextPage(&count);
    if (error.isValid()) {
        m_more = false;
        return error;
    }
    m_more = count == pageSize;
    if (count == 0)
        return {};
    const int held = heldRows();
    if (held == 0) {
        keepPage();
    } else {
        beginInsertRows({}, held, held + count - 1);
        keepPage();
        endInsertRows();
    }
    return {};
}

int PagedRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : heldRows();
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
