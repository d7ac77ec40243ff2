// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QTableView>

// A read-only grid whose columns are shown, hidden and sized by position. Picking a
// row (a click on it, or Enter or Space on the current row) emits rowPicked, every
// time, the current row included; the arrow keys only move, and focus picks nothing.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);

    void setColumnShown(int position, bool shown);
    void setColumnWidthTwips(int position, int twips);

    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);

    // The text of a column of the current row, as the grid shows it.
    QString currentRowText(int position) const;

signals:
    void rowPicked(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
