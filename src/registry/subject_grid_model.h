// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlError>
#include <QStringList>
#include <QVector>

// The subjects of the registry grid, by name in the Italian order, read a page at a
// time as the grid scrolls: the first rows come without sorting the whole table,
// which the Italian order could not take from an index. Read-only.
class SubjectGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    static constexpr int pageSize = 256;

    // Reads the first page; an invalid error means success.
    QSqlError load();
    void clear();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    QSqlError readPage();

    QStringList m_columns;
    QHash<int, QString> m_captions;
    QVector<QVector<QVariant>> m_rows;
    bool m_more = false;
};
