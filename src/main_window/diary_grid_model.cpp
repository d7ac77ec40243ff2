// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/diary_grid_model.h"

#include "core/dates.h"
#include "storage/db_connection.h"

#include <QFont>
#include <QPalette>

namespace {

enum Column { IdColumn, DataColumn, DueDateColumn, NoteColumn, DocColumn, UserColumn, AggColumn };

QVariant text(const QString &value)
{
    return value.isNull() ? QVariant() : QVariant(value);
}

QVariant date(const QDate &value, int role)
{
    if (!value.isValid())
        return {};
    return role == Qt::DisplayRole ? QVariant(toScreenDate(value)) : QVariant(value);
}

// A closed entry stays in its diary, greyed, with the day it was closed for the mouse and
// the screen reader; in italics too, so that it stands apart in a grid that is greyed as
// a whole while it cannot be picked.
QVariant closedEntryLook(const DiaryEntry &entry, int role)
{
    switch (role) {
    case Qt::ForegroundRole:
        // The grey of a disabled text: as a row that cannot be used any more.
        return QPalette().color(QPalette::Disabled, QPalette::Text);
    case Qt::FontRole: {
        QFont italic;
        italic.setItalic(true);
        return italic;
    }
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return QStringLiteral("Fatta il %1").arg(toScreenDate(entry.chiusa));
    default:
        return {};
    }
}

} // namespace

QSqlError DiaryGridModel::load(qint64 userId)
{
    m_userId = userId;
    m_columns.clear();
    return reload(true);
}

void DiaryGridModel::clear()
{
    m_columns.clear();
    reload(false);
}

std::optional<DiaryEntry> DiaryGridModel::entryAt(int row) const
{
    if (row < 0 || row >= rows().size())
        return std::nullopt;
    return rows().at(row);
}

RowStream<DiaryEntry> DiaryGridModel::nextPage(const DiaryEntry *last)
{
    RowStream<DiaryEntry> page = selectDiaryGridRows(m_userId, pageSize, last);
    // A first page that could be read gives the columns, with the table's own names.
    if (!last && page.ok())
        m_columns = DbConnection::firstColumns(QStringLiteral("Tavelo"));
    return page;
}

int DiaryGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DiaryGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows().size() || index.column() >= m_columns.size())
        return {};
    const DiaryEntry &entry = rows().at(index.row());
    if (entry.chiusa.isValid())
        if (QVariant closed = closedEntryLook(entry, role); closed.isValid())
            return closed;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case IdColumn:
        return entry.id;
    case DataColumn:
        return date(entry.data, role);
    case DueDateColumn:
        return date(entry.scadenza, role);
    case NoteColumn:
        return text(entry.oggetto);
    case DocColumn:
        return text(entry.ndoc);
    case UserColumn:
        return entry.utente;
    case AggColumn:
        return date(entry.agg, role);
    }
    return {};
}

QVariant DiaryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
