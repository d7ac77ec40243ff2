// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/subject_grid_panel.h"

#include "registry/registry_controls.h"
#include "registry/subject_grid_model.h"
#include "storage/db_connection.h"
#include "widgets/data_grid.h"
#include "widgets/prompt.h"
#include "widgets/toggle_button.h"

#include <QLabel>

namespace {

struct GridColumn
{
    bool shown;
    int widthTwips;
};

// Columns of table Utente by position: only the name and the fiscal code are
// shown.
constexpr int gridColumnCount = 16;
GridColumn gridColumn(int position)
{
    if (position == 1)
        return {true, 5000};
    if (position == 6)
        return {true, 2500};
    return {false, 0};
}

// The columns of a picked row that the fields show: from the ID to the
// annotation.
constexpr int pickedColumnCount = 15;

} // namespace

SubjectGridPanel::SubjectGridPanel(QWidget *window) : QGroupBox(window)
{
    setUpPanel(this, "Frame2", QStringLiteral("Seleziona"), windowFont(8.25, true), 360, 960, 11415,
               5535);
    Check5 = makeToggle(this, "Check5", QStringLiteral("Esci"), 10320, 240, 615, 255);
    Datagrid1 = placed(new DataGrid(this), "Datagrid1", 360, 600, 10605, 4635);
    Datagrid1->setAccessibleName(QStringLiteral("Soggetti"));
    // Lies beyond the panel's right edge, out of sight, as the window was drawn.
    Label10 = fieldLabel(this, "Label10", QStringLiteral("X"), 11760, 240, 495, 255);
    Label10->setFont(windowFont(11.25, true));
    Label10->setAlignment(Qt::AlignCenter);
    m_gridModel = new SubjectGridModel(this);

    connect(Check5, &ToggleButton::toggled, this, [this](bool on) {
        if (on)
            emit leaveChosen();
    });
    connect(Datagrid1, &DataGrid::rowPicked, this, &SubjectGridPanel::rowPicked);
}

void SubjectGridPanel::releaseSubjectGrid()
{
    Datagrid1->setModel(nullptr);
    m_gridModel->clear();
}

// Rows come from the file a page at a time as the operator scrolls to them.
bool SubjectGridPanel::LoadSubjectGrid()
{
    releaseSubjectGrid();
    const QSqlError error = m_gridModel->load();
    if (error.isValid()) {
        showDatabaseError(window(), error);
        return false;
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
    return true;
}

QStringList SubjectGridPanel::pickedRow() const
{
    QStringList cells;
    if (!Datagrid1->model() || !Datagrid1->currentIndex().isValid())
        return cells;
    for (int position = 0; position < pickedColumnCount; ++position)
        cells << Datagrid1->currentRowText(position);
    return cells;
}

std::optional<Subject> SubjectGridPanel::pickedSubject() const
{
    if (Datagrid1->model() != m_gridModel || !Datagrid1->currentIndex().isValid())
        return std::nullopt;
    return m_gridModel->subjectAt(Datagrid1->currentIndex().row());
}

void SubjectGridPanel::releaseLeave()
{
    Check5->setValue(0);
}

void SubjectGridPanel::focusGrid()
{
    Datagrid1->setFocus();
}
