// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the pictures of the user guide from the program's own windows, on a small
// sample archive, at build time: the guide always shows the windows as they are.
// Usage: make_pictures <folder>
#include "app/window_pair.h"
#include "calendar/repeat_rule.h"
#include "core/dates.h"
#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/prompt.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <cstdio>

namespace {

// The guide shows the windows, not message boxes: every question is answered No.
class QuietPrompt : public Prompt
{
public:
    PromptAnswer ask(QWidget *, const PromptRequest &request) override
    {
        return request.buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
};

bool fillSampleArchive()
{
    struct Person
    {
        const char *name;
        const char *code;
        bool user;
    };
    const Person people[] = {
        {"BIANCHI ANNA", "BNCNNA80A41H501U", true},
        {"ROSSI MARIO", "RSSMRA75C12F205X", true},
        {"STUDIO VERDI S.R.L.", "01234560789", false},
        {"ESPOSITO LUCA", "SPSLCU68M03F839K", true},
    };
    qint64 rossi = 0;
    for (const Person &person : people) {
        Subject subject;
        subject.soggetto = QString::fromUtf8(person.name);
        subject.codice = QString::fromLatin1(person.code);
        subject.utente = person.user ? QStringLiteral("S") : QStringLiteral("N");
        subject.comune = QStringLiteral("MILANO");
        const Result<qint64> id = insertSubject(subject);
        if (!id.ok())
            return false;
        if (subject.soggetto == QLatin1String("ROSSI MARIO"))
            rossi = id.value;
    }
    const QDate today = QDate::currentDate();
    const struct
    {
        int enteredDaysAgo;
        int dueInDays; // 0: no due date
        const char *note;
        const char *doc;
        bool monthly;
        bool closed;
    } entries[] = {
        {30, 12, "RINNOVO ASSICURAZIONE AUTO", "118", false, false},
        {20, 40, "DICHIARAZIONE DEI REDDITI: PORTARE LE RICEVUTE", "27,3", false, false},
        {10, 0, "TELEFONARE AL COMMERCIALISTA", "", false, false},
        {5, 75, "SCADENZA CONTRATTO D'AFFITTO", "4", false, false},
        {25, 20, "VERSAMENTO IVA MENSILE", "", true, true},
        {0, 50, "VERSAMENTO IVA MENSILE", "", true, false},
    };
    // The same day of the month for both payments, as a monthly rule keeps it.
    const QDate firstPayment = today.addDays(20);
    for (const auto &e : entries) {
        DiaryEntry entry;
        entry.data = today.addDays(-e.enteredDaysAgo);
        entry.scadenza = e.dueInDays ? today.addDays(e.dueInDays) : QDate();
        if (e.monthly) {
            entry.scadenza = e.closed ? firstPayment : firstPayment.addMonths(1);
            entry.ripeti = repeatRule(Repeat::Monthly, firstPayment);
        }
        entry.oggetto = QString::fromUtf8(e.note);
        entry.ndoc = QString::fromUtf8(e.doc);
        entry.utente = rossi;
        entry.agg = today;
        const Result<qint64> written = insertDiaryEntry(entry);
        entry.id = written.value;
        if (!written.ok() ||
            (e.closed && closePickedDiaryEntry(entry, today, std::nullopt).rowsAffected != 1))
            return false;
    }
    return true;
}

class PictureTaker
{
public:
    explicit PictureTaker(const QString &folder) : m_folder(folder) {}

    bool ok() const { return m_ok; }

    void take(QWidget *window, const QString &name)
    {
        settle();
        const QString path = m_folder.filePath(name + QLatin1String(".png"));
        if (!window->grab().save(path)) {
            std::fprintf(stderr, "make_pictures: %s non si scrive\n", qPrintable(path));
            m_ok = false;
        }
    }

    // Finds a control by its name, as the operator finds it by its caption.
    template <typename T> T *control(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found) {
            std::fprintf(stderr, "make_pictures: manca il controllo %s\n", name);
            m_ok = false;
        }
        return found;
    }

    void click(QWidget *window, const char *name)
    {
        if (QWidget *target = control<QWidget>(window, name)) {
            QTest::mouseClick(target, Qt::LeftButton);
            settle();
        }
    }

    // A click on a row of a grid, as the operator picks it.
    void clickRow(QWidget *window, const char *name, int row)
    {
        auto *grid = control<QAbstractItemView>(window, name);
        if (!grid || !grid->model() || grid->model()->rowCount() <= row) {
            std::fprintf(stderr, "make_pictures: la tabella %s non ha la riga %d\n", name, row);
            m_ok = false;
            return;
        }
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        settle();
    }

    void type(QWidget *window, const char *name, const QString &text)
    {
        if (QWidget *box = control<QWidget>(window, name)) {
            box->setFocus();
            QTest::keyClicks(box, text);
            settle();
        }
    }

    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

private:
    QDir m_folder;
    bool m_ok = true;
};

void chooseUser(PictureTaker &pictures, frmRegistra &window, const QString &name)
{
    auto *list = pictures.control<QComboBox>(&window, "Cbo1");
    if (!list)
        return;
    list->setCurrentIndex(list->findText(name));
    emit list->activated(list->currentIndex());
    PictureTaker::settle();
}

void takeDiaryPictures(PictureTaker &pictures, frmRegistra &window)
{
    chooseUser(pictures, window, QStringLiteral("ROSSI MARIO"));
    pictures.take(&window, QStringLiteral("scelta-utente"));

    pictures.click(&window, "Image2");
    pictures.take(&window, QStringLiteral("menu-diario"));

    pictures.click(&window, "Check1");
    pictures.type(&window, "Text2", QStringLiteral("versare l'acconto IMU"));
    pictures.type(&window, "Text3", QStringLiteral("12"));
    pictures.click(&window, "Check2");
    pictures.type(&window, "DataBox2", toScreenDate(QDate::currentDate().addDays(20)));
    pictures.take(&window, QStringLiteral("registrazione-inserisci"));

    pictures.click(&window, "Image3");
    pictures.click(&window, "Check1");
    pictures.click(&window, "Check3");
    pictures.clickRow(&window, "DataGrid3", 1);
    pictures.take(&window, QStringLiteral("registrazione-modifica"));

    pictures.clickRow(&window, "DataGrid3", 4);
    pictures.take(&window, QStringLiteral("registrazione-ripeti"));

    pictures.click(&window, "Check4");
    pictures.clickRow(&window, "DataGrid3", 3);
    pictures.take(&window, QStringLiteral("registrazione-elimina"));

    pictures.click(&window, "Check4");
    pictures.click(&window, "Image3");
    pictures.click(&window, "Image4");
    pictures.click(&window, "Command2");
    pictures.take(&window, QStringLiteral("scadenze"));
    pictures.click(&window, "Check6");
}

void takeRegistryPictures(PictureTaker &pictures, WindowPair &windows)
{
    for (QAction *action : pictures.control<QToolBar>(windows.mainWindow(), "tbTop")->actions())
        if (action->text() == QLatin1String("Anagrafica"))
            action->trigger();
    PictureTaker::settle();
    frmAnagrafe *window = windows.registryWindow();
    if (!window) {
        std::fprintf(stderr, "make_pictures: l'anagrafica non si apre\n");
        return;
    }
    pictures.take(window, QStringLiteral("anagrafica-avvio"));

    pictures.click(window, "Check7");
    pictures.take(window, QStringLiteral("anagrafica-menu"));

    pictures.click(window, "Check6");
    pictures.type(window, "Text55", QStringLiteral("vrdlgu80a01f205z"));
    pictures.take(window, QStringLiteral("anagrafica-controllo"));

    pictures.click(window, "Cmd3");
    pictures.type(window, "Text2", QStringLiteral("Verdi Luigi"));
    pictures.type(window, "Text3", QStringLiteral("Via Roma 12"));
    pictures.type(window, "Text4", QStringLiteral("Milano"));
    pictures.take(window, QStringLiteral("anagrafica-inserimento"));

    pictures.click(window, "Check8");
    pictures.click(window, "Check7");
    pictures.click(window, "Check2");
    pictures.take(window, QStringLiteral("anagrafica-elenco"));

    pictures.clickRow(window, "Datagrid1", 1);
    pictures.take(window, QStringLiteral("anagrafica-modifica"));
}

void takeWindowPictures(PictureTaker &pictures)
{
    WindowPair windows;
    frmRegistra &window = *windows.mainWindow();
    window.show();
    activateLater(&window);
    PictureTaker::settle();
    takeDiaryPictures(pictures, window);
    takeRegistryPictures(pictures, windows);
}

} // namespace

int main(int argc, char *argv[])
{
    // A private home: the program places its desktop launcher at every start.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpLocale();
    if (argc != 2) {
        std::fprintf(stderr, "uso: make_pictures <cartella>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    Prompt::install(std::make_unique<QuietPrompt>());
    const Check opened = DbConnection::instance().open(home.filePath(DbConnection::dataFileName()));
    if (!opened.ok() || !fillSampleArchive()) {
        std::fprintf(stderr, "make_pictures: archivio di prova: %s\n", qPrintable(opened.problem));
        return 1;
    }
    PictureTaker pictures(folder);
    takeWindowPictures(pictures);
    DbConnection::instance().close();
    return pictures.ok() ? 0 : 1;
}
