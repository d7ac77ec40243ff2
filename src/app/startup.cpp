// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/legacy_import_offer.h"
#include "app/window_pair.h"
#include "core/dates.h"
#include "core/version.h"
#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"
#include "storage/db_connection.h"
#include "storage/file_check.h"
#include "storage/server_archive.h"
#include "widgets/activation.h"
#include "widgets/due_notice.h"
#include "widgets/office_style.h"
#include "widgets/prompt.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <utility>

void setUpApplication(QApplication &app)
{
    // No display name: the window system would append it to every title.
    QApplication::setApplicationName(QStringLiteral("Tavelo"));
    QApplication::setApplicationVersion(versionNumber());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/tavelo.svg")));
    // Only "Chiudi" ends the program, even while its windows are hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new OfficeStyle);

    setUpLocale();

    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

namespace {

// The file's check runs once the first window is filled. A damaged file is told as at
// start, over whichever window the operator is using, and the program ends without the
// steps of "Chiudi", which would write to the file.
void watchFileCheck(WindowPair &pair)
{
    QObject::connect(
        &FileCheck::instance(), &FileCheck::damageFound, &pair, [&pair](const QString &message) {
            qCritical("%s", qPrintable(message));
            QWidget *shown = QApplication::activeWindow();
            if (!shown)
                shown = pair.mainWindow();
            showPrompt(shown, message, QString(), PromptButtons::Ok, PromptIcon::Critical);
            for (QWidget *each : {static_cast<QWidget *>(pair.mainWindow()),
                                  static_cast<QWidget *>(pair.registryWindow())})
                if (each)
                    each->hide();
            endProgram(1);
        });
    // A check still running when the program ends is waited for while Qt's SQL is still
    // there: left to the end of the process it would outlive the connections' registry.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &pair,
                     [] { FileCheck::instance().forget(); });
}

// Runs its work once the window has drawn what the activation put in it (the filled user
// list): work started before would take the processor from that first frame. A window
// that draws nothing (minimised, covered) holds the work back no more than a second.
class AfterFirstFrame : public QObject
{
public:
    AfterFirstFrame(QWidget *window, std::function<void()> work)
        : QObject(window), m_work(std::move(work))
    {
        window->installEventFilter(this);
        QTimer::singleShot(1000, this, &AfterFirstFrame::run);
    }

protected:
    bool eventFilter(QObject *window, QEvent *event) override
    {
        // The window draws its changed controls when this event is handled. The work
        // waits a fifth of a second more: started at once, its threads took the
        // processor while the frame was still on its way to the screen, and scattered
        // the start's times.
        if (event->type() == QEvent::UpdateRequest) {
            window->removeEventFilter(this);
            QTimer::singleShot(200, this, &AfterFirstFrame::run);
        }
        return false;
    }

private:
    void run()
    {
        if (!m_work)
            return;
        const std::function<void()> work = std::exchange(m_work, nullptr);
        deleteLater();
        work();
    }

    std::function<void()> m_work;
};

} // namespace

std::unique_ptr<WindowPair> Main(const QString &dataFilePath, const QString &server)
{
    auto pair = std::make_unique<WindowPair>();
    frmRegistra *window = pair->mainWindow();
    window->show();
    if (server.isEmpty() && !offerLegacyImport(window, dataFilePath)) {
        window->hide();
        return nullptr;
    }
    const Check opened = server.isEmpty() ? DbConnection::instance().open(dataFilePath)
                                          : DbConnection::instance().openServer(server);
    if (!opened.ok()) {
        qCritical("%s", qPrintable(opened.problem));
        showPrompt(window, opened.problem, QString(), PromptButtons::Ok, PromptIcon::Critical);
        window->hide();
        return nullptr;
    }
    activateLater(window);
    watchFileCheck(*pair);
    // Both read the whole file on threads of their own, after the activation has run.
    QTimer::singleShot(0, window, [window] {
        new AfterFirstFrame(window, [] {
            FileCheck::instance().startInBackground();
            notifyDueDeadlines();
        });
    });
    return pair;
}

Outcome<ArchiveChoice> chooseArchive(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tavelo: scadenzario e anagrafica dell'ufficio."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Mostra questo aiuto."));
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("L'archivio su un server PostgreSQL, con una stringa di connessione "
                       "(\"host=… dbname=… user=…\" o \"postgresql://…\"); senza, quello "
                       "delle impostazioni (chiave «%1»), o il file dei dati.")
            .arg(serverSettingKey()),
        QStringLiteral("connessione"));
    parser.addOption(helpOption);
    parser.addOption(serverOption);
    if (!parser.parse(arguments))
        return Outcome<ArchiveChoice>::failure(parser.errorText() + QLatin1Char('\n') +
                                               parser.helpText());
    ArchiveChoice choice;
    if (parser.isSet(helpOption)) {
        choice.help = parser.helpText();
        return {choice, {}};
    }
    if (!parser.positionalArguments().isEmpty())
        return Outcome<ArchiveChoice>::failure(
            QStringLiteral("Argomenti non previsti: %1\n")
                .arg(parser.positionalArguments().join(QLatin1Char(' '))) +
            parser.helpText());
    choice.server =
        parser.isSet(serverOption) ? parser.value(serverOption).trimmed() : configuredServer();
    if (parser.isSet(serverOption) && choice.server.isEmpty())
        return Outcome<ArchiveChoice>::failure(
            QStringLiteral("--server vuole una stringa di connessione.\n"));
    choice.dataFile = DbConnection::locateDataFile();
    return {choice, {}};
}
