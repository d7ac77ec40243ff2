// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/data_grid.h"

#include "widgets/background_colour.h"
#include "widgets/twips.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

void dropUnusedSelectionModels(QAbstractItemView *view)
{
    QList<QAbstractItemView *> owners = view->findChildren<QAbstractItemView *>();
    owners.append(view);
    for (QAbstractItemView *owner : std::as_const(owners))
        for (QItemSelectionModel *selection :
             owner->findChildren<QItemSelectionModel *>(Qt::FindDirectChildrenOnly))
            if (selection != view->selectionModel())
                // Later, not now: the old selection model may be the one whose signal
                // is running the handler that reloads the view.
                selection->deleteLater();
}

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

void DataGrid::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    dropUnusedSelectionModels(this);
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
    return backgroundColour(this);
}

void DataGrid::setBackgroundColor(const QColor &color)
{
    setBackgroundColour(this, color);
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
