// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/diary_grid_model.h"

#include "core/dates.h"
#include "storage/db_connection.h"

namespace {

bool isDateColumn(int column)
{
    return column == 1 || column == 2 || column == 6;
}

} // namespace

QVariant DiaryGridModel::data(const QModelIndex &index, int role) const
{
    const QVariant value = QSqlQueryModel::data(index, role);
    if (role != Qt::DisplayRole || !isDateColumn(index.column()) || value.isNull())
        return value;
    const QDate date = fromStoredDate(value.toString());
    return date.isValid() ? QVariant(toScreenDate(date)) : value;
}

QVariant DiaryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const QVariant header = QSqlQueryModel::headerData(section, orientation, role);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return header;
    const QString name = header.toString();
    for (const QString &column : DbConnection::tableColumns(QStringLiteral("Tavelo"))) {
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return header;
}
