// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's frame: its toolbar, labels and status bar, and the panels placed,
// stacked and linked to one another.
#include "main_window/frm_registra.h"

#include "main_window/diary_menu_panel.h"
#include "main_window/entry_panel.h"
#include "main_window/overview_panel.h"
#include "main_window/user_choice_panel.h"
#include "widgets/cached_picture.h"
#include "widgets/labels.h"
#include "widgets/panel_placement.h"
#include "widgets/picture_button.h"
#include "widgets/status_panels.h"
#include "widgets/value_label.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QToolBar>

frmRegistra::frmRegistra(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmRegistra"));
    setWindowTitle(QStringLiteral("Registrazione"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/tavelo.svg")));
    setUpProgramWindow(this, 12120, 7050);

    createToolbar();
    createWindowLabels();
    // The other panels lie hidden under the user choice: each is built when it is first
    // wanted, so that the first frame does not wait for them.
    Frame3 = new UserChoicePanel(*this, this);
    StatusBar1 = named(new StatusPanels(this), "StatusBar1");
    placeTwips(StatusBar1, 0, 6675, 12120, 375);
    stackPanels();
    setKeyboardOrder();
    connectPanels();
}

frmRegistra::~frmRegistra() = default;

void frmRegistra::createToolbar()
{
    tbTop = createWindowToolbar(
        this,
        {{"Chiudi", ":/pictures/chiudi.svg", QKeySequence(Qt::CTRL | Qt::Key_Q)},
         {"Riduci", ":/pictures/riduci.svg", QKeySequence(Qt::CTRL | Qt::Key_M)},
         {"Anagrafica", ":/pictures/anagrafica.svg", QKeySequence(Qt::Key_F2)},
         {"Istruzioni", ":/pictures/istruzioni.svg", QKeySequence(Qt::Key_F1)}},
        [this](QAction *button) { ToolbarButtonClick(button); });
    placeTwips(tbTop, 0, 0, 7200, 540);
}

void frmRegistra::createWindowLabels()
{
    Label5 = makeLabel(this, "Label5", QStringLiteral("ID"), 7440, 120, 300, 300);
    Label8 = makeLabel(this, "Label8", QString(), 7800, 120, 900, 300);
    Label1 = makeLabel(this, "Label1", QStringLiteral("Utente"), 8760, 120, 3240, 300);
    Label1->setText(QString());
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label8->setFont(bold);
    readAsValue(Label1, QStringLiteral("Utente scelto"));
    readAsValue(Label8, QStringLiteral("ID dell'utente scelto"));

    Image1 = makeLabel(this, "Image1", QString(), 8940, 960, 3060, 2400);
    Image1->setPixmap(cachedPicture(QStringLiteral(":/pictures/scadenze.svg"), Image1->size()));

    Label3 = makeLabel(this, "Label3", QStringLiteral("Versione"), 8940, 3600, 900, 300);
    Label25 = makeLabel(this, "Label25", QStringLiteral("Versione"), 9840, 3600, 2160, 300);
    readAsValue(Label25, QStringLiteral("Versione"));

    Image5 = named(new PictureButton(QStringLiteral(":/pictures/sito.svg"), this), "Image5");
    placeTwips(Image5, 10920, 4920, 720, 720);
    Image5->setToolTip(QStringLiteral("Vai al il mio sito !"));
    Label12 = makeLabel(this, "Label12", QStringLiteral("Vai al sito"), 10560, 5700, 1440, 300);
    Label12->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label12->setBuddy(Image5);
    Image5->setAccessibleName(Label12->text());
}

// The overview lies over everything, then the entry panel, the user choice and the
// diary menu.
void frmRegistra::stackPanels()
{
    for (QWidget *panel : {static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Frame3),
                           static_cast<QWidget *>(Frame2), static_cast<QWidget *>(Frame4)})
        if (panel)
            panel->raise();
}

// Tab follows the reading order of each panel, then the web link; a panel built later
// takes its place in the chain when it is built.
void frmRegistra::setKeyboardOrder()
{
    QList<QWidget *> order = Frame3->keyboardOrder();
    if (Frame1)
        order += Frame1->keyboardOrder();
    if (Frame2)
        order += Frame2->keyboardOrder();
    if (Frame4)
        order += Frame4->keyboardOrder();
    order << Image5;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

// A panel built after the window: hidden, in its layer and in the keyboard's chain.
void frmRegistra::placeLatePanel(QWidget *panel)
{
    panel->hide();
    stackPanels();
    setKeyboardOrder();
}

DiaryMenuPanel *frmRegistra::diaryMenu()
{
    if (!Frame1) {
        Frame1 = new DiaryMenuPanel(this);
        connect(Frame1, &DiaryMenuPanel::entryPanelRequested, this, &frmRegistra::OpenEntryPanel);
        connect(Frame1, &DiaryMenuPanel::backRequested, this, &frmRegistra::BackToUserChoice);
        placeLatePanel(Frame1);
    }
    return Frame1;
}

EntryPanel *frmRegistra::entryPanel()
{
    if (!Frame2) {
        Frame2 = new EntryPanel(*this, this);
        connect(Frame2, &EntryPanel::leaveRequested, this, &frmRegistra::LeaveEntryPanel);
        connect(Frame2, &EntryPanel::reportClosed, this, [this] { activateLater(this); });
        placeLatePanel(Frame2);
    }
    return Frame2;
}

OverviewPanel *frmRegistra::overview()
{
    if (!Frame4) {
        Frame4 = new OverviewPanel(this);
        connect(Frame4, &OverviewPanel::closed, this, &frmRegistra::CloseOverviewPanel);
        connect(Frame4, &OverviewPanel::ownerChosen, this,
                [this](const QString &ownerId, const QString &ownerName) {
                    setSelectedUserId(ownerId);
                    setSelectedUserName(ownerName);
                    Frame3->showUserName(ownerName);
                });
        connect(Frame4, &OverviewPanel::entryRequested, this, &frmRegistra::OpenOverviewEntry);
        connect(Frame4, &OverviewPanel::reportClosed, this, [this] { activateLater(this); });
        placeLatePanel(Frame4);
    }
    return Frame4;
}

void frmRegistra::connectPanels()
{
    connect(Frame3, &UserChoicePanel::diaryRequested, this, &frmRegistra::EnterDiaryMenu);
    connect(Frame3, &UserChoicePanel::overviewRequested, this,
            [this] { overview()->ShowOverviewPanel(); });
    // The web link acts as soon as the button goes down, not on release.
    connect(Image5, &PictureButton::pressed, this, &frmRegistra::OpenAuthorPage);
}

QString frmRegistra::SelectedUserId() const
{
    return Label8->text();
}

QString frmRegistra::SelectedUserName() const
{
    return Label1->text();
}

void frmRegistra::setSelectedUserId(const QString &id)
{
    Label8->setText(id);
}

void frmRegistra::setSelectedUserName(const QString &name)
{
    Label1->setText(name);
}

ChosenUserLabels frmRegistra::chosenUserLabels()
{
    return {Label1->text(), entryPanel()->label4Text(), Label5->text()};
}

void frmRegistra::setChosenUserLabels(const ChosenUserLabels &labels)
{
    entryPanel()->setLabel4Text(labels.label4);
    Label1->setText(labels.label1);
    Label5->setText(labels.label5);
}
