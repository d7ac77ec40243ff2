// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QTableView>

// A read-only grid whose columns are shown, hidden and sized by position. Picking a
// row (a click on another row, moving with the keyboard, Enter) emits rowPicked once.
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

    // Off: moving with the arrow keys only moves; a click on a row or Enter picks it.
    void setPickOnMove(bool on) { m_pickOnMove = on; }

signals:
    void rowPicked(int row);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pickOnMove = true;
};
