// SPDX-License-Identifier: GPL-3.0-or-later
// The overview of every user's deadlines, driven as the operator drives it.
#include "main_window_steps.h"
#include "recording_report_viewer.h"

#include "widgets/twips.h"
#include "main_window/frm_registra.h"
#include "main_window/overview_list_model.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/note_box.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeView>

class TestOverviewList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsLiveDeadlinesEarliestFirst();
    void headersHaveKeysWidthsAndLeftAlignment();
    void reopeningShowsEachEntryOnceAndNewOnes();
    void withoutDeadlinesOnlyHeaders();
    void esciReturnsToUserChoice();
    void stampaShowsAllUsersAndReturnsToUserChoice();
    void longListIsReadAsItScrolls();
    void everyPageFollowsTheLastRowRead();
    void openingADeadlineModifiesItsEntry_data();
    void openingADeadlineModifiesItsEntry();
    void openingADeletedDeadlineTellsSo();

private:
    MainWindowTest f;
    qint64 m_rossi = 0;
    qint64 m_verdi = 0;
    qint64 m_marzo = 0;

    void openOverview();
    QStringList column(int position) const;
};

void TestOverviewList::init()
{
    QVERIFY(f.prepare());
    m_rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    m_verdi = f.db->addSubject(QStringLiteral("VERDI GIUSEPPE"));
    const qint64 gone = f.db->addSubject(QStringLiteral("CANCELLATO"));
    m_marzo = f.db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1),
                             QStringLiteral("MARZO"), QStringLiteral("1,2"));
    f.db->addEntry(m_rossi, QDate(2026, 1, 11), QDate(), QStringLiteral("SENZA SCADENZA"));
    f.db->addEntry(m_verdi, QDate(2026, 1, 12), QDate(2026, 2, 1), QStringLiteral("FEBBRAIO"));
    f.db->addEntry(gone, QDate(2026, 1, 12), QDate(2026, 1, 2), QStringLiteral("DI UN CANCELLATO"));
    f.db->addEntry(m_verdi, QDate(2026, 1, 13), QDate(2026, 2, 15), QString());
    QVERIFY(deleteSubject(gone).ok());
    QVERIFY(f.start());
}

void TestOverviewList::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

void TestOverviewList::openOverview()
{
    QTest::mouseClick(f.window->Command2, Qt::LeftButton);
    QVERIFY(f.window->Frame4->isVisible());
}

QStringList TestOverviewList::column(int position) const
{
    QStringList texts;
    const QAbstractItemModel *model = f.window->ListView1->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, position).data().toString();
    return texts;
}

void TestOverviewList::listsLiveDeadlinesEarliestFirst()
{
    openOverview();
    QCOMPARE(column(0), QStringList({"01/02/2026", "15/02/2026", "01/03/2026"}));
    QCOMPARE(column(1), QStringList({"FEBBRAIO", "", "MARZO"}));
    QCOMPARE(column(2), QStringList({QString::number(m_verdi), QString::number(m_verdi),
                                     QString::number(m_rossi)}));
    QCOMPARE(column(3), QStringList({"VERDI GIUSEPPE", "VERDI GIUSEPPE", "ROSSI MARIO"}));
    QCOMPARE(f.window->ListView1->model()->columnCount(), 4);
    QCOMPARE(QApplication::focusWidget(), f.window->ListView1);
}

void TestOverviewList::headersHaveKeysWidthsAndLeftAlignment()
{
    openOverview();
    const QAbstractItemModel *model = f.window->ListView1->model();
    const QStringList headers = {"Scadenza", "Oggetto", "Utente", "Soggetto"};
    const QStringList keys = {"uno", "due", "tre", "quattro"};
    const QList<int> widths = {1000, 3500, 700, 3000};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(model->headerData(i, Qt::Horizontal).toString(), headers.at(i));
        QCOMPARE(model->headerData(i, Qt::Horizontal, OverviewListModel::KeyRole).toString(),
                 keys.at(i));
        QCOMPARE(f.window->ListView1->header()->sectionSize(i), twipsToPixels(widths.at(i)));
        const auto alignment =
            Qt::Alignment(model->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
        QVERIFY(alignment & Qt::AlignLeft);
    }
}

void TestOverviewList::reopeningShowsEachEntryOnceAndNewOnes()
{
    openOverview();
    QCOMPARE(column(1).size(), 3);
    f.db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 1, 20), QStringLiteral("NUOVA"));
    // A snapshot: the new entry shows only at the next opening.
    QCOMPARE(column(1).size(), 3);
    QTest::mouseClick(f.window->Check6, Qt::LeftButton);
    openOverview();
    QCOMPARE(column(1), QStringList({"NUOVA", "FEBBRAIO", "", "MARZO"}));
    QCOMPARE(f.window->ListView1->model()->columnCount(), 4);
    QCOMPARE(f.window->ListView1->header()->count(), 4);
}

void TestOverviewList::withoutDeadlinesOnlyHeaders()
{
    QVERIFY(f.db->exec(QStringLiteral("DELETE FROM Tavelo")));
    openOverview();
    QCOMPARE(f.window->ListView1->model()->rowCount(), 0);
    QCOMPARE(f.window->ListView1->model()->headerData(3, Qt::Horizontal).toString(),
             QStringLiteral("Soggetto"));
}

void TestOverviewList::esciReturnsToUserChoice()
{
    openOverview();
    QTest::mouseClick(f.window->Check6, Qt::LeftButton);
    QVERIFY(f.window->Check6->isChecked());
    QVERIFY(f.window->Frame3->isVisible());
    QVERIFY(!f.window->Frame4->isVisible());
    openOverview();
    QVERIFY(!f.window->Check6->isChecked());
}

void TestOverviewList::stampaShowsAllUsersAndReturnsToUserChoice()
{
    RecordingReportViewerScope scope;
    openOverview();
    bool tickedWhileShown = false;
    scope.viewer().whileShown = [&](const ReportDocument &, QWidget *) {
        tickedWhileShown = f.window->Check7->isChecked();
    };
    QTest::mouseClick(f.window->Check7, Qt::LeftButton);
    QCOMPARE(scope.viewer().documents().size(), 1);
    QCOMPARE(scope.viewer().documents().at(0).name, QStringLiteral("SchedaUtenti"));
    QVERIFY(tickedWhileShown);
    QVERIFY(!f.window->Check7->isChecked());
    QTRY_VERIFY(!f.window->Frame4->isVisible());
    QVERIFY(f.window->Frame3->isVisible());
}

void TestOverviewList::longListIsReadAsItScrolls()
{
    const int total = 5000;
    QVERIFY(addManyEntries(*f.db, total, QDate(2027, 1, 1), 700,
                           [&](int i) { return i % 2 ? m_rossi : m_verdi; }));
    openOverview();
    QAbstractItemModel *model = f.window->ListView1->model();
    QVERIFY(model->rowCount() > 0);
    QVERIFY2(model->rowCount() < total, qPrintable(QString::number(model->rowCount())));
    QVERIFY(model->canFetchMore({}));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("FEBBRAIO"));
    f.window->ListView1->scrollToBottom();
    QTRY_VERIFY(!model->canFetchMore({}) || model->rowCount() > 256);
}

// Page after page, many deadlines fall on one day: each shows once, in order.
void TestOverviewList::everyPageFollowsTheLastRowRead()
{
    const int total = 2000;
    QVERIFY(addManyEntries(*f.db, total, QDate(2027, 1, 1), 3,
                           [&](int i) { return i % 2 ? m_rossi : m_verdi; }));
    openOverview();
    QAbstractItemModel *model = f.window->ListView1->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    QCOMPARE(model->rowCount(), total + 3);
    QSet<qint64> entries;
    QDate previousDue;
    qint64 previousEntry = 0;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex cell = model->index(row, 0);
        const QDate due = QDate::fromString(cell.data().toString(), QStringLiteral("dd/MM/yyyy"));
        const qint64 entry = cell.data(OverviewListModel::EntryIdRole).toLongLong();
        QVERIFY2(due.isValid(), qPrintable(cell.data().toString()));
        QVERIFY(previousDue <= due);
        if (due == previousDue)
            QVERIFY(previousEntry < entry);
        entries.insert(entry);
        previousDue = due;
        previousEntry = entry;
    }
    QCOMPARE(entries.size(), total + 3);
    QCOMPARE(model->index(total + 2, 0).data().toString(), QStringLiteral("03/01/2027"));
}

void TestOverviewList::openingADeadlineModifiesItsEntry_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("double click") << false;
    QTest::newRow("Enter") << true;
}

// The choice made for a deadline of the list: its entry opens in its owner's diary,
// in Modify mode, picked and ready to be changed.
void TestOverviewList::openingADeadlineModifiesItsEntry()
{
    QFETCH(bool, byKeyboard);
    openOverview();
    frmRegistra &w = *f.window;
    const int row = int(column(1).indexOf(QStringLiteral("MARZO")));
    const QModelIndex item = w.ListView1->model()->index(row, 1);
    if (byKeyboard) {
        w.ListView1->setCurrentIndex(item);
        QTest::keyClick(w.ListView1->viewport(), Qt::Key_Return);
    } else {
        const QPoint at = w.ListView1->visualRect(item).center();
        // As the window system delivers a double click: a click, then the second press.
        QTest::mouseClick(w.ListView1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.ListView1->viewport(), Qt::LeftButton, {}, at);
    }
    QVERIFY(w.Frame2->isVisible());
    QVERIFY(!w.Frame4->isVisible());
    QVERIFY(!w.Frame3->isVisible());
    QCOMPARE(w.Label8->text(), QString::number(m_rossi));
    QCOMPARE(w.Label1->text(), QStringLiteral("ROSSI MARIO"));
    QCOMPARE(w.Cmd1->text(), QStringLiteral("Modifica"));
    QCOMPARE(w.Text1->text(), QString::number(m_marzo));
    QCOMPARE(w.Text2->text(), QStringLiteral("MARZO"));
    QCOMPARE(w.DataBox2->text(), QStringLiteral("01/03/2026"));
    QCOMPARE(w.DataGrid3->currentRowText(0), QString::number(m_marzo));
    // The change reaches the entry.
    retype(w.Text2, QStringLiteral("MARZO SPOSTATO"));
    f.prompt->answer(PromptAnswer::Yes);
    f.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(w.Cmd1, Qt::LeftButton);
    QCOMPARE(storedEntry(m_marzo).value(QStringLiteral("Oggetto")).toString(),
             QStringLiteral("MARZO SPOSTATO"));
    QCOMPARE(storedEntry(m_marzo).value(QStringLiteral("Utente")).toLongLong(), m_rossi);
}

void TestOverviewList::openingADeletedDeadlineTellsSo()
{
    openOverview();
    const int row = int(column(1).indexOf(QStringLiteral("MARZO")));
    QVERIFY(deleteDiaryEntry(m_marzo).ok());
    f.window->ListView1->setCurrentIndex(f.window->ListView1->model()->index(row, 0));
    f.prompt->answer(PromptAnswer::Ok);
    QTest::keyClick(f.window->ListView1->viewport(), Qt::Key_Return);
    QCOMPARE(f.prompt->shown().size(), 1);
    QCOMPARE(f.prompt->shown().at(0).text,
             QStringLiteral("La registrazione scelta non esiste più."));
    QCOMPARE(f.window->Cmd1->text(), QStringLiteral("Modifica"));
    QCOMPARE(f.window->Text1->text(), QString());
}

TAVELO_TEST_MAIN(TestOverviewList)
#include "tst_overview_list.moc"
