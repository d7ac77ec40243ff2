// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/subject_grid_model.h"

#include "storage/db_connection.h"
#include "storage/statements.h"

QSqlError SubjectGridModel::load()
{
    m_columns.clear();
    m_captions.clear();
    return reload(true);
}

void SubjectGridModel::clear()
{
    m_columns.clear();
    m_captions.clear();
    reload(false);
}

std::optional<Subject> SubjectGridModel::subjectAt(int row) const
{
    if (row < 0 || row >= rows().size())
        return std::nullopt;
    return rows().at(row);
}

RowStream<Subject> SubjectGridModel::nextPage(const Subject *last)
{
    RowStream<Subject> page = selectRegistryGridRows(pageSize, last);
    // A first page that could be read gives the columns, with the table's own names.
    if (!last && page.ok())
        m_columns = DbConnection::tableColumns(QStringLiteral("Utente"));
    return page;
}

int SubjectGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant SubjectGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows().size() || index.column() >= m_columns.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return subjectColumnValue(rows().at(index.row()), index.column());
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
