// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

// The earlier Windows version's data file (an Access .mdb), read through mdbtools'
// library. Values come back as a text, a whole number or a date and time, as the
// column's type says; a NULL column comes back as a null QVariant and an empty text
// as an empty string, which the library's own column binding cannot tell apart.
class LegacyDatabase
{
public:
    LegacyDatabase() = default;
    ~LegacyDatabase();
    LegacyDatabase(const LegacyDatabase &) = delete;
    LegacyDatabase &operator=(const LegacyDatabase &) = delete;

    Check open(const QString &path);
    bool hasTable(const QString &table) const;

    struct Table
    {
        QStringList columns;
        int declaredRows = 0; // the row count that the file records for the table
    };
    // Reads the table's columns, then hands each row to onRow (values in column
    // order, its number from 1) until onRow fails, whose reason then stands for the
    // table's. A file that ends before the rows that it records is reported as damaged.
    using RowHandler = std::function<Check(int rowNumber, const QVariantList &values)>;
    Outcome<Table> readTable(const QString &table, const RowHandler &onRow);
    // Only the columns and the recorded row count.
    Outcome<Table> describeTable(const QString &table);

private:
    void *m_handle = nullptr; // MdbHandle
    QString m_path;
};
