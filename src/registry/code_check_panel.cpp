// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/code_check_panel.h"

#include "registry/input_rules.h"
#include "registry/registry_controls.h"

#include <QLineEdit>
#include <QPushButton>

CodeCheckPanel::CodeCheckPanel(QWidget *window) : QGroupBox(window)
{
    const QString caption = QStringLiteral("Controllo Codice Fiscale");
    setUpPanel(this, "Frame4", caption, windowFont(), 4440, 2640, 3135, 1695);
    paintWhite(this);
    Text55 = makeBox(this, "Text55", nullptr, 16, 360, 480, 2295, 330);
    Text55->setAlignment(Qt::AlignCenter);
    Text55->setAccessibleName(caption);
    Cmd3 = placed(new QPushButton(QStringLiteral("Controlla"), this), "Cmd3", 720, 960, 1695, 255);
    Cmd3->setAutoDefault(false);
    // The panel's "X": a click or Alt+X closes it; it is not a stop of the Tab
    // key.
    Label67 = placed(new QPushButton(QStringLiteral("&X"), this), "Label67", 2880, 120, 135, 240);
    Label67->setFont(windowFont(9.75, true));
    Label67->setFlat(true);
    Label67->setFocusPolicy(Qt::NoFocus);
    Label67->setAutoDefault(false);
    Label67->setAccessibleDescription(QStringLiteral("Chiude il controllo del Codice Fiscale"));
    Label67->setToolTip(QStringLiteral("Chiudi (Alt+X)"));
    Label67->setStyleSheet(QStringLiteral("QPushButton { background: white; border: none; "
                                          "padding: 0px; }"));

    connect(Cmd3, &QPushButton::clicked, this, &CodeCheckPanel::checkRequested);
    connect(Text55, &QLineEdit::returnPressed, this, &CodeCheckPanel::checkRequested);
    connect(Label67, &QPushButton::clicked, this, &CodeCheckPanel::closeRequested);
    keepInCapitals(Text55);
}

QString CodeCheckPanel::code() const
{
    return Text55->text();
}

void CodeCheckPanel::clearCode()
{
    setStoredText(Text55, QString());
}

void CodeCheckPanel::focusCode()
{
    Text55->setFocus();
}
