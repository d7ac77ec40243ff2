// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's frame: load, activation, close, toolbar, panel navigation, the
// version stamp and the web link.
#include "main_window/frm_registra.h"

#include "calendar/deadline_calendar.h"
#include "core/dates.h"
#include "widgets/prompt.h"
#include "widgets/shell_services.h"
#include "main_window/diary_grid_model.h"
#include "registry/frm_anagrafe.h"
#include "storage/backups.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/note_box.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTreeView>

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
    Frame4->hide();
    Frame1->hide();
    Frame2->hide();
    LoadUserList();
    ShowVersionStamp();
    Cbo1->setFocus();
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

void frmRegistra::warnNoUserChosen()
{
    showPrompt(this, QStringLiteral(" Attenzione occorre selezionare  un Utente   ! "),
               QStringLiteral(" Tavelo- ERRORE "), PromptButtons::Ok, PromptIcon::Information);
}

void frmRegistra::releaseDiaryGrid()
{
    DataGrid3->setModel(nullptr);
    m_diaryModel->clear();
}

// The operator clicks a toolbar button (or presses its shortcut).
void frmRegistra::ToolbarButtonClick(QAction *button)
{
    const QString key = button->data().toString();
    if (key == QLatin1String("Chiudi")) {
        hide();
        WriteVersionStamp();
        refreshCalendarBesideData();
        releaseDiaryGrid();
        writeBackupAtClose();
        if (DbConnection::instance().isOpen())
            DbConnection::instance().close();
        endProgram(0);
    } else if (key == QLatin1String("Riduci")) {
        showMinimized();
    } else if (key == QLatin1String("Anagrafica")) {
        if (!m_registry) {
            m_registry = std::make_unique<frmAnagrafe>();
            m_registry->setChosenUserSource([this] {
                return ChosenUserLabels{Label1->text(), Label4->text(), Label5->text()};
            });
            connect(m_registry.get(), &frmAnagrafe::closedWithChosenUser, this,
                    [this](const ChosenUserLabels &labels) {
                        show();
                        activateLater(this);
                        Label4->setText(labels.label4);
                        Label1->setText(labels.label1);
                        Label5->setText(labels.label5);
                    });
        }
        m_registry->show();
        activateLater(m_registry.get());
        hide();
    } else if (key == QLatin1String("Istruzioni")) {
        OpenWithShell(this, guidePath());
    }
}

// The operator clicks "Accedi".
void frmRegistra::EnterDiaryPanel()
{
    if (!Cbo1->currentText().isEmpty()) {
        Frame1->show();
        Frame3->hide();
        Check1->setFocus();
    } else {
        warnNoUserChosen();
    }
}

// The operator clicks the back picture of the entry panel: the editor is reset.
void frmRegistra::LeaveEntryPanel()
{
    Frame1->show();
    Frame3->hide();
    Check1->setValue(0);
    clearEntryFields();
    Label10->hide();
    Check2->setValue(0);
    Check3->setValue(0);
    Frame2->hide();
    Check1->setFocus();
}

// The operator clicks the back picture of the diary menu.
void frmRegistra::BackToUserChoice()
{
    Frame3->show();
    Frame1->hide();
    Cbo1->setFocus();
}

// The operator presses the web link.
void frmRegistra::OpenAuthorPage()
{
    Image5->setSingleBorder(true);
    OpenWithShell(this, QString::fromLatin1(authorWebAddress));
}

// The operator clicks "Scadenze per Utenti".
void frmRegistra::ShowOverviewPanel()
{
    Frame4->show();
    Check6->setChecked(false);
    LoadOverviewList();
    ListView1->setFocus();
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
