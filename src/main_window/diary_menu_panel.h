// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QList>

class PictureButton;
class ToggleButton;

// The diary menu (Frame1): "Gestione" opens the entry panel, the back picture returns to
// the user choice.
class DiaryMenuPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit DiaryMenuPanel(QWidget *parent);

    // Sets "Gestione"; switching it on asks for the entry panel at once.
    void setGestione(int value);
    void focusGestione();
    QList<QWidget *> keyboardOrder() const;

signals:
    void entryPanelRequested();
    void backRequested();

private:
    ToggleButton *Check1 = nullptr;
    PictureButton *Image4 = nullptr;
};
