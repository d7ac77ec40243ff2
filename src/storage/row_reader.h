// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <utility>

// A stored date as the program uses it: a file keeps ISO text, a server hands over a
// date (or a date and time). Invalid for NULL and for text that is not a date. This is
// the only place where a stored date is read.
QDate storedDate(const QVariant &value);

// The rows of an executed query, read once from first to last, their columns found by
// name (case aside, as the archive's names are) once per query: a file may hold the
// columns in another order, and a server folds their names to lower case.
class RowReader
{
public:
    RowReader() = default;
    explicit RowReader(QSqlQuery &&query);
    RowReader(RowReader &&) = default;
    RowReader &operator=(RowReader &&) = default;

    // Moves to the next row; false after the last one, or when reading failed.
    bool next();
    // Why reading failed; invalid when the rows simply ended.
    QSqlError error() const { return m_query.lastError(); }

    // The position of a column by name, -1 when the rows have no such column.
    int column(QStringView name) const;
    // The current row's values; a column that is not there gives an empty value.
    QString text(int column) const;
    qint64 number(int column) const;
    QDate date(int column) const;
    // The value as it was stored, but a date column's as a date (its text when it is not
    // one); NULL as a null QVariant.
    QVariant value(int column) const;
    // The value exactly as the driver hands it over.
    QVariant stored(int column) const;

private:
    QSqlQuery m_query;
    QVector<bool> m_dates; // which columns hold dates
};

// Rows of one kind, decoded as they are read: lists, grids and reports that may be long
// take them one at a time and never hold them all.
template <typename Row> class RowStream
{
public:
    // Makes a row of the reader's current one; built once per query, with the columns
    // it needs already found.
    using Decoder = std::function<Row(const RowReader &)>;

    RowStream() = default;
    explicit RowStream(const QSqlError &failure) : m_failure(failure) {}
    RowStream(RowReader &&reader, Decoder decode)
        : m_reader(std::move(reader)), m_decode(std::move(decode))
    {}

    // Whether the query ran; reading may still fail later (see error()).
    bool ok() const { return !m_failure.isValid(); }
    // Moves to the next row and hands it over; false after the last one, or on failure.
    bool next(Row *row)
    {
        if (!m_decode || !m_reader.next())
            return false;
        *row = m_decode(m_reader);
        return true;
    }
    // Why the query did not run or reading stopped; invalid when all went well.
    QSqlError error() const { return m_failure.isValid() ? m_failure : m_reader.error(); }

private:
    RowReader m_reader;
    Decoder m_decode;
    QSqlError m_failure;
};
