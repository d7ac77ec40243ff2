// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/prompt.h"

#include "storage/db_connection.h"

#include <QMessageBox>

namespace {

class MessageBoxPrompt : public Prompt
{
public:
    PromptAnswer ask(QWidget *owner, const PromptRequest &request) override
    {
        QMessageBox box(owner);
        box.setWindowTitle(request.title.isEmpty() ? applicationTitle() : request.title);
        box.setText(request.text);
        box.setIcon(request.icon == PromptIcon::Critical      ? QMessageBox::Critical
                    : request.icon == PromptIcon::Information ? QMessageBox::Information
                                                              : QMessageBox::NoIcon);
        if (request.buttons == PromptButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        const int pressed = box.exec();
        if (request.buttons == PromptButtons::Ok)
            return PromptAnswer::Ok;
        return pressed == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
};

std::unique_ptr<Prompt> &installed()
{
    static std::unique_ptr<Prompt> prompt;
    return prompt;
}

} // namespace

Prompt &Prompt::current()
{
    std::unique_ptr<Prompt> &prompt = installed();
    if (!prompt)
        prompt = std::make_unique<MessageBoxPrompt>();
    return *prompt;
}

void Prompt::install(std::unique_ptr<Prompt> prompt)
{
    installed() = std::move(prompt);
}

PromptAnswer showPrompt(QWidget *owner, const QString &text, const QString &title,
                        PromptButtons buttons, PromptIcon icon)
{
    return Prompt::current().ask(owner, {text, title, buttons, icon});
}

void showDatabaseError(QWidget *owner, const QSqlError &error)
{
    showPrompt(owner, databaseErrorMessage(error), QString(), PromptButtons::Ok,
               PromptIcon::Critical);
}
