// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlQueryModel>

// The rows of a user's diary for the entry grid. Rows are fetched from the file as the
// grid scrolls to them, so a diary of any length opens at once; date columns show in
// the short date form.
class DiaryGridModel : public QSqlQueryModel
{
    Q_OBJECT

public:
    using QSqlQueryModel::QSqlQueryModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The column names as the table has them, also from a server that folds them to
    // lower case.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
};
