// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QList>

class OverviewListModel;
class QCheckBox;
class QLineEdit;
class QModelIndex;
class QTimer;
class QTreeView;

// The overview (Frame4): every user's deadlines in one list, earliest first, with its
// print and exit ticks, the way from a deadline to its entry, and a search box that
// keeps only the deadlines whose note or owner's name holds the typed words.
class OverviewPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit OverviewPanel(QWidget *parent);

    // The operator clicks "Scadenze per Utenti".
    void ShowOverviewPanel();
    // Each time the panel opens: the list and its headers cleared and filled again.
    void LoadOverviewList();
    // The operator ticks "Esci".
    void CloseOverviewPanel();
    // The operator ticks "Stampa" under the list.
    void PrintOverviewReport();
    // The operator opens a deadline (double click or Enter): its entry in its owner's
    // diary, in Modify mode, with the entry picked.
    void OpenOverviewEntry(const QModelIndex &item);
    void ShowAllUsersReport();

    // Prints a list as a table on the default printer, in landscape. The title comes
    // back trimmed and in capitals.
    void ImprimerListView(QTreeView *lvwSource, QString &sTitre, const QString &sSousTitre,
                          const QString &sNomPolice, qint16 iTaillePolice);

    QList<QWidget *> keyboardOrder() const;

signals:
    // "Esci": the user choice comes back.
    void closed();
    // A deadline is opened: first its owner becomes the chosen user, then its entry is
    // asked for.
    void ownerChosen(const QString &ownerId, const QString &ownerName);
    void entryRequested(qint64 entryId);
    // A report shown from the panel is closed: the window is activated again.
    void reportClosed();

private:
    void setUpList();
    void setUpSearch();
    // The list read again with the words in the search box, once the operator pauses.
    void SearchOverviewList();

    OverviewListModel *m_overviewModel = nullptr;
    QCheckBox *Check7 = nullptr;
    QCheckBox *Check6 = nullptr;
    QTreeView *ListView1 = nullptr;
    QLineEdit *m_search = nullptr;
    QTimer *m_searchPause = nullptr;
};
