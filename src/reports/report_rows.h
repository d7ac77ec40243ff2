// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"
#include "storage/row_reader.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

// The rows a report prints, read once from first to last, so that a report of many
// thousand rows never needs them all at once.
class ReportRows
{
public:
    virtual ~ReportRows() = default;

    // Moves to the next row; false when there is none (also before any row of an
    // empty source). The first call moves to the first row.
    virtual bool next() = 0;

    // The current row's value of a field, the name matched without regard to case,
    // as the data file's columns are; an invalid QVariant when there is no such field.
    virtual QVariant value(const QString &field) const = 0;

    // Why reading stopped early, or empty when the rows simply ended.
    virtual QString errorString() const { return {}; }
};

// Rows read from the archive, which they keep and let go once the report is done with
// them.
class SqlReportRows : public ReportRows
{
public:
    explicit SqlReportRows(RowReader &&rows);

    bool next() override;
    QVariant value(const QString &field) const override;
    // The operator's message for a failed read, or empty.
    QString errorString() const override;

private:
    RowReader m_rows;
    // Field name as asked -> column; a report asks for the same few names on every row.
    mutable std::vector<std::pair<QString, int>> m_columns;
};

// Rows held in memory, for reports built from data at hand and for tests.
class ListReportRows : public ReportRows
{
public:
    explicit ListReportRows(const QList<QVariantHash> &rows);

    bool next() override;
    QVariant value(const QString &field) const override;

private:
    QList<QVariantHash> m_rows; // keys case-folded
    qsizetype m_current = -1;
};

// A field's value as a report prints it: NULL as empty, a date (or, for a control
// marked as a date, a text that is a stored date) in the short date form with a four-digit year, a
// number in the locale's form without grouping, anything else as its text.
QString formatReportValue(const QVariant &value, ReportValueFormat format);
