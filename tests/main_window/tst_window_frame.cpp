// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's frame: where its panels and controls lie, the version stamp and
// what a screen reader hears of the values that the window shows.
#include "main_window_steps.h"
#include "test_support.h"

#include "widgets/activation.h"
#include "core/dates.h"
#include "widgets/twips.h"
#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"
#include "widgets/date_box.h"
#include "widgets/status_panels.h"
#include "widgets/window_toolbar.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QToolBar>

class TestWindowFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsLieWhereTheWindowPutsThem_data();
    void controlsLieWhereTheWindowPutsThem();
    void versionStampFailureIsTold_data();
    void versionStampFailureIsTold();
    void valueLabelsAreReadWithTheirValue_data();
    void valueLabelsAreReadWithTheirValue();
    void versionStampIsReadWithItsValue();
    void statusPanelsReadStateAndValueQuietly();
    void dateBoxHintsFitOrAreDropped();

private:
    MainWindowTest f;
    qint64 m_rossi = 0;
};

void TestWindowFrame::init()
{
    QVERIFY(f.prepare());
    m_rossi = f.db->addSubject(QStringLiteral("ROSSI MARIO"));
    f.db->addSubject(QStringLiteral("VERDI GIUSEPPE"));
    f.db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1), QStringLiteral("MARZO"),
                   QStringLiteral("1,2"));
    QVERIFY(f.start());
}

void TestWindowFrame::cleanup()
{
    QCOMPARE(f.finish(), 0);
}

void TestWindowFrame::controlsLieWhereTheWindowPutsThem_data()
{
    // Left, top, width and height in twips inside the container; -1 where the window
    // leaves the size to the control.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QList<int>>("place");
    const auto row = [](const char *name, const char *container, QList<int> place) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container) << place;
    };
    row("Frame4", "frmRegistra", {360, 960, 8415, 3495});
    row("Frame2", "frmRegistra", {0, 600, 12015, 6015});
    row("Frame3", "frmRegistra", {480, 960, 6615, 3015});
    row("Frame1", "frmRegistra", {480, 960, 6615, 2895});
    row("ListView1", "Frame4", {120, 600, 8175, 2655});
    row("Check7", "Frame4", {6000, 240, 1215, 270});
    row("Check6", "Frame4", {7440, 240, 855, 270});
    row("Label4", "Frame2", {600, 600, -1, -1});
    row("DataBox1", "Frame2", {600, 840, -1, -1});
    row("DataBox2", "Frame2", {2280, 840, -1, -1});
    row("Label7", "Frame2", {3840, 600, -1, -1});
    row("Text1", "Frame2", {3840, 840, -1, -1});
    row("Label9", "Frame2", {4800, 600, -1, -1});
    row("Text3", "Frame2", {4800, 840, -1, -1});
    row("Text2", "Frame2", {600, 1320, 9015, 945});
    row("Cmd1", "Frame2", {9960, 1320, -1, -1});
    row("Label10", "Frame2", {9960, 1800, -1, -1});
    row("DataGrid3", "Frame2", {600, 2400, -1, -1});
    row("Check3", "Frame2", {10080, 2400, -1, -1});
    row("Check4", "Frame2", {10080, 2760, -1, -1});
    row("Check5", "Frame2", {10080, 3120, -1, -1});
}

void TestWindowFrame::controlsLieWhereTheWindowPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QList<int>, place);
    QCOMPARE(f.window->size(), QSize(twipsToPixels(12120), twipsToPixels(7050)));
    auto *control = f.window->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->parentWidget()->objectName(), container);
    const QRect expected = twipsRect(place.at(0), place.at(1), place.at(2), place.at(3));
    QCOMPARE(control->pos(), expected.topLeft());
    if (place.at(2) >= 0)
        QCOMPARE(control->width(), expected.width());
    if (place.at(3) >= 0)
        QCOMPARE(control->height(), expected.height());
}

void TestWindowFrame::versionStampFailureIsTold_data()
{
    QTest::addColumn<bool>("atClose");
    QTest::newRow("shown at activation") << false;
    QTest::newRow("written at Chiudi") << true;
}

void TestWindowFrame::versionStampFailureIsTold()
{
    QFETCH(bool, atClose);
    QVERIFY(f.db->exec(QStringLiteral("ALTER TABLE Versione RENAME TO Rotta")));
    f.prompt->answer(PromptAnswer::Ok);
    if (atClose) {
        ProgramEndRecorder ended;
        QVERIFY(clickToolbar(f.window->tbTop, QStringLiteral("Chiudi")));
        QCOMPARE(ended.statuses().size(), 1);
    } else {
        activateLater(f.window.get());
        QTRY_COMPARE(f.prompt->shown().size(), 1);
        QCOMPARE(f.window->Label25->text(), QString());
    }
    QCOMPARE(f.prompt->shown().size(), 1);
    const PromptRequest &box = f.prompt->shown().at(0);
    QVERIFY2(box.text.startsWith(QLatin1String("Errore del database:")), qPrintable(box.text));
    QCOMPARE(box.icon, PromptIcon::Critical);
}

void TestWindowFrame::valueLabelsAreReadWithTheirValue_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("activateAfter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("id");
    QTest::newRow("no user chosen") << "" << false << "Utente scelto: nessuno"
                                    << "ID dell'utente scelto: nessuno";
    QTest::newRow("user chosen") << "ROSSI MARIO" << false << "Utente scelto: ROSSI MARIO"
                                 << "ID dell'utente scelto: %1";
    // Activation clears the shown name and keeps the ID until the next choice.
    QTest::newRow("activated after a choice") << "ROSSI MARIO" << true << "Utente scelto: nessuno"
                                              << "ID dell'utente scelto: %1";
}

void TestWindowFrame::valueLabelsAreReadWithTheirValue()
{
    QFETCH(QString, user);
    QFETCH(bool, activateAfter);
    QFETCH(QString, name);
    QFETCH(QString, id);
    if (!user.isEmpty())
        QVERIFY(chooseUser(*f.window, user));
    if (activateAfter) {
        f.db->addSubject(QStringLiteral("ANTONELLI ANNA"));
        activateLater(f.window.get());
        QTRY_COMPARE(f.window->Cbo1->count(), 3);
    }
    QCOMPARE(readerName(f.window->Label1), name);
    QCOMPARE(readerName(f.window->Label8), id.arg(m_rossi));
    // What is read is what is shown.
    if (!f.window->Label1->text().isEmpty())
        QVERIFY(readerName(f.window->Label1).endsWith(f.window->Label1->text()));
}

void TestWindowFrame::versionStampIsReadWithItsValue()
{
    QVERIFY(writeVersionStamp(QStringLiteral("2026-12-01T18:30:00")).ok());
    activateLater(f.window.get());
    QTRY_COMPARE(f.window->Label25->text(), QStringLiteral("01/12/2026 18:30:00"));
    QCOMPARE(readerName(f.window->Label25), QStringLiteral("Versione: 01/12/2026 18:30:00"));
    // The fixed caption beside it is read as it stands.
    QCOMPARE(readerName(f.window->Label3), QStringLiteral("Versione"));
}

void TestWindowFrame::statusPanelsReadStateAndValueQuietly()
{
    StatusPanels *bar = f.window->StatusBar1;
    QCOMPARE(readerName(bar->panel(1)), QStringLiteral("BLOC NUM non attivo"));
    QCOMPARE(readerName(bar->panel(2)), QStringLiteral("BLOC MAIUSC non attivo"));
    bar->setLockStates(true, false);
    QCOMPARE(readerName(bar->panel(1)), QStringLiteral("BLOC NUM attivo"));
    QCOMPARE(readerName(bar->panel(2)), QStringLiteral("BLOC MAIUSC non attivo"));
    QCOMPARE(readerName(bar->panel(3)), QStringLiteral("Data: ") + bar->panel(3)->text());
    QVERIFY(fromScreenDate(bar->panel(3)->text()).isValid());
    const QString time = readerName(bar->panel(4));
    QVERIFY2(
        QRegularExpression(QStringLiteral("^Ora: \\d\\d:\\d\\d:\\d\\d$")).match(time).hasMatch(),
        qPrintable(time));
    // A label that has an accessible name of its own is not announced at each new
    // text: the clock and the date keep theirs, so the reader is not told every second.
    QVERIFY(!bar->panel(4)->accessibleName().isEmpty());
    QVERIFY(!bar->panel(3)->accessibleName().isEmpty());
    // The value labels of the window have none, so each new value is announced.
    QCOMPARE(f.window->Label1->accessibleName(), QString());
    QCOMPARE(f.window->Label25->accessibleName(), QString());
}

void TestWindowFrame::dateBoxHintsFitOrAreDropped()
{
    for (DateBox *box : {f.window->DataBox1, f.window->DataBox2}) {
        const QString hint = box->placeholderText();
        // The calendar button takes a square at the right end.
        const int room = box->width() - box->height() - 6;
        QVERIFY2(hint.isEmpty() || box->fontMetrics().horizontalAdvance(hint) <= room,
                 qPrintable(box->objectName() + QLatin1String(": ") + hint));
        // The form of a date is still told, to the reader and in the tool tip.
        QCOMPARE(box->accessibleDescription(), QStringLiteral("gg/mm/aaaa"));
        QVERIFY(box->toolTip().contains(QLatin1String("gg/mm/aaaa")));
    }
}

TAVELO_TEST_MAIN(TestWindowFrame)
#include "tst_window_frame.moc"
