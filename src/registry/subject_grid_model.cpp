// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/subject_grid_model.h"

#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QSqlRecord>

#include <algorithm>

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

RowsResult SubjectGridModel::nextPage(const QVector<QVariant> *last)
{
    std::optional<SubjectOrderKey> after;
    if (last)
        after = SubjectOrderKey{last->value(1), last->value(0).toLongLong()};
    return selectRegistryGridRows(pageSize, after);
}

// The first page gives the columns.
int SubjectGridModel::columnsToKeep(const QSqlQuery &firstPage)
{
    const QSqlRecord record = firstPage.record();
    // A server hands the names over in lower case: the grid shows the table's own.
    const QStringList names = DbConnection::tableColumns(QStringLiteral("Utente"));
    for (int column = 0; column < record.count(); ++column) {
        const QString field = record.fieldName(column);
        const auto own = std::find_if(names.begin(), names.end(), [&](const QString &name) {
            return name.compare(field, Qt::CaseInsensitive) == 0;
        });
        m_columns << (own != names.end() ? *own : field);
    }
    return int(m_columns.size());
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
    const QVariant &value = rows().at(index.row()).at(index.column());
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
