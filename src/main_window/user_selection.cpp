// SPDX-License-Identifier: GPL-3.0-or-later
// The list of users, the choice of one, and that user's diary grid.
#include "main_window/frm_registra.h"

#include "core/prompt.h"
#include "main_window/diary_grid_model.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/note_box.h"
#include "widgets/toggle_button.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct GridColumn
{
    bool shown;
    int widthTwips; // 0: keep the grid's width
};

// Column settings of the diary grid, by position: ID, data, scadenza, Oggetto, ndoc,
// Utente, AGG, and a further column should the table have one.
const GridColumn diaryGridColumns[] = {
    {false, 0},  {true, 1000}, {true, 1000}, {true, 4500},
    {true, 900}, {false, 0},   {true, 1000}, {false, 0},
};

} // namespace

// Runs at every activation of the window.
void frmRegistra::LoadUserList()
{
    Cbo1->clear();
    Label1->setText(QString());
    const Result<QStringList> users = selectUserNames();
    if (!users.ok()) {
        showDatabaseError(this, users.error);
        return;
    }
    Cbo1->addItems(users.value);
    Cbo1->setCurrentIndex(-1);
}

// The operator picks a name in the user list.
void frmRegistra::SelectUser()
{
    if (Cbo1->currentText().isEmpty()) {
        warnNoUserChosen();
        return;
    }
    Label8->setText(QString());
    Label1->setText(QString());
    // A name removed from the registry meanwhile finds nothing: the labels stay empty,
    // so that no entry can be written for a user who is gone.
    const Result<std::optional<Subject>> found = findSubjectByName(Cbo1->currentText());
    if (!found.ok()) {
        showDatabaseError(this, found.error);
        return;
    }
    if (found.value) {
        Label8->setText(QString::number(found.value->id));
        Label1->setText(found.value->soggetto);
    }
}

// Reloads the entry grid with the selected user's diary.
void frmRegistra::LoadDiaryGrid()
{
    // A grid that shows the diary already takes the new rows in place: detaching and
    // attaching it again would cost more than reading the rows.
    const bool attached = DataGrid3->model() == m_diaryModel;
    bool validId = false;
    const qint64 userId = Label8->text().toLongLong(&validId);
    // A diary that cannot be read shows as an empty one, as it always has.
    if (!validId || m_diaryModel->load(userId).isValid())
        m_diaryModel->clear();
    if (m_diaryModel->rowCount() == 0) {
        releaseDiaryGrid();
        showPrompt(this, QStringLiteral(" Attenzione non ci sono dati  disponibili  ! "),
                   QStringLiteral(" Tavelo - ERRORE "), PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    if (!attached)
        DataGrid3->setModel(m_diaryModel);
    const int columns = m_diaryModel->columnCount();
    for (int position = 0; position < int(std::size(diaryGridColumns)); ++position) {
        if (position >= columns)
            break;
        DataGrid3->setColumnShown(position, diaryGridColumns[position].shown);
        if (diaryGridColumns[position].widthTwips > 0)
            DataGrid3->setColumnWidthTwips(position, diaryGridColumns[position].widthTwips);
    }
    // Columns after the known ones are not the operator's business.
    for (int position = int(std::size(diaryGridColumns)); position < columns; ++position)
        DataGrid3->setColumnShown(position, false);
}

// The operator picks a row of the entry grid: in the modify and delete modes the
// entry is copied into the fields.
void frmRegistra::FillEntryFromGridRow()
{
    const QString mode = Cmd1->text();
    if (mode != QLatin1String("Modifica") && mode != QLatin1String("Elimina"))
        return;
    if (!DataGrid3->model() || !DataGrid3->currentIndex().isValid())
        return;
    Text1->setText(DataGrid3->currentRowText(0));
    DataBox1->setText(DataGrid3->currentRowText(1));
    const QString dueDate = DataGrid3->currentRowText(2);
    if (!dueDate.isEmpty())
        Check2->setValue(1);
    DataBox2->setText(dueDate);
    Text2->setText(DataGrid3->currentRowText(3));
    Text3->setText(DataGrid3->currentRowText(4));
}
