// SPDX-License-Identifier: GPL-3.0-or-later
// The overview of every user's deadlines, driven as the operator drives it.
#include "main_window_driver.h"
#include "recording_report_viewer.h"

#include "core/twips.h"
#include "main_window/overview_list_model.h"
#include "widgets/date_box.h"
#include "widgets/note_box.h"

#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    void openingADeadlineModifiesItsEntry_data();
    void openingADeadlineModifiesItsEntry();
    void openingADeletedDeadlineTellsSo();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<frmRegistra> m_window;
    ScriptedPrompt *m_prompt = nullptr;
    qint64 m_rossi = 0;
    qint64 m_verdi = 0;
    qint64 m_marzo = 0;

    void openOverview();
    QStringList column(int position) const;
};

void TestOverviewList::init()
{
    m_prompt = ScriptedPrompt::install();
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isOpen());
    m_rossi = m_db->addSubject(QStringLiteral("ROSSI MARIO"));
    m_verdi = m_db->addSubject(QStringLiteral("VERDI GIUSEPPE"));
    const qint64 gone = m_db->addSubject(QStringLiteral("CANCELLATO"));
    m_marzo = m_db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1),
                             QStringLiteral("MARZO"), QStringLiteral("1,2"));
    m_db->addEntry(m_rossi, QDate(2026, 1, 11), QDate(), QStringLiteral("SENZA SCADENZA"));
    m_db->addEntry(m_verdi, QDate(2026, 1, 12), QDate(2026, 2, 1), QStringLiteral("FEBBRAIO"));
    m_db->addEntry(gone, QDate(2026, 1, 12), QDate(2026, 1, 2), QStringLiteral("DI UN CANCELLATO"));
    m_db->addEntry(m_verdi, QDate(2026, 1, 13), QDate(2026, 2, 15), QString());
    QVERIFY(deleteSubject(gone).ok());
    m_window = startMainWindow();
}

void TestOverviewList::cleanup()
{
    // Everything is released before the check, so that one failure stays in its test.
    const int unexpected = m_prompt->unexpected();
    m_window.reset();
    m_db.reset();
    Prompt::install(nullptr);
    QCOMPARE(unexpected, 0);
}

void TestOverviewList::openOverview()
{
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    QVERIFY(m_window->Frame4->isVisible());
}

QStringList TestOverviewList::column(int position) const
{
    QStringList texts;
    const QAbstractItemModel *model = m_window->ListView1->model();
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
    QCOMPARE(m_window->ListView1->model()->columnCount(), 4);
    QCOMPARE(QApplication::focusWidget(), m_window->ListView1);
}

void TestOverviewList::headersHaveKeysWidthsAndLeftAlignment()
{
    openOverview();
    const QAbstractItemModel *model = m_window->ListView1->model();
    const QStringList headers = {"Scadenza", "Oggetto", "Utente", "Soggetto"};
    const QStringList keys = {"uno", "due", "tre", "quattro"};
    const QList<int> widths = {1000, 3500, 700, 3000};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(model->headerData(i, Qt::Horizontal).toString(), headers.at(i));
        QCOMPARE(model->headerData(i, Qt::Horizontal, OverviewListModel::KeyRole).toString(),
                 keys.at(i));
        QCOMPARE(m_window->ListView1->header()->sectionSize(i), twipsToPixels(widths.at(i)));
        const auto alignment =
            Qt::Alignment(model->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
        QVERIFY(alignment & Qt::AlignLeft);
    }
}

void TestOverviewList::reopeningShowsEachEntryOnceAndNewOnes()
{
    openOverview();
    QCOMPARE(column(1).size(), 3);
    m_db->addEntry(m_rossi, QDate(2026, 1, 1), QDate(2026, 1, 20), QStringLiteral("NUOVA"));
    // A snapshot: the new entry shows only at the next opening.
    QCOMPARE(column(1).size(), 3);
    QTest::mouseClick(m_window->Check6, Qt::LeftButton);
    openOverview();
    QCOMPARE(column(1), QStringList({"NUOVA", "FEBBRAIO", "", "MARZO"}));
    QCOMPARE(m_window->ListView1->model()->columnCount(), 4);
    QCOMPARE(m_window->ListView1->header()->count(), 4);
}

void TestOverviewList::withoutDeadlinesOnlyHeaders()
{
    QVERIFY(m_db->exec(QStringLiteral("DELETE FROM Tavelo")));
    openOverview();
    QCOMPARE(m_window->ListView1->model()->rowCount(), 0);
    QCOMPARE(m_window->ListView1->model()->headerData(3, Qt::Horizontal).toString(),
             QStringLiteral("Soggetto"));
}

void TestOverviewList::esciReturnsToUserChoice()
{
    openOverview();
    QTest::mouseClick(m_window->Check6, Qt::LeftButton);
    QVERIFY(m_window->Check6->isChecked());
    QVERIFY(m_window->Frame3->isVisible());
    QVERIFY(!m_window->Frame4->isVisible());
    openOverview();
    QVERIFY(!m_window->Check6->isChecked());
}

void TestOverviewList::stampaShowsAllUsersAndReturnsToUserChoice()
{
    RecordingReportViewerScope scope;
    openOverview();
    bool tickedWhileShown = false;
    scope.viewer().whileShown = [&](const ReportDocument &, QWidget *) {
        tickedWhileShown = m_window->Check7->isChecked();
    };
    QTest::mouseClick(m_window->Check7, Qt::LeftButton);
    QCOMPARE(scope.viewer().documents().size(), 1);
    QCOMPARE(scope.viewer().documents().at(0).name, QStringLiteral("SchedaUtenti"));
    QVERIFY(tickedWhileShown);
    QVERIFY(!m_window->Check7->isChecked());
    QTRY_VERIFY(!m_window->Frame4->isVisible());
    QVERIFY(m_window->Frame3->isVisible());
}

void TestOverviewList::longListIsReadAsItScrolls()
{
    QVERIFY(m_db->exec(QStringLiteral("BEGIN")));
    QSqlQuery insert(DbConnection::instance().database());
    QVERIFY(insert.prepare(QStringLiteral("INSERT INTO Tavelo (data, scadenza, Oggetto, Utente) "
                                          "VALUES ('2026-01-01', :due, 'VOCE', :user)")));
    const int total = 5000;
    for (int i = 0; i < total; ++i) {
        insert.bindValue(QStringLiteral(":due"),
                         QDate(2027, 1, 1).addDays(i % 700).toString(Qt::ISODate));
        insert.bindValue(QStringLiteral(":user"), i % 2 ? m_rossi : m_verdi);
        QVERIFY(insert.exec());
    }
    QVERIFY(m_db->exec(QStringLiteral("COMMIT")));
    openOverview();
    QAbstractItemModel *model = m_window->ListView1->model();
    QVERIFY(model->rowCount() > 0);
    QVERIFY2(model->rowCount() < total, qPrintable(QString::number(model->rowCount())));
    QVERIFY(model->canFetchMore({}));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("FEBBRAIO"));
    m_window->ListView1->scrollToBottom();
    QTRY_VERIFY(!model->canFetchMore({}) || model->rowCount() > 256);
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
    frmRegistra &w = *m_window;
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
    m_prompt->answer(PromptAnswer::Yes);
    m_prompt->answer(PromptAnswer::Ok);
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
    m_window->ListView1->setCurrentIndex(m_window->ListView1->model()->index(row, 0));
    m_prompt->answer(PromptAnswer::Ok);
    QTest::keyClick(m_window->ListView1->viewport(), Qt::Key_Return);
    QCOMPARE(m_prompt->shown().size(), 1);
    QCOMPARE(m_prompt->shown().at(0).text,
             QStringLiteral("La registrazione scelta non esiste più."));
    QCOMPARE(m_window->Cmd1->text(), QStringLiteral("Modifica"));
    QCOMPARE(m_window->Text1->text(), QString());
}

TAVELO_TEST_MAIN(TestOverviewList)
#include "tst_overview_list.moc"
