// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class ToggleButton;

// The registry window's start panel: "Gestione" leads to the editing panel,
// "Stampa" prints the registry.
class StartPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit StartPanel(QWidget *window);

    void releaseManage();
    void releasePrint();
    void focusManage();

signals:
    // The operator switches "Gestione" on.
    void manageChosen();
    // The operator switches "Stampa" on.
    void printChosen();

private:
    ToggleButton *Check7 = nullptr;
    ToggleButton *Check4 = nullptr;
};
