// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/paged_rows_model.h"
#include "storage/statements.h"

#include <QHash>
#include <QPair>

// The deadlines of every user for the overview list: due date, note, the owner's ID
// and name. Rows are read a page at a time, each page after the last row read, as the
// list scrolls to them, so a million deadlines open at once on the file and on a
// server alike. The due date shows in the short date form; each row also carries its
// entry's ID, for opening that entry. A deadline past due is drawn in red, one due
// within a week in bold, and a screen reader hears which. Read-only.
class OverviewListModel : public PagedModel<OverviewDeadline>
{
    Q_OBJECT

public:
    // Where a row keeps the ID of its entry (on any of its cells).
    static constexpr int EntryIdRole = Qt::UserRole + 1;
    // Where a header keeps its key ("uno", "due", ...).
    static constexpr int KeyRole = Qt::UserRole + 2;

    using PagedModel::PagedModel;

    // Reads the first page of a new reading; an invalid error means success. Today, as
    // the colours of the rows take it, is the day of the reading.
    QSqlError load();
    // Only the deadlines that hold every one of these words (folded by searchWords) from
    // the next reading on; none: every deadline.
    void setSearchWords(const QStringList &words) { m_words = words; }
    // Empties the list and forgets its headers.
    void clear();

    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

protected:
    RowStream<OverviewDeadline> nextPage(const OverviewDeadline *last) override;

private:
    QVariant dueStateData(const OverviewDeadline &row, int role) const;

    QHash<QPair<int, int>, QVariant> m_headers; // by section and role
    QStringList m_words;
    QDate m_today;
};
