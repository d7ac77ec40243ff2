// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/statements.h"

#include <QAbstractTableModel>
#include <QSqlError>
#include <QVariant>
#include <QVector>

// A read-only table of rows read a page at a time, each page starting after the last
// row read, as the view scrolls to them: the first rows show at once on a file and on a
// server alike, whatever the number of rows. A model names the statement of its next
// page; this class keeps the rows and tells the view.
class PagedRowsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int pageSize = 256;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;

protected:
    // The next page, after `last` (nullptr: the first page).
    virtual RowsResult nextPage(const QVector<QVariant> *last) = 0;
    // Told the first page's query before its rows are read; gives how many columns a row
    // keeps.
    virtual int columnsToKeep(const QSqlQuery &firstPage) = 0;

    // Forgets the rows, then, when `read` is set, reads the first page again; the view
    // is reset around it. An invalid error means success.
    QSqlError reload(bool read);
    const QVector<QVector<QVariant>> &rows() const { return m_rows; }

private:
    QSqlError readPage();

    QVector<QVector<QVariant>> m_rows;
    int m_columns = 0;
    bool m_more = false;
};
