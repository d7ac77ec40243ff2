// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

// A window of the program whose activation handler runs each time it becomes the
// active window.
class ActivatableWindow
{
public:
    virtual ~ActivatableWindow() = default;
    virtual void runActivation() = 0;
};

// Posts the window's activation handler, so that it runs after the handler in progress
// has ended, never nested inside it. A window destroyed meanwhile is skipped.
void activateLater(QWidget *window);

// Ends the program: the one way out, so that tests can watch for it.
void endProgram(int status = 0);
// Replaces what endProgram does; an empty function restores leaving the event loop.
void setProgramEndHandler(std::function<void(int)> handler);
