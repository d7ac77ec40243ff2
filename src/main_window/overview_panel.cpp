// SPDX-License-Identifier: GPL-3.0-or-later
// The overview panel: every user's deadlines in one list, earliest first, with its
// print and exit toggles, and the way from a deadline to its entry.
#include "main_window/overview_panel.h"

#include "main_window/overview_list_model.h"
#include "main_window/report_launching.h"
#include "reports/report_progress.h"
#include "storage/db_connection.h"
#include "storage/text_search.h"
#include "widgets/panel_placement.h"
#include "widgets/prompt.h"
#include "widgets/twips.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
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

OverviewPanel::OverviewPanel(QWidget *parent) : QGroupBox(QStringLiteral("Scadenze"), parent)
{
    placePanel(this, "Frame4", 360, 960, 8415, 3495);
    Check7 = named(new QCheckBox(QStringLiteral("Stampa"), this), "Check7");
    placeTwips(Check7, 6000, 240, 1215, 270);
    Check6 = named(new QCheckBox(QStringLiteral("Esci"), this), "Check6");
    placeTwips(Check6, 7440, 240, 855, 270);
    ListView1 = named(new QTreeView(this), "ListView1");
    placeTwips(ListView1, 120, 600, 8175, 2655);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setAccessibleName(QStringLiteral("Scadenze di tutti gli utenti"));
    setUpList();
    setUpSearch();
}

// In the free space left of the ticks; Ctrl+F reaches it from anywhere in the panel.
void OverviewPanel::setUpSearch()
{
    auto *caption = new QLabel(QStringLiteral("Cerca"), this);
    placeTwips(caption, 120, 270, 540, 240);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Cerca"));
    placeTwips(m_search, 660, 225, 5100, 315);
    m_search->setClearButtonEnabled(true);
    m_search->setToolTip(QStringLiteral(
        "Mostra solo le scadenze la cui nota o il cui soggetto contiene ogni parola"));
    caption->setBuddy(m_search);
    m_searchPause = new QTimer(this);
    m_searchPause->setSingleShot(true);
    m_searchPause->setInterval(250);
    connect(m_search, &QLineEdit::textChanged, m_searchPause, qOverload<>(&QTimer::start));
    connect(m_searchPause, &QTimer::timeout, this, &OverviewPanel::SearchOverviewList);
    auto *find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, m_search, [this] { m_search->setFocus(); });
}

void OverviewPanel::SearchOverviewList()
{
    m_overviewModel->setSearchWords(searchWords(m_search->text()));
    const QSqlError error = m_overviewModel->load();
    if (error.isValid())
        showDatabaseError(window(), error);
}

void OverviewPanel::setUpList()
{
    m_overviewModel = new OverviewListModel(this);
    ListView1->setModel(m_overviewModel);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setToolTip(
        QStringLiteral("Doppio clic o Invio su una scadenza: la apre per modificarla"));
    connect(Check6, &QCheckBox::toggled, this, &OverviewPanel::CloseOverviewPanel);
    connect(Check7, &QCheckBox::toggled, this, &OverviewPanel::PrintOverviewReport);
    connect(ListView1, &QTreeView::activated, this, &OverviewPanel::OpenOverviewEntry);
}

// The rows are read as the operator scrolls to them.
void OverviewPanel::LoadOverviewList()
{
    m_overviewModel->clear();
    const QSqlError error = m_overviewModel->load();
    if (error.isValid()) {
        showDatabaseError(window(), error);
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

void OverviewPanel::CloseOverviewPanel()
{
    if (!Check6->isChecked())
        return;
    Check7->setChecked(false);
    emit closed();
}

void OverviewPanel::PrintOverviewReport()
{
    if (!Check7->isChecked())
        return;
    ShowAllUsersReport();
}

void OverviewPanel::OpenOverviewEntry(const QModelIndex &item)
{
    if (!item.isValid())
        return;
    const qint64 entryId = item.data(OverviewListModel::EntryIdRole).toLongLong();
    const QString ownerId = m_overviewModel->index(item.row(), 2).data().toString();
    const QString ownerName = m_overviewModel->index(item.row(), 3).data().toString();
    emit ownerChosen(ownerId, ownerName);
    Check6->setChecked(true);
    emit entryRequested(entryId);
}

QList<QWidget *> OverviewPanel::keyboardOrder() const
{
    return {Check7, Check6, ListView1, m_search};
}

void OverviewPanel::ShowOverviewPanel()
{
    show();
    Check6->setChecked(false);
    {
        const QSignalBlocker quiet(m_search);
        m_search->clear();
    }
    m_overviewModel->setSearchWords({});
    LoadOverviewList();
    ListView1->setFocus();
}

void OverviewPanel::ShowAllUsersReport()
{
    const ReportBuild deadlines =
        buildWithProgress(window(), [](const ReportBuildProgress &progress) {
            return buildAllUsersReport(progress);
        });
    showReportOrProblem(window(), deadlines);
    Check7->setChecked(false);
    emit reportClosed();
}
