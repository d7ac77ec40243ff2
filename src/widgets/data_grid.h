// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QTableView>

// Each binding of a model makes a new selection model for the view and one for each of
// its headers, and Qt leaves the old ones to their parent. Called after setModel(), this
// drops them, so that reloading a grid or a list again and again does not grow memory.
void dropUnusedSelectionModels(QAbstractItemView *view);

// A read-only grid whose columns are shown, hidden and sized by position. Picking a
// row (a click on it, or Enter or Space on the current row) emits rowPicked, every
// time, the current row included; the arrow keys only move, and focus picks nothing.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);

    // Binds the grid to a model (nullptr: unbinds it); the selection models of the
    // previous binding go with it.
    void setModel(QAbstractItemModel *model) override;

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
