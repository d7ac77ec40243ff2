// SPDX-License-Identifier: GPL-3.0-or-later
// The grid of subjects on the grid panel and the copy of a picked row into the fields.
#include "registry/frm_anagrafe.h"

#include "registry/subject_grid_model.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"
#include "widgets/prompt.h"
#include "widgets/toggle_button.h"

#include <QGroupBox>
#include <QLineEdit>

namespace {

struct GridColumn
{
    bool shown;
    int widthTwips;
};

// Columns of table Utente by position: only the name and the fiscal code are shown.
constexpr int gridColumnCount = 16;
GridColumn gridColumn(int position)
{
    if (position == 1)
        return {true, 5000};
    if (position == 6)
        return {true, 2500};
    return {false, 0};
}

} // namespace

void frmAnagrafe::releaseSubjectGrid()
{
    Datagrid1->setModel(nullptr);
    m_gridModel->clear();
}

// Fills the grid with every subject by name. Rows come from the file a page at a time
// as the operator scrolls to them.
void frmAnagrafe::LoadSubjectGrid()
{
    releaseSubjectGrid();
    const QSqlError error = m_gridModel->load();
    if (error.isValid()) {
        showDatabaseError(this, error);
        return;
    }
    m_gridModel->setHeaderData(6, Qt::Horizontal, QStringLiteral("Codice Fiscale"));
    Datagrid1->setModel(m_gridModel);
    const int columns = m_gridModel->columnCount();
    for (int position = 0; position < qMin(columns, gridColumnCount); ++position) {
        const GridColumn column = gridColumn(position);
        Datagrid1->setColumnShown(position, column.shown);
        if (column.shown)
            Datagrid1->setColumnWidthTwips(position, column.widthTwips);
    }
    for (int position = gridColumnCount; position < columns; ++position)
        Datagrid1->setColumnShown(position, false);
}

// The operator clicks a row of the grid (or presses Enter on it): the subject comes
// into the fields of the editing panel, in the current mode.
void frmAnagrafe::FillSubjectFromGridRow()
{
    const bool readable = Datagrid1->model() && Datagrid1->currentIndex().isValid();
    auto cell = [this](int position) { return Datagrid1->currentRowText(position); };
    QLineEdit *const firstBoxes[] = {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8};
    QLineEdit *const lastBoxes[] = {Text9, Text10, Text11, Text12, Text13, Text14};
    if (readable)
        for (int position = 0; position < 8; ++position)
            setStoredText(firstBoxes[position], cell(position));
    // A user flag stored in small letters still marks a user, as in the user list:
    // reading it as "not a user" would write "N" back at the next modify.
    const bool user =
        readable && cell(8).trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    Check1->setValue(user ? 1 : 0);
    if (readable)
        for (int position = 9; position < 15; ++position)
            setStoredText(lastBoxes[position - 9], cell(position));
    Frame2->hide();
    Check2->setValue(0);
    Check3->setValue(0);
    Text2->setFocus();
}
