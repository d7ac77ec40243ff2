// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/activation.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

void activateLater(QWidget *window)
{
    if (!window)
        return;
    QPointer<QWidget> guard(window);
    QMetaObject::invokeMethod(
        window,
        [guard] {
            if (!guard)
                return;
            guard->activateWindow();
            if (auto *target = dynamic_cast<ActivatableWindow *>(guard.data()))
                target->runActivation();
        },
        Qt::QueuedConnection);
}

namespace {

std::function<void(int)> &endHandler()
{
    static std::function<void(int)> handler;
    return handler;
}

} // namespace

void endProgram(int status)
{
    if (endHandler())
        endHandler()(status);
    else
        QCoreApplication::exit(status);
}

void setProgramEndHandler(std::function<void(int)> handler)
{
    endHandler() = std::move(handler);
}
