// SPDX-License-Identifier: GPL-3.0-or-later
// The entry panel driven as the operator drives it: modes, checks, writes.
#include "main_window_steps.h"
#include "recording_report_viewer.h"

#include "core/dates.h"
#include "widgets/twips.h"
#include "main_window/frm_registra.h"
#include "reports/report_painter.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/note_box.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

class TestEntryEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsStandWhereTheyBelong_data();
    void controlsStandWhereTheyBelong();
    void aWholeDateFitsBesideTheCalendarButton();
    void modesSetCaptionGridAndHint();
    void dueDateTickEnablesAndColoursTheBox();
    void insertChecksRefuseAndWriteNothing_data();
    void insertChecksRefuseAndWriteNothing();
    void noAtTheConfirmationWritesNothing_data();
    void noAtTheConfirmationWritesNothing();
    void insertWritesTheEntry_data();
    void insertWritesTheEntry();
    void dateOrderIsAWarningBetweenDates_data();
    void dateOrderIsAWarningBetweenDates();
    void modifyRewritesThePickedEntry_data();
    void modifyRewritesThePickedEntry();
    void modifyOfAGoneEntryEndsSilently();
    void deleteRemovesThePickedEntry();
    void deleteWithNothingToDeleteTellsAndChangesNothing_data();
    void deleteWithNothingToDeleteTellsAndChangesNothing();
    void failingWriteShowsTheErrorAndNoSuccess_data();
    void failingWriteShowsTheErrorAndNoSuccess();
    void modifyToDeleteEmptiesFieldsAndTheSameRowIsPickedAgain();
    void focusAlonePicksNoRow();
    void deleteToggleLeftOnAfterLeavingThePanel();
    void noteStaysUpperCaseWithTheCaretInPlace();
    void pastedNoteIsUpperCasedAndLineBreaksReachTheFile();
    void docNumberTakesDigitsAndCommas_data();
    void docNumberTakesDigitsAndCommas();
    void printToggleShowsTheCardAndReturnsToUserChoice();
    void enterOnTheActionButtonRunsTheAction();
    void tabWalksThePanelInOrder();

private:
    MainWindowTest t;
    qint64 m_rossi = 0;
    qint64 m_marzo = 0;
    qint64 m_febbraio = 0;

    frmRegistra &w() { return *t.window; }
    void open();
    void pick(const QString &note);
    void fillNewEntry(const QString &date, bool due, const QString &dueDate, const QString &note,
                      const QString &ndoc = QString());
    QStringList shownTexts() const;
};

void TestEntryEditing::init()
{
    QVERIFY(t.prepare());
    m_rossi = t.db->addSubject(QStringLiteral("ROSSI MARIO"));
    t.db->addSubject(QStringLiteral("VERDI GIUSEPPE"));
    m_marzo = t.db->addEntry(m_rossi, QDate(2026, 1, 10), QDate(2026, 3, 1),
                             QStringLiteral("MARZO"), QStringLiteral("1,2"));
    t.db->addEntry(m_rossi, QDate(2026, 1, 11), QDate(), QStringLiteral("SENZA SCADENZA"));
    m_febbraio = t.db->addEntry(m_rossi, QDate(2026, 1, 12), QDate(2026, 2, 1),
                                QStringLiteral("FEBBRAIO"), QStringLiteral("7"));
    QVERIFY(t.start());
}

void TestEntryEditing::cleanup()
{
    QCOMPARE(t.finish(), 0);
}

void TestEntryEditing::open()
{
    QVERIFY(openEntryPanel(w(), QStringLiteral("ROSSI MARIO")));
}

void TestEntryEditing::pick(const QString &note)
{
    const int row = gridRowOf(w().DataGrid3, note);
    QVERIFY2(row >= 0, qPrintable(note));
    clickGridRow(w().DataGrid3, row);
    QCOMPARE(w().Text2->text(), note);
}

void TestEntryEditing::fillNewEntry(const QString &date, bool due, const QString &dueDate,
                                    const QString &note, const QString &ndoc)
{
    retype(w().DataBox1, date);
    if (due != bool(w().Check2->value()))
        QTest::mouseClick(w().Check2, Qt::LeftButton);
    if (due)
        retype(w().DataBox2, dueDate);
    retype(w().Text2, note);
    retype(w().Text3, ndoc);
}

QStringList TestEntryEditing::shownTexts() const
{
    QStringList texts;
    for (const PromptRequest &box : t.prompt->shown())
        texts << box.text;
    return texts;
}

void TestEntryEditing::controlsStandWhereTheyBelong_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("Label4") << "Label4" << QRect(600, 600, 0, 0);
    QTest::newRow("DataBox1") << "DataBox1" << QRect(600, 840, 0, 0);
    QTest::newRow("Check2") << "Check2" << QRect(1800, 960, 255, 255);
    QTest::newRow("Label6") << "Label6" << QRect(2040, 600, 0, 0);
    QTest::newRow("DataBox2") << "DataBox2" << QRect(2280, 840, 0, 0);
    QTest::newRow("Label7") << "Label7" << QRect(3840, 600, 0, 0);
    QTest::newRow("Text1") << "Text1" << QRect(3840, 840, 0, 0);
    QTest::newRow("Label9") << "Label9" << QRect(4800, 600, 0, 0);
    QTest::newRow("Text3") << "Text3" << QRect(4800, 840, 0, 0);
    QTest::newRow("Text2") << "Text2" << QRect(600, 1320, 9015, 945);
    QTest::newRow("Cmd1") << "Cmd1" << QRect(9960, 1320, 0, 0);
    QTest::newRow("Label10") << "Label10" << QRect(9960, 1800, 0, 0);
    QTest::newRow("DataGrid3") << "DataGrid3" << QRect(600, 2400, 0, 0);
    QTest::newRow("Check3") << "Check3" << QRect(10080, 2400, 0, 0);
    QTest::newRow("Check4") << "Check4" << QRect(10080, 2760, 0, 0);
    QTest::newRow("Check5") << "Check5" << QRect(10080, 3120, 0, 0);
}

// Left and top in twips inside the panel; width and height where they are fixed.
void TestEntryEditing::controlsStandWhereTheyBelong()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    auto *control = w().Frame2->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->pos(), QPoint(twipsToPixels(place.x()), twipsToPixels(place.y())));
    if (place.width() > 0)
        QCOMPARE(control->size(),
                 QSize(twipsToPixels(place.width()), twipsToPixels(place.height())));
    // No control of the panel lies over another.
    for (QWidget *other : w().Frame2->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (other != control && !other->objectName().isEmpty())
            QVERIFY2(!other->geometry().intersects(control->geometry()),
                     qPrintable(name + QLatin1String(" covers ") + other->objectName()));
}

void TestEntryEditing::aWholeDateFitsBesideTheCalendarButton()
{
    for (DateBox *box : {w().DataBox1, w().DataBox2}) {
        box->setEnabled(true);
        box->setText(QStringLiteral("28/12/2026"));
        const QList<QToolButton *> buttons = box->findChildren<QToolButton *>();
        QCOMPARE(buttons.size(), 1);
        box->end(false);
        const int textEnd = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().right();
        QVERIFY2(textEnd <= buttons.at(0)->geometry().left(),
                 qPrintable(QStringLiteral("%1: text to %2, button from %3")
                                .arg(box->objectName())
                                .arg(textEnd)
                                .arg(buttons.at(0)->geometry().left())));
        // The slim button still opens the calendar on the box's date.
        QTest::mouseClick(buttons.at(0), Qt::LeftButton);
        auto *calendar = box->findChild<QCalendarWidget *>();
        QVERIFY(calendar);
        QTRY_VERIFY(calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2026, 12, 28));
        calendar->window()->hide();
    }
}

void TestEntryEditing::modesSetCaptionGridAndHint()
{
    open();
    frmRegistra &f = w();
    const QColor pickable(255, 255, 192);
    QTest::mouseClick(f.Check3, Qt::LeftButton);
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Modifica"));
    QVERIFY(f.DataGrid3->isEnabled());
    QCOMPARE(f.DataGrid3->backgroundColor(), pickable);
    QVERIFY(f.Label10->isVisible());
    QTest::mouseClick(f.Check4, Qt::LeftButton);
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Elimina"));
    QCOMPARE(f.Check3->value(), 0);
    QVERIFY(f.Label10->isVisible());
    QCOMPARE(f.DataGrid3->backgroundColor(), pickable);
    QTest::mouseClick(f.Check4, Qt::LeftButton);
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Inserisci"));
    QVERIFY(!f.DataGrid3->isEnabled());
    QCOMPARE(f.DataGrid3->backgroundColor(), QColor(255, 255, 255));
    QVERIFY(f.Label10->isHidden());
}

void TestEntryEditing::dueDateTickEnablesAndColoursTheBox()
{
    open();
    frmRegistra &f = w();
    QTest::mouseClick(f.Check3, Qt::LeftButton);
    QTest::mouseClick(f.Check2, Qt::LeftButton);
    QVERIFY(f.DataBox2->isEnabled());
    QCOMPARE(f.DataBox2->backgroundColor(), QColor(255, 255, 128));
    QCOMPARE(QApplication::focusWidget(), f.DataBox2);
    f.DataBox2->setText(QStringLiteral("01/05/2026"));
    QTest::mouseClick(f.Check2, Qt::LeftButton);
    QVERIFY(!f.DataBox2->isEnabled());
    QCOMPARE(f.DataBox2->text(), QString());
    QCOMPARE(f.DataBox2->backgroundColor(), f.palette().color(QPalette::Window));
    // Unticking whitens the grid, even while Modify mode keeps it enabled.
    QCOMPARE(f.DataGrid3->backgroundColor(), QColor(255, 255, 255));
    QVERIFY(f.DataGrid3->isEnabled());
}

void TestEntryEditing::insertChecksRefuseAndWriteNothing_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("due");
    QTest::addColumn<QString>("dueDate");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("focus");
    const QString data = QStringLiteral("ERRORE - DATA ");
    const QString scad = QStringLiteral("ERRORE - SCADENZA ");
    QTest::newRow("date of blanks") << "   " << false << ""
                                    << "NOTA"
                                    << "Inserire LA DATA" << data << "DataBox1";
    for (const char *bad : {"31/02/2026", "abc", "12/2026", "15/01/26"})
        QTest::newRow(bad) << bad << false << ""
                           << "NOTA" << QStringLiteral("Data: «%1» non è una data valida").arg(bad)
                           << data << "DataBox1";
    QTest::newRow("ticked, no due date") << "10/01/2026" << true << ""
                                         << "NOTA"
                                         << "Inserire la SCADENZA" << scad << "DataBox2";
    QTest::newRow("due date no date")
        << "10/01/2026" << true << "30/13/2026"
        << "NOTA"
        << "Avviso/ Scadenza: «30/13/2026» non è una data valida" << scad << "DataBox2";
    QTest::newRow("empty note") << "10/01/2026" << false << ""
                                << ""
                                << "Inserire la NOTA"
                                << "ERRORE - NOTA "
                                << "Text2";
}

void TestEntryEditing::insertChecksRefuseAndWriteNothing()
{
    QFETCH(QString, date);
    QFETCH(bool, due);
    QFETCH(QString, dueDate);
    QFETCH(QString, note);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QString, focus);
    open();
    fillNewEntry(date, due, dueDate, note, QStringLiteral("4"));
    t.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(w().Cmd1, Qt::LeftButton);
    QCOMPARE(t.prompt->shown().size(), 1);
    const PromptRequest box = t.prompt->shown().at(0);
    QVERIFY2(box.text.startsWith(message), qPrintable(box.text));
    QCOMPARE(box.title, title);
    QCOMPARE(box.icon, PromptIcon::Critical);
    QCOMPARE(box.buttons, PromptButtons::Ok);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(t.db->count(QStringLiteral("Tavelo")), 3);
    QCOMPARE(w().DataBox1->text(), date);
    QCOMPARE(w().Text2->text(), note);
    QCOMPARE(w().Text3->text(), QStringLiteral("4"));
    QCOMPARE(w().Check2->value(), due ? 1 : 0);
}

void TestEntryEditing::noAtTheConfirmationWritesNothing_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("question");
    QTest::newRow("insert") << ""
                            << "Vuoi Inserire questi dati ?";
    QTest::newRow("modify") << "Check3"
                            << "Vuoi Modificare questi dati ?";
    QTest::newRow("delete") << "Check4"
                            << "Vuoi Eliminare questi dati ?";
}

void TestEntryEditing::noAtTheConfirmationWritesNothing()
{
    QFETCH(QString, mode);
    QFETCH(QString, question);
    open();
    if (!mode.isEmpty()) {
        QTest::mouseClick(w().Frame2->findChild<ToggleButton *>(mode), Qt::LeftButton);
        pick(QStringLiteral("FEBBRAIO"));
    }
    retype(w().Text2, QStringLiteral("CAMBIATA"));
    const QString caption = w().Cmd1->text();
    const QVariantMap before = storedEntry(m_febbraio);
    t.prompt->answer(PromptAnswer::No);
    QTest::mouseClick(w().Cmd1, Qt::LeftButton);
    QCOMPARE(shownTexts(), QStringList({question}));
    QCOMPARE(t.prompt->shown().at(0).buttons, PromptButtons::YesNo);
    QCOMPARE(t.prompt->shown().at(0).icon, PromptIcon::None);
    QCOMPARE(t.db->count(QStringLiteral("Tavelo")), 3);
    QCOMPARE(storedEntry(m_febbraio), before);
    QCOMPARE(w().Text2->text(), QStringLiteral("CAMBIATA"));
    QCOMPARE(w().Cmd1->text(), caption);
}

void TestEntryEditing::insertWritesTheEntry_data()
{
    QTest::addColumn<bool>("due");
    QTest::addColumn<QString>("note");
    QTest::newRow("with due date") << true << "RINNOVO PATENTE";
    QTest::newRow("without due date") << false << "RIGA UNO\nRIGA DUE";
}

void TestEntryEditing::insertWritesTheEntry()
{
    const QDate before = QDate::currentDate();
    QFETCH(bool, due);
    QFETCH(QString, note);
    open();
    fillNewEntry(QStringLiteral("5/3/2026"), due, QStringLiteral("20/04/2026"), note,
                 QStringLiteral("12,5"));
    t.prompt->answer(PromptAnswer::Yes);
    t.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(w().Cmd1, Qt::LeftButton);
    QCOMPARE(shownTexts(), QStringList({"Vuoi Inserire questi dati ?",
                                        "L' inserimento è avvenuto con successo !"}));
    QCOMPARE(t.prompt->shown().at(0).title, QStringLiteral("Tavelo - INSERIMENTO"));
    QCOMPARE(t.prompt->shown().at(1).title, QString());
    QCOMPARE(t.prompt->shown().at(1).icon, PromptIcon::Information);

    QCOMPARE(t.db->count(QStringLiteral("Tavelo")), 4);
    const QVariantMap row = storedEntry(lastEntryId());
    QCOMPARE(row.value(QStringLiteral("data")).toString(), QStringLiteral("2026-03-05"));
    QCOMPARE(row.value(QStringLiteral("scadenza")).isNull(), !due);
    if (due)
        QCOMPARE(row.value(QStringLiteral("scadenza")).toString(), QStringLiteral("2026-04-20"));
    QCOMPARE(row.value(QStringLiteral("Oggetto")).toString(), note);
    QCOMPARE(row.value(QStringLiteral("ndoc")).toString(), QStringLiteral("12,5"));
    QCOMPARE(row.value(QStringLiteral("Utente")).toLongLong(), m_rossi);
    QVERIFY(isTodaySince(
        QDate::fromString(row.value(QStringLiteral("AGG")).toString(), Qt::ISODate), before));

    // Ready for the next entry, and the grid shows the new one.
    frmRegistra &f = w();
    QCOMPARE(f.DataBox1->text(), todayScreenDate());
    QCOMPARE(f.DataBox2->text(), QString());
    QVERIFY(!f.DataBox2->isEnabled());
    QCOMPARE(f.Text2->text(), QString());
    QCOMPARE(f.Text3->text(), QString());
    QCOMPARE(f.Check2->value(), 0);
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Inserisci"));
    QCOMPARE(f.DataGrid3->model()->rowCount(), 4);
    QVERIFY(gridRowOf(f.DataGrid3, note) >= 0);
    // The reloaded grid keeps its column settings.
    QVERIFY(f.DataGrid3->isColumnHidden(0));
    QVERIFY(f.DataGrid3->isColumnHidden(5));
    QVERIFY(!f.DataGrid3->isColumnHidden(6));
    QCOMPARE(f.DataGrid3->columnWidth(3), twipsToPixels(4500));
}

void TestEntryEditing::dateOrderIsAWarningBetweenDates_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("dueDate");
    QTest::addColumn<bool>("warned");
    QTest::newRow("a day before") << "10/01/2026"
                                  << "09/01/2026" << true;
    QTest::newRow("same day") << "10/01/2026"
                              << "10/01/2026" << false;
    QTest::newRow("later, earlier as text") << "15/01/2013"
                                            << "02/02/2013" << false;
    QTest::newRow("earlier year, later as text") << "01/01/2014"
                                                 << "31/12/2013" << true;
}

void TestEntryEditing::dateOrderIsAWarningBetweenDates()
{
    QFETCH(QString, date);
    QFETCH(QString, dueDate);
    QFETCH(bool, warned);
    open();
    fillNewEntry(date, true, dueDate, QStringLiteral("ORDINE"));
    if (warned)
        t.prompt->answer(PromptAnswer::Ok);
    t.prompt->answer(PromptAnswer::Yes);
    t.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(w().Cmd1, Qt::LeftButton);
    QStringList expected = {"Vuoi Inserire questi dati ?",
                            "L' inserimento è avvenuto con successo !"};
    if (warned) {
        expected.prepend(QStringLiteral(
            "Attenzione la  data di scadenza è inferiore alla data di inserimento "));
        QCOMPARE(t.prompt->shown().at(0).title, QStringLiteral("ERRORE - SCADENZA "));
        QCOMPARE(t.prompt->shown().at(0).icon, PromptIcon::Critical);
    }
    QCOMPARE(shownTexts(), expected);
    QCOMPARE(storedEntry(lastEntryId()).value(QStringLiteral("scadenza")).toString(),
             toStoredDate(fromScreenDate(dueDate)));
}

void TestEntryEditing::modifyRewritesThePickedEntry_data()
{
    QTest::addColumn<bool>("keepTick");
    QTest::newRow("due date kept") << true;
    QTest::newRow("due date taken away") << false;
}

void TestEntryEditing::modifyRewritesThePickedEntry()
{
    const QDate before = QDate::currentDate();
    QFETCH(bool, keepTick);
    open();
    frmRegistra &f = w();
    QTest::mouseClick(f.Check3, Qt::LeftButton);
    pick(QStringLiteral("FEBBRAIO"));
    QCOMPARE(f.Text1->text(), QString::number(m_febbraio));
    if (keepTick)
        retype(f.DataBox2, QStringLiteral("15/02/2026"));
    else
        QTest::mouseClick(f.Check2, Qt::LeftButton);
    retype(f.Text2, QStringLiteral("FEBBRAIO RINVIATO"));
    t.prompt->answer(PromptAnswer::Yes);
    t.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(f.Cmd1, Qt::LeftButton);
    QCOMPARE(shownTexts(), QStringList({"Vuoi Modificare questi dati ?",
                                        "L' Aggiornamento è avvenuto con successo !"}));
    QCOMPARE(t.prompt->shown().at(0).title, QStringLiteral("Tavelo - INSERIMENTO"));
    QCOMPARE(t.prompt->shown().at(1).title, QString());
    const QVariantMap row = storedEntry(m_febbraio);
    QCOMPARE(row.value(QStringLiteral("Oggetto")).toString(), QStringLiteral("FEBBRAIO RINVIATO"));
    QCOMPARE(row.value(QStringLiteral("data")).toString(), QStringLiteral("2026-01-12"));
    QCOMPARE(row.value(QStringLiteral("scadenza")).isNull(), !keepTick);
    if (keepTick)
        QCOMPARE(row.value(QStringLiteral("scadenza")).toString(), QStringLiteral("2026-02-15"));
    QCOMPARE(row.value(QStringLiteral("ndoc")).toString(), QStringLiteral("7"));
    QVERIFY(isTodaySince(
        QDate::fromString(row.value(QStringLiteral("AGG")).toString(), Qt::ISODate), before));
    QCOMPARE(t.db->count(QStringLiteral("Tavelo")), 3);
    // Back in Insert mode with empty fields.
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Inserisci"));
    QCOMPARE(f.Check3->value(), 0);
    QVERIFY(!f.DataGrid3->isEnabled());
    QVERIFY(f.Label10->isHidden());
    QCOMPARE(f.Text1->text(), QString());
    QCOMPARE(f.Text2->text(), QString());
    QVERIFY(gridRowOf(f.DataGrid3, QStringLiteral("FEBBRAIO RINVIATO")) >= 0);
}

void TestEntryEditing::modifyOfAGoneEntryEndsSilently()
{
    open();
    QTest::mouseClick(w().Check3, Qt::LeftButton);
    pick(QStringLiteral("FEBBRAIO"));
    QVERIFY(deleteDiaryEntry(m_febbraio).ok());
    retype(w().Text2, QStringLiteral("NON C'È PIÙ"));
    t.prompt->answer(PromptAnswer::Yes);
    QTest::mouseClick(w().Cmd1, Qt::LeftButton);
    QCOMPARE(shownTexts(), QStringList({"Vuoi Modificare questi dati ?"}));
    QCOMPARE(t.db->count(QStringLiteral("Tavelo")), 2);
    QCOMPARE(w().Cmd1->text(), QStringLiteral("Modifica"));
    QCOMPARE(w().Text2->text(), QStringLiteral("NON C'È PIÙ"));
}

void TestEntryEditing::deleteRemovesThePickedEntry()
{
    open();
    frmRegistra &f = w();
    QTest::mouseClick(f.Check4, Qt::LeftButton);
    pick(QStringLiteral("MARZO"));
    t.prompt->answer(PromptAnswer::Yes);
    t.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(f.Cmd1, Qt::LeftButton);
    QCOMPARE(shownTexts(), QStringList({"Vuoi Eliminare questi dati ?",
                                        "L' eliminazione è avvenuta con successo !"}));
    QCOMPARE(t.prompt->shown().at(0).title, QStringLiteral("Tavelo - ELIMINA"));
    QCOMPARE(t.prompt->shown().at(1).title, QStringLiteral(" Tavelo -Eliminazione"));
    QCOMPARE(t.prompt->shown().at(1).icon, PromptIcon::Information);
    QVERIFY(storedEntry(m_marzo).isEmpty());
    QCOMPARE(t.db->count(QStringLiteral("Tavelo")), 2);
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Inserisci"));
    QCOMPARE(f.Check4->value(), 0);
    QCOMPARE(f.Text1->text(), QString());
    QCOMPARE(gridRowOf(f.DataGrid3, QStringLiteral("MARZO")), -1);
    QCOMPARE(f.DataGrid3->model()->rowCount(), 2);
}

void TestEntryEditing::deleteWithNothingToDeleteTellsAndChangesNothing_data()
{
    QTest::addColumn<bool>("picked");
    QTest::addColumn<QString>("notice");
    QTest::newRow("no row picked") << false
                                   << "Nessuna registrazione scelta: selezionare nella griglia "
                                      "la riga da eliminare.";
    QTest::newRow("entry gone meanwhile")
        << true << "La registrazione scelta non esiste più: non è stato eliminato nulla.";
}

void TestEntryEditing::deleteWithNothingToDeleteTellsAndChangesNothing()
{
    QFETCH(bool, picked);
    QFETCH(QString, notice);
    open();
    QTest::mouseClick(w().Check4, Qt::LeftButton);
    if (picked) {
        pick(QStringLiteral("MARZO"));
        QVERIFY(deleteDiaryEntry(m_marzo).ok());
        t.prompt->answer(PromptAnswer::Yes);
    }
    t.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(w().Cmd1, Qt::LeftButton);
    QCOMPARE(t.prompt->shown().last().text, notice);
    QCOMPARE(t.prompt->shown().last().icon, PromptIcon::Information);
    QVERIFY(!shownTexts().contains(QStringLiteral("L' eliminazione è avvenuta con successo !")));
    QCOMPARE(t.db->count(QStringLiteral("Tavelo")), picked ? 2 : 3);
    QCOMPARE(w().Cmd1->text(), QStringLiteral("Elimina"));
    QCOMPARE(w().Check4->value(), 1);
}

void TestEntryEditing::failingWriteShowsTheErrorAndNoSuccess_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("event");
    QTest::newRow("insert") << ""
                            << "INSERT";
    QTest::newRow("modify") << "Check3"
                            << "UPDATE";
    QTest::newRow("delete") << "Check4"
                            << "DELETE";
}

// The file refuses the write (as a full disk or a locked file would): the operator is
// told, no success follows, the fields keep what was typed and the file is unchanged.
void TestEntryEditing::failingWriteShowsTheErrorAndNoSuccess()
{
    QFETCH(QString, mode);
    QFETCH(QString, event);
    open();
    if (!mode.isEmpty()) {
        QTest::mouseClick(w().Frame2->findChild<ToggleButton *>(mode), Qt::LeftButton);
        pick(QStringLiteral("FEBBRAIO"));
    }
    retype(w().Text2, QStringLiteral("DA SCRIVERE"));
    QVERIFY(
        t.db->refuseWrites(QStringLiteral("Tavelo"), event, QStringLiteral("scrittura rifiutata")));
    const QVariantMap before = storedEntry(m_febbraio);
    t.prompt->answer(PromptAnswer::Yes);
    t.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(w().Cmd1, Qt::LeftButton);
    QCOMPARE(t.prompt->shown().size(), 2);
    const PromptRequest error = t.prompt->shown().at(1);
    QVERIFY2(error.text.startsWith(QLatin1String("Errore del database:")), qPrintable(error.text));
    QVERIFY2(error.text.contains(QLatin1String("scrittura rifiutata")), qPrintable(error.text));
    QCOMPARE(error.icon, PromptIcon::Critical);
    QCOMPARE(t.db->count(QStringLiteral("Tavelo")), 3);
    QCOMPARE(storedEntry(m_febbraio), before);
    QCOMPARE(w().Text2->text(), QStringLiteral("DA SCRIVERE"));
    QCOMPARE(w().Text1->text(), mode.isEmpty() ? QString() : QString::number(m_febbraio));
}

void TestEntryEditing::modifyToDeleteEmptiesFieldsAndTheSameRowIsPickedAgain()
{
    open();
    frmRegistra &f = w();
    QTest::mouseClick(f.Check3, Qt::LeftButton);
    pick(QStringLiteral("FEBBRAIO"));
    QTest::mouseClick(f.Check4, Qt::LeftButton);
    QCOMPARE(f.Check3->value(), 0);
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Elimina"));
    QCOMPARE(f.Text1->text(), QString());
    QCOMPARE(f.Text2->text(), QString());
    QCOMPARE(f.DataBox1->text(), todayScreenDate());
    QCOMPARE(f.Check2->value(), 0);
    // The row that is still the current one is picked again by a click.
    pick(QStringLiteral("FEBBRAIO"));
    QCOMPARE(f.Text1->text(), QString::number(m_febbraio));
    QCOMPARE(f.DataBox2->text(), QStringLiteral("01/02/2026"));
}

void TestEntryEditing::focusAlonePicksNoRow()
{
    open();
    frmRegistra &f = w();
    QTest::mouseClick(f.Check3, Qt::LeftButton);
    f.Cmd1->setFocus();
    QTest::keyClick(f.Cmd1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.DataGrid3);
    QCOMPARE(f.Text1->text(), QString());
    QCOMPARE(f.Text2->text(), QString());
    // Down moves without picking; Space picks the row reached.
    QTest::keyClick(f.DataGrid3->viewport(), Qt::Key_Down);
    QCOMPARE(f.Text2->text(), QString());
    QTest::keyClick(f.DataGrid3->viewport(), Qt::Key_Space);
    QCOMPARE(f.Text2->text(), f.DataGrid3->currentRowText(3));
    QVERIFY(!f.Text1->text().isEmpty());
}

void TestEntryEditing::deleteToggleLeftOnAfterLeavingThePanel()
{
    open();
    frmRegistra &f = w();
    QTest::mouseClick(f.Check4, Qt::LeftButton);
    QTest::mouseClick(f.Image3, Qt::LeftButton);
    QVERIFY(f.Frame1->isVisible());
    QTest::mouseClick(f.Check1, Qt::LeftButton);
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Inserisci"));
    QCOMPARE(f.Check4->value(), 1);
    QVERIFY(!f.DataGrid3->isEnabled());
    QTest::mouseClick(f.Check4, Qt::LeftButton);
    QCOMPARE(f.Check4->value(), 0);
    QCOMPARE(f.Cmd1->text(), QStringLiteral("Inserisci"));
}

void TestEntryEditing::noteStaysUpperCaseWithTheCaretInPlace()
{
    open();
    NoteBox *note = w().Text2;
    note->setFocus();
    QTest::keyClicks(note, QStringLiteral("xy"));
    QCOMPARE(note->text(), QStringLiteral("XY"));
    QTest::keyClick(note, Qt::Key_Left);
    QTest::keyClicks(note, QStringLiteral("a"));
    QCOMPARE(note->text(), QStringLiteral("XAY"));
    QCOMPARE(note->cursorPosition(), 2);
    QTest::keyClick(note, Qt::Key_End);
    typeText(note, QStringLiteral(" però città"));
    QCOMPARE(note->text(), QStringLiteral("XAY PERÒ CITTÀ"));
}

void TestEntryEditing::pastedNoteIsUpperCasedAndLineBreaksReachTheFile()
{
    open();
    NoteBox *note = w().Text2;
    note->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("prima riga\nseconda è più lunga"));
    QTest::keyClick(note, Qt::Key_V, Qt::ControlModifier);
    const QString expected = QStringLiteral("PRIMA RIGA\nSECONDA È PIÙ LUNGA");
    QCOMPARE(note->text(), expected);
    QCOMPARE(note->cursorPosition(), int(expected.size()));
    t.prompt->answer(PromptAnswer::Yes);
    t.prompt->answer(PromptAnswer::Ok);
    QTest::mouseClick(w().Cmd1, Qt::LeftButton);
    QCOMPARE(storedEntry(lastEntryId()).value(QStringLiteral("Oggetto")).toString(), expected);
}

void TestEntryEditing::docNumberTakesDigitsAndCommas_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("full stop becomes comma") << "1.5a"
                                             << "1,5";
    QTest::newRow("digits and commas") << "12,30,7"
                                       << "12,30,7";
    QTest::newRow("letters and blanks dropped") << "n. 4 b"
                                                << ",4";
    QTest::newRow("signs dropped") << "-3/+2"
                                   << "32";
}

void TestEntryEditing::docNumberTakesDigitsAndCommas()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    open();
    QLineEdit *doc = w().Text3;
    doc->setFocus();
    QTest::keyClicks(doc, typed);
    QCOMPARE(doc->text(), kept);
    QTest::keyClick(doc, Qt::Key_Backspace);
    kept.chop(1);
    QCOMPARE(doc->text(), kept);
    QApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::keyClick(doc, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(doc->text(), kept);
}

void TestEntryEditing::printToggleShowsTheCardAndReturnsToUserChoice()
{
    RecordingReportViewerScope scope;
    open();
    frmRegistra &f = w();
    QTest::mouseClick(f.Check3, Qt::LeftButton);
    pick(QStringLiteral("MARZO"));
    QString modeWhileShown;
    int toggleWhileShown = -1;
    scope.viewer().whileShown = [&](const ReportDocument &, QWidget *) {
        modeWhileShown = f.Cmd1->text();
        toggleWhileShown = f.Check5->value();
    };
    QTest::mouseClick(f.Check5, Qt::LeftButton);
    QCOMPARE(scope.viewer().documents().size(), 1);
    QCOMPARE(scope.viewer().documents().at(0).name, QStringLiteral("Scheda"));
    QCOMPARE(modeWhileShown, QStringLiteral("Inserisci"));
    QCOMPARE(toggleWhileShown, 1);
    QCOMPARE(f.Check3->value(), 0);
    QCOMPARE(f.Check5->value(), 0);
    QTRY_VERIFY(f.Frame3->isVisible());
    QVERIFY(!f.Frame2->isVisible());
    QCOMPARE(f.Label8->text(), QString::number(m_rossi));
    QCOMPARE(f.Label1->text(), QString());
}

void TestEntryEditing::enterOnTheActionButtonRunsTheAction()
{
    open();
    retype(w().Text2, QStringLiteral("CON INVIO"));
    w().Cmd1->setFocus();
    t.prompt->answer(PromptAnswer::No);
    QTest::keyClick(w().Cmd1, Qt::Key_Return);
    QCOMPARE(shownTexts(), QStringList({"Vuoi Inserire questi dati ?"}));
}

void TestEntryEditing::tabWalksThePanelInOrder()
{
    open();
    frmRegistra &f = w();
    QTest::mouseClick(f.Check2, Qt::LeftButton);
    QTest::mouseClick(f.Check3, Qt::LeftButton);
    const QList<QWidget *> order = {static_cast<QWidget *>(f.DataBox1),
                                    f.Check2,
                                    f.DataBox2,
                                    f.Text1,
                                    f.Text3,
                                    f.Text2,
                                    f.Cmd1,
                                    f.DataGrid3,
                                    f.Check3,
                                    f.Check4,
                                    f.Check5,
                                    f.Image3};
    order.first()->setFocus();
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), order.at(i));
    }
    QCOMPARE(f.Label4->buddy(), f.DataBox1);
    QCOMPARE(f.Label6->buddy(), f.DataBox2);
    QCOMPARE(f.Label9->buddy(), f.Text3);
    QCOMPARE(f.Label7->buddy(), f.Text1);
    QCOMPARE(f.Text2->accessibleName(), QStringLiteral("Oggetto"));
}

TAVELO_TEST_MAIN(TestEntryEditing)
#include "tst_entry_editing.moc"
