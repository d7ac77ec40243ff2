// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

    bool open(const QString &path, QString *problem);
    bool hasTable(const QString &table) const;

    struct Table
    {
        QStringList columns;
        int declaredRows = 0; // the row count that the file records for the table
    };
    // Reads the table's columns, then hands each row to onRow (values in column
    // order, its number from 1) until onRow returns false. A file that ends before the
    // rows that it records is reported as damaged.
    using RowHandler = std::function<bool(int rowNumber, const QVariantList &values)>;
    bool readTable(const QString &table, Table *shape, const RowHandler &onRow, QString *problem);
    // Only the columns and the recorded row count.
    bool describeTable(const QString &table, Table *shape, QString *problem);

private:
    void *m_handle = nullptr; // MdbHandle
    QString m_path;
};
