// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/legacy_import_offer.h"
#include "core/activation.h"
#include "core/dates.h"
#include "storage/db_connection.h"
#include "core/prompt.h"
#include "core/version.h"
#include "main_window/frm_registra.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

void setUpApplication(QApplication &app)
{
    // No display name: the window system would append it to every title.
    QApplication::setApplicationName(QStringLiteral("Tavelo"));
    QApplication::setApplicationVersion(versionNumber());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/tavelo.svg")));
    // Only "Chiudi" ends the program, even while its windows are hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    setUpLocale();

    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

std::unique_ptr<frmRegistra> Main(const QString &dataFilePath)
{
    auto window = std::make_unique<frmRegistra>();
    window->show();
    if (!offerLegacyImport(window.get(), dataFilePath)) {
        window->hide();
        return nullptr;
    }
    QString problem;
    if (!DbConnection::instance().open(dataFilePath, &problem)) {
        qCritical("%s", qPrintable(problem));
        showPrompt(window.get(), problem, QString(), PromptButtons::Ok, PromptIcon::Critical);
        window->hide();
        return nullptr;
    }
    activateLater(window.get());
    return window;
}
