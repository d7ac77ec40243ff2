// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QStringList>

#include <optional>

class DataGrid;
class QLabel;
class SubjectGridModel;
class ToggleButton;
struct Subject;

// The grid of subjects, shown to pick the one to modify or delete, and its
// "Esci".
class SubjectGridPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit SubjectGridPanel(QWidget *window);

    // Fills the grid with every subject by name; a failed read is told, and gives
    // false.
    bool LoadSubjectGrid();
    void releaseSubjectGrid();
    // The texts of the picked row's columns, in the table's order; empty when no
    // row can be read.
    QStringList pickedRow() const;
    // The picked row's subject as it was read; none when no row is picked.
    std::optional<Subject> pickedSubject() const;
    void releaseLeave();
    void focusGrid();

signals:
    // The operator switches "Esci" on.
    void leaveChosen();
    // The operator clicks a row, or presses Enter on it.
    void rowPicked();

private:
    ToggleButton *Check5 = nullptr;
    DataGrid *Datagrid1 = nullptr;
    QLabel *Label10 = nullptr;
    SubjectGridModel *m_gridModel = nullptr;
};
