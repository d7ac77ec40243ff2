// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/row_reader.h"

#include "core/dates.h"
#include "storage/schema.h"

#include <QDateTime>

QDate storedDate(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    default:
        return value.isNull() ? QDate() : fromStoredDate(value.toString());
    }
}

RowReader::RowReader(QSqlQuery &&query) : m_query(std::move(query))
{
    const QSqlRecord record = m_query.record();
    m_dates.resize(record.count());
    for (int column = 0; column < record.count(); ++column)
        m_dates[column] = isDateColumn(record.fieldName(column));
}

bool RowReader::next()
{
    return m_query.isActive() && m_query.next();
}

int RowReader::column(QStringView name) const
{
    // indexOf() matches without regard to case, as the archive's columns do.
    return m_query.record().indexOf(name.toString());
}

QString RowReader::text(int column) const
{
    return column < 0 ? QString() : m_query.value(column).toString();
}

qint64 RowReader::number(int column) const
{
    return column < 0 ? 0 : m_query.value(column).toLongLong();
}

QDate RowReader::date(int column) const
{
    return column < 0 ? QDate() : storedDate(m_query.value(column));
}

QVariant RowReader::value(int column) const
{
    if (column < 0 || column >= m_dates.size())
        return {};
    QVariant stored = m_query.value(column);
    if (!m_dates.at(column) || stored.isNull())
        return stored;
    const QDate date = storedDate(stored);
    return date.isValid() ? QVariant(date) : stored;
}

QVariant RowReader::stored(int column) const
{
    return column < 0 ? QVariant() : m_query.value(column);
}
