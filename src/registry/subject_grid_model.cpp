// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/subject_grid_model.h"

#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QSqlRecord>

#include <algorithm>

QSqlError SubjectGridModel::load()
{
    beginResetModel();
    m_columns.clear();
    m_captions.clear();
    m_rows.clear();
    m_more = false;
    const QSqlError error = readPage();
    endResetModel();
    return error;
}

void SubjectGridModel::clear()
{
    beginResetModel();
    m_columns.clear();
    m_captions.clear();
    m_rows.clear();
    m_more = false;
    endResetModel();
}

// Appends the next page; the first one also gives the columns.
QSqlError SubjectGridModel::readPage()
{
    std::optional<SubjectOrderKey> after;
    if (!m_rows.isEmpty())
        after = SubjectOrderKey{m_rows.last().value(1), m_rows.last().value(0).toLongLong()};
    RowsResult page = selectRegistryGridRows(pageSize, after);
    if (!page.ok()) {
        m_more = false;
        return page.error;
    }
    QSqlQuery &query = page.value;
    if (m_columns.isEmpty()) {
        const QSqlRecord record = query.record();
        // A server hands the names over in lower case: the grid shows the table's own.
        const QStringList names = DbConnection::tableColumns(QStringLiteral("Utente"));
        for (int column = 0; column < record.count(); ++column) {
            const QString field = record.fieldName(column);
            const auto own = std::find_if(names.begin(), names.end(), [&](const QString &name) {
                return name.compare(field, Qt::CaseInsensitive) == 0;
            });
            m_columns << (own != names.end() ? *own : field);
        }
    }
    QVector<QVector<QVariant>> rows;
    while (query.next()) {
        QVector<QVariant> row(m_columns.size());
        for (int column = 0; column < m_columns.size(); ++column)
            row[column] = query.value(column);
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

int SubjectGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SubjectGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant SubjectGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const QVariant &value = m_rows.at(index.row()).at(index.column());
    return value.isNull() ? QVariant() : value;
}

QVariant SubjectGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (m_captions.contains(section))
        return m_captions.value(section);
    return section < m_columns.size() ? QVariant(m_columns.at(section)) : QVariant();
}

bool SubjectGridModel::setHeaderData(int section, Qt::Orientation orientation,
                                     const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section >= m_columns.size() ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_captions.insert(section, value.toString());
    emit headerDataChanged(orientation, section, section);
    return true;
}

bool SubjectGridModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void SubjectGridModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        readPage();
}
