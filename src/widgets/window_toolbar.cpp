// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

QToolBar *createWindowToolbar(QWidget *window, const QList<ToolbarButton> &buttons,
                              const std::function<void(QAction *)> &onClick)
{
    auto *toolbar = new QToolBar(window);
    toolbar->setObjectName(QStringLiteral("tbTop"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setMovable(false);
    for (const ToolbarButton &button : buttons) {
        QAction *action =
            toolbar->addAction(QIcon(QLatin1String(button.picture)), QString::fromUtf8(button.key));
        action->setData(QString::fromUtf8(button.key));
        action->setShortcut(button.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(
            action->text(), button.shortcut.toString(QKeySequence::NativeText)));
        QObject::connect(action, &QAction::triggered, window,
                         [onClick, action] { onClick(action); });
    }
    return toolbar;
}

QAction *toolbarButton(const QToolBar *toolbar, const QString &key)
{
    const QList<QAction *> actions = toolbar->actions();
    for (QAction *action : actions)
        if (action->data().toString() == key)
            return action;
    return nullptr;
}
