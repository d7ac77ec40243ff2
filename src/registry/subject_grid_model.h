// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/paged_rows_model.h"
#include "storage/statements.h"

#include <QHash>
#include <QStringList>

#include <optional>

// The subjects of the registry grid, by name in the Italian order, read a page at a
// time as the grid scrolls: each page is sought in the index kept in that order, so the
// first rows come without sorting the whole table. Read-only.
class SubjectGridModel : public PagedModel<Subject>
{
    Q_OBJECT

public:
    using PagedModel::PagedModel;

    // Reads the first page; an invalid error means success.
    QSqlError load();
    void clear();
    // The subject of a row as it was read, for a write that must find it unchanged.
    std::optional<Subject> subjectAt(int row) const;

    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

protected:
    RowStream<Subject> nextPage(const Subject *last) override;

private:
    QStringList m_columns;
    QHash<int, QString> m_captions;
};
