// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's frame: load, activation, close, toolbar, panel navigation, the
// version stamp and the web link.
#include "main_window/frm_registra.h"

#include "calendar/deadline_calendar.h"
#include "core/dates.h"
#include "main_window/diary_menu_panel.h"
#include "main_window/entry_panel.h"
#include "main_window/overview_panel.h"
#include "main_window/user_choice_panel.h"
#include "storage/backups.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/picture_button.h"
#include "widgets/prompt.h"
#include "widgets/shell_services.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>

void frmRegistra::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        MainWindowLoad();
    }
}

// Runs once, when start-up first shows the window: the desktop launcher is placed or
// refreshed at every start.
void frmRegistra::MainWindowLoad()
{
    const QString linkName = desktopLinkName();
    AppFilePath = QCoreApplication::applicationFilePath();
    CreateDesktopShortcut(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                          linkName, AppFilePath);
}

// Runs each time the window becomes the program's active window: back to the user
// choice, with the list of users refilled.
void frmRegistra::MainWindowActivate()
{
    Frame3->show();
    for (QWidget *panel : {static_cast<QWidget *>(Frame4), static_cast<QWidget *>(Frame1),
                           static_cast<QWidget *>(Frame2)})
        if (panel)
            panel->hide();
    Frame3->LoadUserList();
    ShowVersionStamp();
    Frame3->focusUserList();
}

// Only "Chiudi" closes the main window; the close box and the keyboard are refused.
void frmRegistra::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

QString frmRegistra::guidePath()
{
    const QString fileName = QStringLiteral("Istruzioni.pdf");
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString beside = programFolder.filePath(fileName);
    if (QFileInfo::exists(beside))
        return beside;
    // An installed program (/usr/bin/tavelo) has its guide in /usr/share/tavelo.
    const QString shared = programFolder.filePath(QStringLiteral("../share/tavelo/") + fileName);
    if (QFileInfo::exists(shared))
        return QFileInfo(shared).canonicalFilePath();
    const QString installed = QStandardPaths::locate(QStandardPaths::AppDataLocation, fileName);
    return installed.isEmpty() ? beside : installed;
}

// The operator clicks a toolbar button (or presses its shortcut).
void frmRegistra::ToolbarButtonClick(QAction *button)
{
    const QString key = button->data().toString();
    if (key == QLatin1String("Chiudi")) {
        hide();
        WriteVersionStamp();
        refreshCalendarBesideData();
        if (Frame2)
            Frame2->releaseDiaryGrid();
        writeBackupAtClose();
        if (DbConnection::instance().isOpen())
            DbConnection::instance().close();
        endProgram(0);
    } else if (key == QLatin1String("Riduci")) {
        showMinimized();
    } else if (key == QLatin1String("Anagrafica")) {
        emit registryRequested();
        hide();
    } else if (key == QLatin1String("Istruzioni")) {
        OpenWithShell(this, guidePath());
    }
}

// The operator clicks "Accedi" with a user in the list.
void frmRegistra::EnterDiaryMenu()
{
    diaryMenu()->show();
    Frame3->hide();
    Frame1->focusGestione();
}

// The operator switches "Gestione" on: the entry panel opens in Insert mode.
void frmRegistra::OpenEntryPanel()
{
    entryPanel()->show();
    diaryMenu()->hide();
    Frame2->OpenEntryPanel();
}

// The operator clicks the back picture of the entry panel: the editor is reset.
void frmRegistra::LeaveEntryPanel()
{
    diaryMenu()->show();
    Frame3->hide();
    Frame1->setGestione(0);
    entryPanel()->resetEditor();
    Frame2->hide();
    Frame1->focusGestione();
}

// The operator clicks the back picture of the diary menu.
void frmRegistra::BackToUserChoice()
{
    Frame3->show();
    diaryMenu()->hide();
    Frame3->focusUserList();
}

// The operator ticks "Esci" under the overview.
void frmRegistra::CloseOverviewPanel()
{
    Frame3->show();
    overview()->hide();
    Frame3->focusUserList();
}

// A deadline of the overview opened, its owner already chosen: its entry in Modify mode.
// "Gestione" goes off and on again, so that the entry panel starts afresh.
void frmRegistra::OpenOverviewEntry(qint64 entryId)
{
    Frame3->hide();
    diaryMenu()->setGestione(0);
    Frame1->setGestione(1);
    entryPanel()->modifyEntryWithId(entryId);
}

// The operator presses the web link.
void frmRegistra::OpenAuthorPage()
{
    Image5->setSingleBorder(true);
    OpenWithShell(this, QString::fromLatin1(authorWebAddress));
}

void frmRegistra::ShowVersionStamp()
{
    const Result<std::optional<QString>> stamp = readVersionStamp();
    if (!stamp.ok()) {
        Label25->setText(QString());
        showDatabaseError(this, stamp.error);
        return;
    }
    if (!stamp.value) {
        Label25->setText(toScreenDateTime(QDateTime::currentDateTime()));
        return;
    }
    const QDateTime moment = fromStoredDateTime(*stamp.value);
    Label25->setText(moment.isValid() ? toScreenDateTime(moment) : *stamp.value);
}

void frmRegistra::WriteVersionStamp()
{
    const WriteResult written = writeVersionStamp(toStoredDateTime(QDateTime::currentDateTime()));
    if (!written.ok())
        showDatabaseError(this, written.error);
}
