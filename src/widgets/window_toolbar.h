// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QAction;
class QToolBar;
class QWidget;

// One toolbar button: its key (also its caption), picture and shortcut.
struct ToolbarButton
{
    const char *key;
    const char *picture;
    QKeySequence shortcut;
};

// The toolbar "tbTop" of a window: buttons with text beside their picture, each
// carrying its key as data. onClick receives the button clicked (or whose shortcut was
// pressed).
QToolBar *createWindowToolbar(QWidget *window, const QList<ToolbarButton> &buttons,
                              const std::function<void(QAction *)> &onClick);

// The button of a toolbar with this key, or nullptr.
QAction *toolbarButton(const QToolBar *toolbar, const QString &key);
