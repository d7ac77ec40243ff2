// SPDX-License-Identifier: GPL-3.0-or-later
// The overview panel: every user's deadlines in one list, earliest first, with its
// print and exit toggles, and the way from a deadline to its entry.
#include "main_window/frm_registra.h"

#include "widgets/prompt.h"
#include "widgets/twips.h"
#include "main_window/overview_list_model.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"
#include "widgets/note_box.h"
#include "widgets/toggle_button.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>

namespace {

struct OverviewColumn
{
    const char *key;
    const char *header;
    int widthTwips;
};

const OverviewColumn overviewColumns[] = {
    {"uno", "Scadenza", 1000},
    {"due", "Oggetto", 3500},
    {"tre", "Utente", 700},
    {"quattro", "Soggetto", 3000},
};

} // namespace

void frmRegistra::connectOverviewPanel()
{
    m_overviewModel = new OverviewListModel(this);
    ListView1->setModel(m_overviewModel);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setToolTip(
        QStringLiteral("Doppio clic o Invio su una scadenza: la apre per modificarla"));
    connect(Check6, &QCheckBox::toggled, this, &frmRegistra::CloseOverviewPanel);
    connect(Check7, &QCheckBox::toggled, this, &frmRegistra::PrintOverviewReport);
    connect(ListView1, &QTreeView::activated, this, &frmRegistra::OpenOverviewEntry);
}

// Each time the panel opens: the list and its headers cleared and filled again. The
// rows are read as the operator scrolls to them.
void frmRegistra::LoadOverviewList()
{
    m_overviewModel->clear();
    const QSqlError error = m_overviewModel->load();
    if (error.isValid()) {
        showDatabaseError(this, error);
        return;
    }
    for (int index = 0; index < int(std::size(overviewColumns)); ++index) {
        const OverviewColumn &column = overviewColumns[index];
        m_overviewModel->setHeaderData(index, Qt::Horizontal, QString::fromUtf8(column.header));
        m_overviewModel->setHeaderData(index, Qt::Horizontal, QString::fromLatin1(column.key),
                                       OverviewListModel::KeyRole);
        m_overviewModel->setHeaderData(index, Qt::Horizontal,
                                       QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter),
                                       Qt::TextAlignmentRole);
        ListView1->header()->resizeSection(index, twipsToPixels(column.widthTwips));
    }
}

// The operator ticks "Esci": back to the user choice.
void frmRegistra::CloseOverviewPanel()
{
    if (!Check6->isChecked())
        return;
    Check7->setChecked(false);
    Frame3->show();
    Frame4->hide();
    Cbo1->setFocus();
}

// The operator ticks "Stampa" under the list.
void frmRegistra::PrintOverviewReport()
{
    if (!Check7->isChecked())
        return;
    ShowAllUsersReport();
}

// The deadline's owner becomes the selected user, the entry panel opens in Modify
// mode and the entry is picked, ready to be changed.
void frmRegistra::OpenOverviewEntry(const QModelIndex &item)
{
    if (!item.isValid())
        return;
    const qint64 entryId = item.data(OverviewListModel::EntryIdRole).toLongLong();
    const QString ownerId = m_overviewModel->index(item.row(), 2).data().toString();
    const QString ownerName = m_overviewModel->index(item.row(), 3).data().toString();
    Label8->setText(ownerId);
    Label1->setText(ownerName);
    Cbo1->setCurrentIndex(Cbo1->findText(ownerName));
    Check6->setChecked(true);
    Frame3->hide();
    Check1->setValue(0);
    Check1->setValue(1);
    Check3->setValue(1);
    if (!pickDiaryRowWithId(entryId)) {
        // The list is a snapshot: the entry may have been deleted since it was read.
        showPrompt(this, QStringLiteral("La registrazione scelta non esiste più."), QString(),
                   PromptButtons::Ok, PromptIcon::Information);
        return;
    }
    FillEntryFromGridRow();
    Text2->setFocus();
}

// Makes the grid row of this entry the current one, reading further rows if needed.
bool frmRegistra::pickDiaryRowWithId(qint64 entryId)
{
    QAbstractItemModel *model = DataGrid3->model();
    if (!model)
        return false;
    for (int row = 0;; ++row) {
        if (row >= model->rowCount()) {
            if (!model->canFetchMore({}))
                return false;
            model->fetchMore({});
            if (row >= model->rowCount())
                return false;
        }
        if (model->index(row, 0).data().toLongLong() == entryId) {
            const QModelIndex cell = model->index(row, 3);
            DataGrid3->setCurrentIndex(cell);
            DataGrid3->scrollTo(cell);
            return true;
        }
    }
}
