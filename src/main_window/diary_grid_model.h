// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/paged_rows_model.h"
#include "storage/statements.h"

#include <QStringList>

#include <optional>

// The rows of a user's diary for the entry grid, in the columns of the table Tavelo.
// Rows are read a page at a time as the grid scrolls to them, each page after the last
// row read, so a diary of any length opens at once, on a server as on a file; date
// columns show in the short date form. Read-only.
class DiaryGridModel : public PagedModel<DiaryEntry>
{
    Q_OBJECT

public:
    using PagedModel::PagedModel;

    // Reads the first rows of the user's diary; an invalid error means success.
    QSqlError load(qint64 userId);
    // Empties the grid, columns and all.
    void clear();
    // The entry of a row as it was read, for a write that must find it unchanged.
    std::optional<DiaryEntry> entryAt(int row) const;

    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The column names as the table has them, also from a server that folds them to
    // lower case.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    RowStream<DiaryEntry> nextPage(const DiaryEntry *last) override;

private:
    qint64 m_userId = 0;
    QStringList m_columns;
};
