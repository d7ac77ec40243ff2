// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/user_choice_panel.h"

#include "main_window/chosen_user.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/labels.h"
#include "widgets/panel_placement.h"
#include "widgets/picture_button.h"
#include "widgets/prompt.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

void warnNoUserChosen(QWidget *parent)
{
    showPrompt(parent, QStringLiteral(" Attenzione occorre selezionare  un Utente   ! "),
               QStringLiteral(" Tavelo- ERRORE "), PromptButtons::Ok, PromptIcon::Information);
}

UserChoicePanel::UserChoicePanel(ChosenUser &chosen, QWidget *parent)
    : QGroupBox(QStringLiteral("Seleziona"), parent), m_chosen(chosen)
{
    placePanel(this, "Frame3", 480, 960, 6615, 3015);
    Label2 = makeLabel(this, "Label2", QStringLiteral("Utente"), 360, 480, 1200, 270);
    Cbo1 = named(new QComboBox(this), "Cbo1");
    placeTwips(Cbo1, 360, 780, 4200, 360);
    Cbo1->setEditable(false);
    Cbo1->setMaxVisibleItems(20);
    Label2->setBuddy(Cbo1);

    Image2 = named(new PictureButton(QStringLiteral(":/pictures/accedi.svg"), this), "Image2");
    placeTwips(Image2, 5160, 420, 960, 960);
    Label11 = makeLabel(this, "Label11", QStringLiteral("Accedi"), 4920, 1440, 1440, 300);
    Label11->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label11->setBuddy(Image2);
    Image2->setAccessibleName(Label11->text());
    Image2->setToolTip(Label11->text());

    Command2 = named(new QPushButton(QStringLiteral("Scadenze per Utenti"), this), "Command2");
    placeTwips(Command2, 360, 2220, 2760, 450);
    Command2->setAutoDefault(false);

    connect(Image2, &PictureButton::clicked, this, &UserChoicePanel::EnterDiaryPanel);
    connect(Command2, &QPushButton::clicked, this, &UserChoicePanel::overviewRequested);
    connect(Cbo1, &QComboBox::activated, this, &UserChoicePanel::SelectUser);
}

QList<QWidget *> UserChoicePanel::keyboardOrder() const
{
    return {Cbo1, Image2, Command2};
}

void UserChoicePanel::LoadUserList()
{
    Cbo1->clear();
    m_chosen.setSelectedUserName(QString());
    const Result<QStringList> users = selectUserNames();
    if (!users.ok()) {
        showDatabaseError(window(), users.error);
        return;
    }
    Cbo1->addItems(users.value);
    Cbo1->setCurrentIndex(-1);
}

void UserChoicePanel::SelectUser()
{
    if (Cbo1->currentText().isEmpty()) {
        warnNoUserChosen(window());
        return;
    }
    m_chosen.setSelectedUserId(QString());
    m_chosen.setSelectedUserName(QString());
    // A name removed from the registry meanwhile finds nothing: the labels stay empty,
    // so that no entry can be written for a user who is gone.
    const Result<std::optional<Subject>> found = findSubjectByName(Cbo1->currentText());
    if (!found.ok()) {
        showDatabaseError(window(), found.error);
        return;
    }
    if (found.value) {
        m_chosen.setSelectedUserId(QString::number(found.value->id));
        m_chosen.setSelectedUserName(found.value->soggetto);
    }
}

void UserChoicePanel::EnterDiaryPanel()
{
    if (!Cbo1->currentText().isEmpty())
        emit diaryRequested();
    else
        warnNoUserChosen(window());
}

void UserChoicePanel::showUserName(const QString &name)
{
    Cbo1->setCurrentIndex(Cbo1->findText(name));
}

void UserChoicePanel::focusUserList()
{
    Cbo1->setFocus();
}
