// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/statements.h"

#include <QAbstractTableModel>
#include <QVector>

#include <optional>

// The rows of a user's diary for the entry grid, in the columns of the table Tavelo.
// Rows are read from the archive as the grid scrolls to them, so a diary of any length
// opens at once; date columns show in the short date form. Read-only.
class DiaryGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // Reads the first rows of the user's diary; an invalid error means success.
    QSqlError load(qint64 userId);
    // Empties the grid, columns and all.
    void clear();
    // The entry of a row as it was read, for a write that must find it unchanged.
    std::optional<DiaryEntry> entryAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The column names as the table has them, also from a server that folds them to
    // lower case.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;

private:
    RowStream<DiaryEntry> m_stream;
    QVector<DiaryEntry> m_rows;
    QStringList m_columns;
    bool m_more = false;
};
