// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-ins for the platform's controls, used as a person would.
#include "test_support.h"

#include "widgets/twips.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"

#include <QCalendarWidget>
#include <QSignalSpy>
#include <QStandardItemModel>

namespace {

// Three rows of two columns: "<prefix>0", "x"; ...
void fill(QStandardItemModel &model, const QString &prefix)
{
    for (int row = 0; row < 3; ++row)
        model.appendRow({new QStandardItem(prefix + QString::number(row)), new QStandardItem("x")});
}

void click(DataGrid &grid, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(row, 1)).center());
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void twipsBecomePixels_data();
    void twipsBecomePixels();
    void togglesReportChangesInOrder();
    void dateBoxReadsShortDates_data();
    void dateBoxReadsShortDates();
    void dateBoxCalendarPicksDate();
    void gridPicksRowsAndKeepsNothingBehind_data();
    void gridPicksRowsAndKeepsNothingBehind();
    void pictureButtonIsDrawnWithItsBorder();
};

void TestWidgets::twipsBecomePixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("rounds half up") << 8 << 1;
    QTest::newRow("rounds down") << 7 << 0;
    QTest::newRow("window width") << 12120 << 808;
}

void TestWidgets::twipsBecomePixels()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

// A handler that sets another toggle runs that toggle's handler at once, before going on;
// setting the state a toggle already has reports nothing.
void TestWidgets::togglesReportChangesInOrder()
{
    ToggleButton modify(QStringLiteral("Modifica"));
    TickBox remove(QStringLiteral("Elimina"));
    remove.resize(18, 18);
    const QImage off = remove.grab().toImage();
    QStringList log;
    connect(&modify, &ToggleButton::toggled, this, [&](bool on) {
        log << (on ? "modify on" : "modify off");
        if (on) {
            remove.setValue(0);
            log << "modify goes on";
        }
    });
    connect(&remove, &ToggleButton::toggled, this, [&](bool on) {
        log << (on ? "delete on" : "delete off");
        if (on)
            modify.setValue(0);
    });
    QTest::mouseClick(&remove, Qt::LeftButton);
    // The tick box shows its state with a mark, its caption kept for a screen reader.
    QVERIFY(remove.grab().toImage() != off);
    QCOMPARE(remove.text(), QStringLiteral("Elimina"));
    modify.setFocus();
    QTest::keyClick(&modify, Qt::Key_Space);
    QCOMPARE(log, QStringList({"delete on", "modify on", "delete off", "modify goes on"}));
    QCOMPARE(modify.value() * 10 + remove.value(), 10);
}

void TestWidgets::dateBoxReadsShortDates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("kept"); // the text the box keeps
    QTest::newRow("short") << "1/3/2026" << QDate(2026, 3, 1) << "1/3/2026";
    QTest::newRow("no such day") << "31/02/2026" << QDate() << "31/02/2026";
    QTest::newRow("too long") << "01/01/2026 e altro" << QDate(2026, 1, 1) << "01/01/2026";
}

void TestWidgets::dateBoxReadsShortDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    QFETCH(QString, kept);
    DateBox box;
    box.setDate(QDate(2024, 2, 29));
    QCOMPARE(box.text(), QStringLiteral("29/02/2024"));
    box.clear();
    QTest::keyClicks(&box, typed);
    QCOMPARE(box.date(), date);
    QCOMPARE(box.text(), kept);
}

void TestWidgets::dateBoxCalendarPicksDate()
{
    QWidget window;
    auto *box = new DateBox(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setDate(QDate(2026, 5, 10));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F4);
    auto *calendar = box->findChild<QCalendarWidget *>();
    QTRY_VERIFY(calendar->isVisible());
    QCOMPARE(calendar->selectedDate(), QDate(2026, 5, 10));
    emit calendar->activated(QDate(2026, 5, 20));
    QCOMPARE(box->date(), QDate(2026, 5, 20));
    QVERIFY(!calendar->isVisible());
    // A box that is off keeps its colour and opens no calendar.
    box->setBackgroundColor(QColor(255, 255, 128));
    box->setEnabled(false);
    QCOMPARE(box->palette().color(QPalette::Disabled, QPalette::Base), QColor(255, 255, 128));
    QTest::keyClick(box, Qt::Key_F4);
    QVERIFY(!calendar->isVisible());
}

void TestWidgets::gridPicksRowsAndKeepsNothingBehind_data()
{
    QTest::addColumn<bool>("unbindFirst");
    QTest::newRow("from one model to another") << false;
    QTest::newRow("unbound, then bound again") << true;
}

// A row is picked by a click on it, or Enter or Space on the current row, every time; the
// arrows only move, and focus picks nothing. A grid bound again and again does not grow,
// and a handler of the pick may bind it again while the selection is telling of the pick.
void TestWidgets::gridPicksRowsAndKeepsNothingBehind()
{
    QFETCH(bool, unbindFirst);
    QStandardItemModel first;
    QStandardItemModel second;
    fill(first, QStringLiteral("a"));
    fill(second, QStringLiteral("b"));
    DataGrid grid;
    grid.setModel(&first);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qsizetype objects = grid.findChildren<QObject *>().size();
    for (int round = 0; round < 100; ++round) {
        if (unbindFirst)
            grid.setModel(nullptr);
        grid.setModel(round % 2 ? &first : &second);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCOMPARE(grid.findChildren<QObject *>().size(), objects);
    grid.resize(300, 200);
    grid.setColumnWidthTwips(1, 1500);
    QCOMPARE(grid.columnWidth(1), 100);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QStringList picked;
    connect(&grid, &DataGrid::rowPicked, this,
            [&](int row) { picked << QString::number(row) + grid.currentRowText(0); });
    click(grid, 1);
    click(grid, 1);
    QTest::keyClick(grid.viewport(), Qt::Key_Down);
    QTest::keyClick(grid.viewport(), Qt::Key_Return);
    QTest::keyClick(grid.viewport(), Qt::Key_Space);
    grid.setCurrentIndex(first.index(0, 0));
    grid.clearFocus();
    grid.setFocus(Qt::TabFocusReason);
    connect(&grid, &DataGrid::rowPicked, this, [&] {
        grid.setModel(nullptr);
        grid.setModel(&second);
    });
    click(grid, 2);
    click(grid, 0);
    QCOMPARE(picked, QStringList({"1a1", "1a1", "2a2", "2a2", "2a2", "0b0"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(grid.findChildren<QItemSelectionModel *>().size(), 1);
    grid.setModel(nullptr);
    QCOMPARE(grid.currentRowText(0), QString());
}

void TestWidgets::pictureButtonIsDrawnWithItsBorder()
{
    PictureButton picture(QStringLiteral(":/pictures/accedi.svg"));
    picture.resize(64, 64);
    const QImage plain = picture.grab().toImage();
    QVERIFY(plain.pixelColor(32, 32) != plain.pixelColor(1, 1));
    picture.setSingleBorder(true);
    QVERIFY(picture.grab().toImage() != plain);
}

TAVELO_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
