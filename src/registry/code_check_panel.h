// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class QLineEdit;
class QPushButton;

// The fiscal-code check that comes before the fields of a new subject: the code
// to check, "Controlla" and the panel's "X".
class CodeCheckPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit CodeCheckPanel(QWidget *window);

    QString code() const;
    void clearCode();
    void focusCode();

signals:
    // The operator presses "Controlla", or Enter in the code box.
    void checkRequested();
    // The operator clicks the panel's "X", or presses Alt+X.
    void closeRequested();

private:
    QLineEdit *Text55 = nullptr;
    QPushButton *Cmd3 = nullptr;
    QPushButton *Label67 = nullptr;
};
