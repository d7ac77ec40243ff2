// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/version.h"

#include <QString>

#include <memory>

class QSqlError;
class QWidget;

// Every message box of the program goes through here, so that tests can answer them.
enum class PromptButtons { Ok, YesNo };
enum class PromptIcon { None, Information, Critical };
enum class PromptAnswer { Ok, Yes, No };

struct PromptRequest
{
    QString text;
    QString title; // empty: the application title "Tavelo"
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
};

class Prompt
{
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer ask(QWidget *owner, const PromptRequest &request) = 0;

    static Prompt &current();
    // Replaces the service; nullptr restores the message boxes.
    static void install(std::unique_ptr<Prompt> prompt);
};

// Shows one modal box and returns the button pressed.
PromptAnswer showPrompt(QWidget *owner, const QString &text, const QString &title = {},
                        PromptButtons buttons = PromptButtons::Ok,
                        PromptIcon icon = PromptIcon::None);

// The operator's message for a failed database step, in a critical box.
void showDatabaseError(QWidget *owner, const QSqlError &error);
