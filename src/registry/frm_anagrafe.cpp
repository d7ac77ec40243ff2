// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/frm_anagrafe.h"

#include "core/twips.h"
#include "main_window/frm_registra.h"
#include "widgets/labels.h"
#include "widgets/status_panels.h"
#include "widgets/value_label.h"
#include "core/twips.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QToolBar>

frmAnagrafe::frmAnagrafe(frmRegistra *mainWindow) : QWidget(nullptr), m_main(mainWindow)
{
    setObjectName(QStringLiteral("frmAnagrafe"));
    setWindowTitle(QStringLiteral("Registrazione"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/anagrafica.svg")));
    setUpProgramWindow(this, 12120, 7050);
    createToolbar();
    createHeader();
    StatusBar1 = new StatusPanels(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    placeTwips(StatusBar1, 0, 6675, 12120, 375);
}

void frmAnagrafe::createToolbar()
{
    tbTop = createWindowToolbar(
        this,
        {{"Chiudi", ":/pictures/chiudi.svg", QKeySequence(Qt::CTRL | Qt::Key_Q)},
         {"Riduci", ":/pictures/riduci.svg", QKeySequence(Qt::CTRL | Qt::Key_M)}},
        [this](QAction *button) { RegistryToolbarClick(button); });
    placeTwips(tbTop, 0, 120, 12105, 330);
}

void frmAnagrafe::createHeader()
{
    Label5 = makeLabel(this, "Label5", QStringLiteral("ID"), 10320, 480, 855, 375);
    Label4 = makeLabel(this, "Label4", QString(), 9360, 480, 855, 300);
    Label19 = makeLabel(this, "Label19", QStringLiteral("Anno"), 8400, 480, 855, 300);
    Label19->setAlignment(Qt::AlignCenter);
    Label1 = makeLabel(this, "Label1", QStringLiteral("Utente"), 4080, 480, 4215, 300);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    readAsValue(Label1, QStringLiteral("Utente scelto"));
}

// Runs each time the window becomes the program's active window.
void frmAnagrafe::RegistryWindowActivate()
{
    Label4->setText(m_main->Label4->text());
    Label1->setText(m_main->Label1->text());
    Label5->setText(m_main->Label5->text());
}

// The operator clicks a toolbar button of the registry window.
void frmAnagrafe::RegistryToolbarClick(QAction *button)
{
    const QString key = button->data().toString();
    if (key == QLatin1String("Chiudi")) {
        m_main->show();
        activateLater(m_main);
        m_main->Label4->setText(Label4->text());
        m_main->Label1->setText(Label1->text());
        m_main->Label5->setText(Label5->text());
        hide();
    } else if (key == QLatin1String("Riduci")) {
        showMinimized();
    }
}

// Closing the registry window from its title bar does what "Chiudi" does: hiding it
// alone would leave the program running with no window at all.
void frmAnagrafe::closeEvent(QCloseEvent *event)
{
    event->ignore();
    RegistryToolbarClick(toolbarButton(tbTop, QStringLiteral("Chiudi")));
}
