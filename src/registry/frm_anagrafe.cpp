// SPDX-License-Identifier: GPL-3.0-or-later
// The registry window's frame: toolbar, header, status bar, how its panels lie
// over one another, the keyboard order across them and the wiring of their
// requests.
#include "registry/frm_anagrafe.h"

#include "registry/code_check_panel.h"
#include "registry/editing_panel.h"
#include "registry/registry_controls.h"
#include "registry/start_panel.h"
#include "registry/subject_grid_panel.h"
#include "widgets/status_panels.h"
#include "widgets/twips.h"
#include "widgets/value_label.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QToolBar>

frmAnagrafe::frmAnagrafe(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmAnagrafe"));
    setWindowTitle(QStringLiteral("Registrazione"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/anagrafica.svg")));
    setUpProgramWindow(this, 12120, 7050);
    setFont(windowFont());
    createToolbar();
    createHeader();
    Frame3 = new StartPanel(this);
    Frame4 = new CodeCheckPanel(this);
    Frame2 = new SubjectGridPanel(this);
    Frame1 = new EditingPanel(this);
    StatusBar1 = new StatusPanels(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    placeTwips(StatusBar1, 0, 6675, 12120, 375);
    stackPanels();
    setKeyboardOrder();
    connectPanels();
}

frmAnagrafe::~frmAnagrafe() = default;

void frmAnagrafe::setChosenUserSource(std::function<ChosenUserLabels()> source)
{
    m_chosenUser = std::move(source);
}

bool frmAnagrafe::LoadSubjectGrid()
{
    return Frame2->LoadSubjectGrid();
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
    const QFont header = windowFont(9);
    Label5 = fieldLabel(this, "Label5", QStringLiteral("ID"), 10320, 480, 855, 375);
    Label4 = fieldLabel(this, "Label4", QString(), 9360, 480, 855, 300);
    Label19 = fieldLabel(this, "Label19", QStringLiteral("Anno"), 8400, 480, 855, 300);
    Label1 = fieldLabel(this, "Label1", QStringLiteral("Utente"), 4080, 480, 4215, 300);
    for (QLabel *label : {Label5, Label4, Label19, Label1}) {
        label->setFont(header);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    Label19->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont bold = header;
    bold.setBold(true);
    Label1->setFont(bold);
    readAsValue(Label1, QStringLiteral("Utente scelto"));
}

// The start panel lies over the code check, the grid and the editing panel, in
// this order.
void frmAnagrafe::stackPanels()
{
    for (QWidget *panel : {static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Frame2),
                           static_cast<QWidget *>(Frame4), static_cast<QWidget *>(Frame3)})
        panel->raise();
}

// One chain across the panels, by the controls' names. The postal code comes
// late, after the code check, as the window has always had it.
void frmAnagrafe::setKeyboardOrder()
{
    const char *const order[] = {
        "Text2",  "Text3",  "Text4",  "Text5",  "Text7", "Text8",  "Check1",    "Text9",  "Text10",
        "Text11", "Text12", "Text13", "Text14", "Cmd2",  "Text1",  "Datagrid1", "Check2", "Check3",
        "Check5", "Check6", "Text55", "Cmd3",   "Text6", "Check7", "Check8",    "Check4"};
    QWidget *previous = nullptr;
    for (const char *name : order) {
        auto *control = findChild<QWidget *>(QLatin1String(name));
        Q_ASSERT(control);
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

void frmAnagrafe::connectPanels()
{
    connect(Frame3, &StartPanel::manageChosen, this, &frmAnagrafe::EnterManagePanel);
    connect(Frame3, &StartPanel::printChosen, this, &frmAnagrafe::StartRegistryPrint);
    connect(Frame1, &EditingPanel::leaveChosen, this, &frmAnagrafe::LeaveManagePanel);
    connect(Frame1, &EditingPanel::modifyChosen, this, &frmAnagrafe::EnterModifyMode);
    connect(Frame1, &EditingPanel::deleteChosen, this, &frmAnagrafe::EnterDeleteMode);
    connect(Frame1, &EditingPanel::insertToggled, this, &frmAnagrafe::EnterInsertMode);
    connect(Frame1, &EditingPanel::subjectDone, this, &frmAnagrafe::backToStartPanel);
    connect(Frame2, &SubjectGridPanel::leaveChosen, this, &frmAnagrafe::LeaveGridPanel);
    connect(Frame2, &SubjectGridPanel::rowPicked, this, &frmAnagrafe::FillSubjectFromGridRow);
    connect(Frame4, &CodeCheckPanel::checkRequested, this, &frmAnagrafe::RunCodeCheck);
    connect(Frame4, &CodeCheckPanel::closeRequested, this, &frmAnagrafe::CloseCodeCheckPanel);
}

// Runs each time the window becomes the program's active window: the chosen
// user's header, and back to the start panel with every field empty and no
// mode.
void frmAnagrafe::RegistryWindowActivate()
{
    if (m_chosenUser) {
        const ChosenUserLabels chosen = m_chosenUser();
        Label4->setText(chosen.label4);
        Label1->setText(chosen.label1);
        Label5->setText(chosen.label5);
    }
    Frame3->show();
    Frame3->releaseManage();
    Frame1->hide();
    Frame1->setEnabled(true);
    Frame4->hide();
    Frame2->hide();
    Frame1->setMode(QString());
    Frame1->lockPassword();
    ClearRegistryFields();
    Frame3->focusManage();
}

// The operator clicks a toolbar button of the registry window.
void frmAnagrafe::RegistryToolbarClick(QAction *button)
{
    const QString key = button->data().toString();
    if (key == QLatin1String("Chiudi")) {
        emit closedWithChosenUser({Label1->text(), Label4->text(), Label5->text()});
        hide();
    } else if (key == QLatin1String("Riduci")) {
        showMinimized();
    }
}

// Closing the registry window from its title bar does what "Chiudi" does:
// hiding it alone would leave the program running with no window at all.
void frmAnagrafe::closeEvent(QCloseEvent *event)
{
    event->ignore();
    RegistryToolbarClick(toolbarButton(tbTop, QStringLiteral("Chiudi")));
}
