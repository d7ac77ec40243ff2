// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_rows.h"

#include "core/dates.h"
#include "storage/db_connection.h"

#include <QLocale>
#include <QSqlError>

#include <algorithm>

SqlReportRows::SqlReportRows(RowReader &&rows) : m_rows(std::move(rows)) {}

bool SqlReportRows::next()
{
    return m_rows.next();
}

QVariant SqlReportRows::value(const QString &field) const
{
    auto known = std::find_if(m_columns.cbegin(), m_columns.cend(),
                              [&field](const auto &column) { return column.first == field; });
    if (known == m_columns.cend()) {
        m_columns.emplace_back(field, m_rows.column(field));
        known = m_columns.cend() - 1;
    }
    return m_rows.value(known->second);
}

QString SqlReportRows::errorString() const
{
    const QSqlError error = m_rows.error();
    return error.isValid() ? databaseErrorMessage(error) : QString();
}

ListReportRows::ListReportRows(const QList<QVariantHash> &rows)
{
    m_rows.reserve(rows.size());
    for (const QVariantHash &row : rows) {
        QVariantHash folded;
        for (auto it = row.constBegin(); it != row.constEnd(); ++it)
            folded.insert(it.key().toCaseFolded(), it.value());
        m_rows.append(folded);
    }
}

bool ListReportRows::next()
{
    if (m_current < m_rows.size())
        ++m_current;
    return m_current < m_rows.size();
}

QVariant ListReportRows::value(const QString &field) const
{
    if (m_current < 0 || m_current >= m_rows.size())
        return {};
    return m_rows.at(m_current).value(field.toCaseFolded());
}

QString formatReportValue(const QVariant &value, ReportValueFormat format)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return toScreenDate(value.toDate());
    case QMetaType::QDateTime:
        return toScreenDate(value.toDateTime().date());
    case QMetaType::Double:
    case QMetaType::Float: {
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale.toString(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    }
    default:
        break;
    }
    const QString text = value.toString();
    if (format == ReportValueFormat::Date) {
        const QDate date = storedDate(value);
        if (date.isValid())
            return toScreenDate(date);
    }
    return text;
}
