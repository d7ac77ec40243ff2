// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-ins for the platform's controls, used as a person would; queued activation;
// the launcher placed on the desktop at every start; the window's picture kept between
// starts; the desktop notification of what is due; the style that draws as Fusion.
#include "test_support.h"

#include "widgets/cached_picture.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/due_notice.h"
#include "widgets/office_style.h"
#include "widgets/shell_services.h"
#include "widgets/toggle_button.h"

#include <QCalendarWidget>
#include <QDBusConnection>
#include <QGroupBox>
#include <QStandardItemModel>
#include <QStyleFactory>

namespace {

void click(DataGrid &grid, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(row, 1)).center());
}

class ActivationProbe : public QWidget, public ActivatableWindow
{
public:
    QStringList *log = nullptr;
    void runActivation() override { *log << "activated"; }
};

} // namespace

// Stands in for the desktop's notification service.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList bodies; // each with its time out in brackets

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &, const QString &body,
                const QStringList &, const QVariantMap &, int expireTimeout)
    {
        bodies << QStringLiteral("%1 (%2)").arg(body).arg(expireTimeout);
        return uint(bodies.size());
    }
};

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY2(bus.isConnected(), "no session bus: run under dbus-run-session");
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_service,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }

    // The style reads its pictures in its own way at start: what it draws must stay
    // Fusion's, pixel for pixel, with a title, without one, and on a toolbar's extension.
    void styleDrawsAsFusion()
    {
        OfficeStyle office;
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        for (const QString &title : {QStringLiteral("Seleziona"), QString()}) {
            QGroupBox box(title);
            box.resize(200, 80);
            const QImage fusionBox = (box.setStyle(fusion.get()), box.grab().toImage());
            box.setStyle(&office);
            QCOMPARE(box.grab().toImage(), fusionBox);
        }
        for (const QStyle::StandardPixmap extension : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                                       QStyle::SP_ToolBarVerticalExtensionButton})
            QCOMPARE(office.standardIcon(extension, nullptr, nullptr).pixmap(16).toImage(),
                     fusion->standardIcon(extension).pixmap(16).toImage());
    }

    // A handler that sets another toggle runs that toggle's handler at once, before going on;
    // setting the state a toggle already has reports nothing.
    void togglesReportChangesInOrder()
    {
        ToggleButton modify("Modifica");
        TickBox remove("Elimina");
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
        QVERIFY(remove.grab().toImage() != off && remove.text() == "Elimina");
        modify.setFocus();
        QTest::keyClick(&modify, Qt::Key_Space);
        QCOMPARE(log, QStringList({"delete on", "modify on", "delete off", "modify goes on"}));
        QCOMPARE(modify.value() * 10 + remove.value(), 10);
    }

    void dateBoxKeepsTenLettersAndCalendarPicksDate()
    {
        QWidget window;
        auto *box = new DateBox(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box->setDate(QDate(2024, 2, 29));
        QCOMPARE(box->text(), "29/02/2024");
        box->clear();
        QTest::keyClicks(box, "01/01/2026 e altro");
        QVERIFY(box->text() == "01/01/2026" && box->date() == QDate(2026, 1, 1));
        box->setDate(QDate(2026, 5, 10));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F4);
        auto *calendar = box->findChild<QCalendarWidget *>();
        QTRY_VERIFY(calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2026, 5, 10));
        emit calendar->activated(QDate(2026, 5, 20));
        QVERIFY(box->date() == QDate(2026, 5, 20) && !calendar->isVisible());
        // A box that is off opens no calendar.
        box->setEnabled(false);
        QTest::keyClick(box, Qt::Key_F4);
        QVERIFY(!calendar->isVisible());
    }

    // A row is picked by a click on it, every time (the keys: the entry panel's table). A grid
    // bound again and again does not grow, bound straight to another model or unbound first,
    // and a handler of the pick may bind it again while the selection is telling of the pick.
    void gridPicksRowsAndKeepsNothingBehind()
    {
        QStandardItemModel first, second;
        for (int row = 0; row < 3; ++row) {
            first.appendRow(
                {new QStandardItem("a" + QString::number(row)), new QStandardItem("x")});
            second.appendRow(
                {new QStandardItem("b" + QString::number(row)), new QStandardItem("x")});
        }
        DataGrid grid;
        grid.setModel(&first);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const qsizetype objects = grid.findChildren<QObject *>().size();
        for (int round = 0; round < 100; ++round) {
            if (round % 3 == 0)
                grid.setModel(nullptr);
            grid.setModel(round % 2 ? &first : &second);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCOMPARE(grid.findChildren<QObject *>().size(), objects);
        grid.resize(300, 200);
        // Twips become pixels to the nearest: 100.47 and 100.53 pixels.
        grid.setColumnWidthTwips(0, 1507);
        grid.setColumnWidthTwips(1, 1508);
        QCOMPARE(grid.columnWidth(0) * 1000 + grid.columnWidth(1), 100101);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QStringList picked;
        connect(&grid, &DataGrid::rowPicked, this,
                [&](int row) { picked << QString::number(row) + grid.currentRowText(0); });
        click(grid, 1);
        click(grid, 1);
        connect(&grid, &DataGrid::rowPicked, this, [&] {
            grid.setModel(nullptr);
            grid.setModel(&second);
        });
        click(grid, 2);
        click(grid, 0);
        QCOMPARE(picked, QStringList({"1a1", "1a1", "2a2", "0b0"}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(grid.findChildren<QItemSelectionModel *>().size(), 1);
        grid.setModel(nullptr);
        QCOMPARE(grid.currentRowText(0), QString());
    }

    // Activation comes after the handler that asked for it, and never to a window that is
    // gone. (The program's end and its status: the start-up and "Chiudi" tests.)
    void activationRunsAfterCurrentHandler()
    {
        QStringList log;
        auto probe = std::make_unique<ActivationProbe>();
        probe->log = &log;
        activateLater(probe.get());
        log << "handler ends";
        QTRY_COMPARE(log, QStringList({"handler ends", "activated"}));
        activateLater(probe.get());
        probe.reset();
        QCoreApplication::processEvents();
        QCOMPARE(log.size(), 2);
    }

    // Exec is read through the string escapes first and then through its own quoting, so
    // a backslash in the path is written four times and a quote with two backslashes.
    // clang-format off
    void launcherEscapesProgramPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QString>("path");
        auto row = [](const char *name, const QString &folder, const QString &exec, const QString &path) { QTest::newRow(name) << folder << exec << path; };
        row("dollar", "a$b", "a\\\\$b", "a$b");
        row("backtick", "a`b", "a\\\\`b", "a`b");
        row("percent", "100%", "100%%", "100%");
        row("blank, backslash and quote", "con spazi\\a\"b", "con spazi\\\\\\\\a\\\\\"b", "con spazi\\\\a\"b");
    }
    // clang-format on

    void launcherEscapesProgramPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, exec);
        QFETCH(QString, path);
        QTemporaryDir desktop;
        const QString program = "/opt/" + folder + "/tavelo";
        // Written over an older launcher, which it replaces.
        QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), "/opt/x"));
        QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), program));
        QFile file(desktop.filePath("Quorvalia.desktop"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.startsWith("[Desktop Entry]\n") && text.contains("\nName=Quorvalia\n") &&
                     text.contains("\nExec=\"/opt/" + exec + "/tavelo\"\n") &&
                     text.contains("\nPath=/opt/" + path + "\n"),
                 qPrintable(text));
        QVERIFY(file.permissions() & QFile::ExeOwner);
        QCOMPARE(QDir(desktop.path()).entryList(QDir::Files), QStringList({"Quorvalia.desktop"}));
        // Unchanged at the next start with the same program: not written again.
        const QDateTime past(QDate(2020, 1, 2), QTime(3, 4, 5));
        QVERIFY(file.setFileTime(past, QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(CreateDesktopShortcut(desktop.path(), desktopLinkName(), program));
        QCOMPARE(QFileInfo(file).lastModified(), past);
        // Without a desktop folder there is no desktop to place it on.
        const QString missing = desktop.filePath("Scrivania");
        QVERIFY(!CreateDesktopShortcut(missing, desktopLinkName(), program) &&
                !QDir(missing).exists());
    }

    // The window's picture kept between starts: read back as it was drawn, at its own size.
    void keptPictureIsTheDrawnOne_data()
    {
        QTest::addColumn<QByteArray>("keptBefore"); // what the cache file holds beforehand
        QTest::newRow("first start") << QByteArray();
        QTest::newRow("unreadable file") << QByteArray("not a picture");
    }

    void keptPictureIsTheDrawnOne()
    {
        QFETCH(QByteArray, keptBefore);
        QTemporaryDir cache;
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
        const QString svg = QStringLiteral(":/pictures/scadenze.svg");
        const QString path = cachedPicturePath(svg, {204, 160});
        QVERIFY(path.startsWith(cache.path()) && path != cachedPicturePath(svg, {100, 80}));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(keptBefore.isEmpty() || writeFile(path, keptBefore));
        const QImage drawn = cachedPicture(svg, {204, 160}).toImage();
        QCOMPARE(drawn.size(), QSize(204, 160));
        QVERIFY(drawn.pixelColor(100, 30).alpha() > 0); // something was drawn
        QCOMPARE(cachedPicture(svg, {204, 160}).toImage().convertToFormat(drawn.format()), drawn);
        // The next start shows what was kept, and draws afresh what was kept in part.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray kept = file.readAll();
        kept[kept.size() - 2] = char(~kept.at(kept.size() - 2));
        QVERIFY(writeFile(path, kept));
        QVERIFY(cachedPicture(svg, {204, 160}).toImage().convertToFormat(drawn.format()) != drawn);
        QVERIFY(writeFile(path, kept.chopped(4)));
        QCOMPARE(cachedPicture(svg, {204, 160}).toImage().convertToFormat(drawn.format()), drawn);
        QCOMPARE(cachedPicture(svg, {100, 80}).size(), QSize(100, 80));
    }

    // The desktop notification at start: sent to a notification service of the test's own,
    // on the private session bus that the test runs on.
    void oneNotificationCountsWhatIsDue_data()
    {
        QTest::addColumn<QList<int>>("dueInDays");
        QTest::addColumn<QString>("notice");
        QTest::newRow("nothing due") << QList<int>{8, 30} << QString();
        QTest::newRow("one past due") << QList<int>{-1, 8} << "1 scadenza scaduta";
        QTest::newRow("due today and in a week")
            << QList<int>{0, 7, 7} << "3 scadenze in scadenza nei prossimi 7 giorni";
        QTest::newRow("one due soon")
            << QList<int>{3} << "1 scadenza in scadenza nei prossimi 7 giorni";
        QTest::newRow("both") << QList<int>{-400, -1, 3, 9}
                              << "2 scadenze scadute e 1 in scadenza nei prossimi 7 giorni";
    }

    void oneNotificationCountsWhatIsDue()
    {
        QFETCH(QList<int>, dueInDays);
        QFETCH(QString, notice);
        TestDatabase db;
        QVERIFY(db.isOpen());
        const qint64 user = db.addSubject(QStringLiteral("ROSSI MARIO"));
        const QDate today = QDate::currentDate();
        for (int days : dueInDays)
            db.addEntry(user, today.addDays(-500), today.addDays(days), QStringLiteral("voce"));
        // Neither an entry without a due date nor one whose owner is gone is in the overview.
        db.addEntry(user, today.addDays(-500), QDate(), QStringLiteral("senza scadenza"));
        db.addEntry(user + 1000, today.addDays(-500), today.addDays(-1), QStringLiteral("orfana"));
        m_service.bodies.clear();
        notifyDueDeadlines();
        if (notice.isEmpty())
            QTest::qWait(300);
        // A time out of 0: it stays until dismissed.
        QTRY_COMPARE(m_service.bodies,
                     notice.isEmpty() ? QStringList() : QStringList{notice + " (0)"});
    }

private:
    FakeNotifications m_service;
};

TAVELO_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
