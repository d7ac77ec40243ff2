// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_rows.h"

#include "core/dates.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

SqlReportRows::SqlReportRows(QSqlQuery &query) : m_query(query) {}

bool SqlReportRows::next()
{
    return m_query.next();
}

QVariant SqlReportRows::value(const QString &field) const
{
    const QString key = field.toCaseFolded();
    auto it = m_columns.constFind(key);
    if (it == m_columns.constEnd())
        it = m_columns.insert(key, m_query.record().indexOf(field)); // case-insensitive
    return it.value() < 0 ? QVariant() : m_query.value(it.value());
}

QString SqlReportRows::errorString() const
{
    const QSqlError error = m_query.lastError();
    return error.isValid() ? error.text() : QString();
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
        const QDate date = fromStoredDate(text);
        if (date.isValid())
            return toScreenDate(date);
    }
    return text;
}
