// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlQueryModel>

// The deadlines of every user for the overview list: due date, note, the owner's ID
// and name. Rows are fetched from the file as the list scrolls to them, so a million
// deadlines open at once. The due date shows in the short date form; each row also
// carries its entry's ID, for opening that entry.
class OverviewListModel : public QSqlQueryModel
{
    Q_OBJECT

public:
    // Where a row keeps the ID of its entry (on any of its cells).
    static constexpr int EntryIdRole = Qt::UserRole + 1;
    // Where a header keeps its key ("uno", "due", ...).
    static constexpr int KeyRole = Qt::UserRole + 2;

    using QSqlQueryModel::QSqlQueryModel;

    // Takes the rows of a new reading: only the first page is read now, whatever the
    // attached view asks while it resets.
    void load(QSqlQuery &&query);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    bool m_loading = false;
};
