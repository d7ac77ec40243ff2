// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-ins for the platform's controls.
#include "test_support.h"

#include "core/dates.h"
#include "widgets/twips.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"

#include <QCalendarWidget>
#include <QSignalSpy>
#include <QStandardItemModel>

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void twipsBecomePixels_data();
    void twipsBecomePixels();
    void toggleReportsOnlyChanges();
    void nestedToggleHandlersRunBeforeTheSetterGoesOn();
    void tickBoxKeepsCaptionForScreenReader();
    void dateBoxReadsAndWritesShortDates();
    void dateBoxCalendarPicksDate();
    void dateBoxBackground();
    void gridPicksRowsByClickEnterOrSpace();
    void gridColumnsByPosition();
    void pictureButtonAnswersKeyboard();
};

void TestWidgets::twipsBecomePixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("rounds half up") << 8 << 1;
    QTest::newRow("rounds down") << 7 << 0;
    QTest::newRow("window width") << 12120 << 808;
    QTest::newRow("window height") << 7050 << 470;
}

void TestWidgets::twipsBecomePixels()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

void TestWidgets::toggleReportsOnlyChanges()
{
    ToggleButton toggle(QStringLiteral("Gestione"));
    QSignalSpy changes(&toggle, &ToggleButton::toggled);
    toggle.setValue(0);
    QCOMPARE(changes.count(), 0);
    QTest::mouseClick(&toggle, Qt::LeftButton);
    QCOMPARE(toggle.value(), 1);
    QCOMPARE(changes.count(), 1);
    toggle.setValue(1);
    QCOMPARE(changes.count(), 1);
    toggle.setValue(0);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(1).at(0).toBool(), false);
    toggle.setFocus();
    QTest::keyClick(&toggle, Qt::Key_Space);
    QCOMPARE(toggle.value(), 1);
}

void TestWidgets::nestedToggleHandlersRunBeforeTheSetterGoesOn()
{
    ToggleButton modify(QStringLiteral("Modifica"));
    ToggleButton remove(QStringLiteral("Elimina"));
    QStringList log;
    QObject::connect(&modify, &ToggleButton::toggled, [&](bool on) {
        log << (on ? QStringLiteral("modify on") : QStringLiteral("modify off"));
        if (on) {
            remove.setValue(0);
            log << QStringLiteral("modify goes on");
        }
    });
    QObject::connect(&remove, &ToggleButton::toggled, [&](bool on) {
        log << (on ? QStringLiteral("delete on") : QStringLiteral("delete off"));
        if (on)
            modify.setValue(0);
    });
    QTest::mouseClick(&remove, Qt::LeftButton);
    QTest::mouseClick(&modify, Qt::LeftButton);
    QCOMPARE(log, QStringList({"delete on", "modify on", "delete off", "modify goes on"}));
}

void TestWidgets::tickBoxKeepsCaptionForScreenReader()
{
    TickBox tick(QStringLiteral("XPCheck1"));
    tick.resize(18, 18);
    QCOMPARE(tick.text(), QStringLiteral("XPCheck1"));
    const QImage off = tick.grab().toImage();
    tick.setValue(1);
    const QImage on = tick.grab().toImage();
    QVERIFY(off != on);
}

void TestWidgets::dateBoxReadsAndWritesShortDates()
{
    DateBox box;
    box.setDate(QDate(2024, 2, 29));
    QCOMPARE(box.text(), QStringLiteral("29/02/2024"));
    QCOMPARE(box.date(), QDate(2024, 2, 29));
    box.setDate(QDate());
    QCOMPARE(box.text(), QString());
    QTest::keyClicks(&box, QStringLiteral("1/3/2026"));
    QCOMPARE(box.date(), QDate(2026, 3, 1));
    box.clear();
    QTest::keyClicks(&box, QStringLiteral("31/02/2026"));
    QVERIFY(!box.date().isValid());
    box.clear();
    QTest::keyClicks(&box, QStringLiteral("01/01/2026 e ancora altro"));
    QCOMPARE(box.text().size(), 10);
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
    QVERIFY(calendar);
    QTRY_VERIFY(calendar->isVisible());
    QCOMPARE(calendar->selectedDate(), QDate(2026, 5, 10));
    emit calendar->activated(QDate(2026, 5, 20));
    QCOMPARE(box->date(), QDate(2026, 5, 20));
    QVERIFY(!calendar->isVisible());
    box->setEnabled(false);
    QTest::keyClick(box, Qt::Key_F4);
    QVERIFY(!calendar->isVisible());
}

void TestWidgets::dateBoxBackground()
{
    DateBox box;
    box.setBackgroundColor(QColor(255, 255, 128));
    QCOMPARE(box.backgroundColor(), QColor(255, 255, 128));
    box.setEnabled(false);
    QCOMPARE(box.palette().color(QPalette::Disabled, QPalette::Base), QColor(255, 255, 128));
}

void TestWidgets::gridPicksRowsByClickEnterOrSpace()
{
    QStandardItemModel model(3, 2);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column)
            model.setItem(row, column,
                          new QStandardItem(QStringLiteral("%1-%2").arg(row).arg(column)));
    DataGrid grid;
    grid.resize(300, 200);
    grid.setModel(&model);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy picked(&grid, &DataGrid::rowPicked);
    const QRect second = grid.visualRect(model.index(1, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.at(0).at(0).toInt(), 1);
    QCOMPARE(grid.currentRowText(0), QStringLiteral("1-0"));
    // A click on the current row picks it again.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(model.index(1, 0)).center());
    QCOMPARE(picked.count(), 2);
    QCOMPARE(picked.at(1).at(0).toInt(), 1);
    // The arrows only move; Enter and Space pick the row reached.
    QTest::keyClick(grid.viewport(), Qt::Key_Down);
    QCOMPARE(picked.count(), 2);
    QTest::keyClick(grid.viewport(), Qt::Key_Return);
    QCOMPARE(picked.count(), 3);
    QCOMPARE(picked.at(2).at(0).toInt(), 2);
    QTest::keyClick(grid.viewport(), Qt::Key_Space);
    QCOMPARE(picked.count(), 4);
    // Neither the program setting the current row nor focus picks anything.
    grid.setCurrentIndex(model.index(0, 0));
    grid.clearFocus();
    grid.setFocus(Qt::TabFocusReason);
    QCOMPARE(picked.count(), 4);
    grid.setModel(nullptr);
    QCOMPARE(grid.currentRowText(0), QString());
    QCOMPARE(picked.count(), 4);
}

void TestWidgets::gridColumnsByPosition()
{
    QStandardItemModel model(1, 3);
    DataGrid grid;
    grid.setModel(&model);
    grid.setColumnShown(0, false);
    grid.setColumnWidthTwips(1, 4500);
    QVERIFY(grid.isColumnHidden(0));
    QCOMPARE(grid.columnWidth(1), 300);
    grid.setColumnShown(0, true);
    QVERIFY(!grid.isColumnHidden(0));
    grid.setBackgroundColor(QColor(255, 255, 192));
    QCOMPARE(grid.backgroundColor(), QColor(255, 255, 192));
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestWidgets::pictureButtonAnswersKeyboard()
{
    PictureButton picture(QStringLiteral(":/pictures/accedi.svg"));
    picture.resize(64, 64);
    picture.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picture));
    QSignalSpy clicks(&picture, &PictureButton::clicked);
    QSignalSpy presses(&picture, &PictureButton::pressed);
    picture.setFocus();
    QTest::keyClick(&picture, Qt::Key_Space);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(presses.count(), 1);
    QTest::keyClick(&picture, Qt::Key_Return);
    QTRY_COMPARE(clicks.count(), 2);
    QTest::mouseClick(&picture, Qt::LeftButton);
    QCOMPARE(clicks.count(), 3);
    // The picture is drawn: not an empty square.
    const QImage image = picture.grab().toImage();
    QVERIFY(image.pixelColor(32, 32) != image.pixelColor(1, 1));
    const QImage plain = picture.grab().toImage();
    picture.setSingleBorder(true);
    QVERIFY(picture.grab().toImage() != plain);
}

TAVELO_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
