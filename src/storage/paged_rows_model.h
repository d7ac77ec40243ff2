// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/row_reader.h"

#include <QAbstractTableModel>
#include <QSqlError>
#include <QVector>

// A read-only table of rows read a page at a time, each page starting after the last
// row read, as the view scrolls to them: the first rows show at once on a file and on a
// server alike, whatever the number of rows. This class tells the view; PagedModel keeps
// the rows.
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
    // Forgets the rows, then, when `read` is set, reads the first page again; the view
    // is reset around it. An invalid error means success.
    QSqlError reload(bool read);

private:
    virtual int heldRows() const = 0;
    virtual void forgetRows() = 0;
    // Reads the page after the last row held into a waiting list; gives how many rows
    // it holds, or the error.
    virtual QSqlError readNextPage(int *rows) = 0;
    // Adds the waiting rows to the rows held.
    virtual void keepPage() = 0;

    QSqlError readPage();

    bool m_more = false;
};

// The rows themselves, of one kind. A model names the statement of its next page.
template <typename Row> class PagedModel : public PagedRowsModel
{
public:
    using PagedRowsModel::PagedRowsModel;

protected:
    // The next page, after `last` (nullptr: the first page).
    virtual RowStream<Row> nextPage(const Row *last) = 0;
    const QVector<Row> &rows() const { return m_rows; }

private:
    int heldRows() const override { return int(m_rows.size()); }
    void forgetRows() override { m_rows.clear(); }
    QSqlError readNextPage(int *count) override
    {
        RowStream<Row> page = nextPage(m_rows.isEmpty() ? nullptr : &m_rows.constLast());
        m_page.clear();
        Row row;
        while (page.next(&row))
            m_page.append(std::move(row));
        *count = int(m_page.size());
        return page.ok() ? QSqlError() : page.error();
    }
    void keepPage() override
    {
        m_rows += m_page;
        m_page.clear();
    }

    QVector<Row> m_rows;
    QVector<Row> m_page;
};
