// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/activation.h"

#include <QWidget>

class QAction;
class QLabel;
class QToolBar;
class StatusPanels;
class frmRegistra;

// The registry window: the subjects of the office. Shown by the main window's
// "Anagrafica", which it hides; its own "Chiudi" brings the main window back.
class frmAnagrafe : public QWidget, public ActivatableWindow
{
    Q_OBJECT

public:
    // The window is a top-level window of its own; mainWindow is the window that it
    // hands back to.
    explicit frmAnagrafe(frmRegistra *mainWindow);

    void runActivation() override { RegistryWindowActivate(); }

    void RegistryWindowActivate();
    void RegistryToolbarClick(QAction *button);

    QToolBar *tbTop = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label19 = nullptr;
    QLabel *Label1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbar();
    void createHeader();

    frmRegistra *m_main;
};
