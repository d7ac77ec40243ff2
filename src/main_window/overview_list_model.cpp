// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/overview_list_model.h"

#include "core/dates.h"
#include "storage/statements.h"

#include <QColor>
#include <QFont>

namespace {

// Due date, note, the owner's ID and name; the entry's ID rides on every cell.
enum Column { DueDateColumn, NoteColumn, OwnerIdColumn, OwnerNameColumn };
constexpr int shownColumns = OwnerNameColumn + 1;

} // namespace

QSqlError OverviewListModel::load()
{
    m_today = QDate::currentDate();
    return reload(true);
}

void OverviewListModel::clear()
{
    m_headers.clear();
    reload(false);
    emit headerDataChanged(Qt::Horizontal, 0, shownColumns - 1);
}

// The next deadlines after the last one read.
RowStream<OverviewDeadline> OverviewListModel::nextPage(const OverviewDeadline *last)
{
    return selectDeadlines(pageSize, last, m_words);
}

int OverviewListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shownColumns;
}

QVariant OverviewListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows().size() || index.column() >= shownColumns)
        return {};
    const OverviewDeadline &row = rows().at(index.row());
    if (role == EntryIdRole)
        return row.entryId;
    if (role == Qt::ForegroundRole || role == Qt::FontRole || role == Qt::AccessibleDescriptionRole)
        return dueStateData(row, role);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    auto text = [](const QString &value) { return value.isNull() ? QVariant() : QVariant(value); };
    switch (index.column()) {
    case DueDateColumn:
        if (!row.scadenza.isValid())
            return {};
        return role == Qt::DisplayRole ? QVariant(toScreenDate(row.scadenza))
                                       : QVariant(row.scadenza);
    case NoteColumn:
        return text(row.oggetto);
    case OwnerIdColumn:
        return row.utente;
    case OwnerNameColumn:
        return text(row.soggetto);
    }
    return {};
}

QVariant OverviewListModel::dueStateData(const OverviewDeadline &row, int role) const
{
    const bool pastDue = row.scadenza < m_today;
    const bool dueSoon = !pastDue && row.scadenza <= m_today.addDays(dueSoonDays);
    switch (role) {
    case Qt::ForegroundRole:
        return pastDue ? QVariant(QColor(0xb0, 0x00, 0x20)) : QVariant();
    case Qt::FontRole:
        if (!dueSoon)
            return {};
        {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
    case Qt::AccessibleDescriptionRole:
        if (pastDue)
            return QStringLiteral("scaduta");
        return dueSoon ? QVariant(QStringLiteral("in scadenza")) : QVariant();
    }
    return {};
}

QVariant OverviewListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        const auto header =
            m_headers.constFind({section, role == Qt::EditRole ? int(Qt::DisplayRole) : role});
        if (header != m_headers.constEnd())
            return *header;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool OverviewListModel::setHeaderData(int section, Qt::Orientation orientation,
                                      const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= shownColumns)
        return false;
    m_headers.insert({section, role == Qt::EditRole ? int(Qt::DisplayRole) : role}, value);
    emit headerDataChanged(orientation, section, section);
    return true;
}
