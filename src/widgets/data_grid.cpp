// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/data_grid.h"

#include "core/twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

DataGrid::DataGrid(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    // A pick is the operator's act on a row: a click (the current row too), never the
    // focus arriving by Tab nor the current row set by the program.
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { emit rowPicked(index.row()); });
}

void DataGrid::setColumnShown(int position, bool shown)
{
    setColumnHidden(position, !shown);
}

void DataGrid::setColumnWidthTwips(int position, int twips)
{
    setColumnWidth(position, twipsToPixels(twips));
}

QColor DataGrid::backgroundColor() const
{
    return palette().color(QPalette::Active, QPalette::Base);
}

void DataGrid::setBackgroundColor(const QColor &color)
{
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, color);
        colours.setColor(group, QPalette::AlternateBase, color.darker(104));
    }
    setPalette(colours);
}

QString DataGrid::currentRowText(int position) const
{
    if (!model())
        return {};
    const QModelIndex index = model()->index(currentIndex().row(), position);
    return index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    const bool pickKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                         event->key() == Qt::Key_Space;
    if (pickKey && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        currentIndex().isValid()) {
        emit rowPicked(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}
