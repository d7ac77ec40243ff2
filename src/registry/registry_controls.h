// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the registry window's controls are made and placed, shared by its panels.
#include <QFont>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QString;
class QWidget;
class ToggleButton;

// The window's face; every control not given another keeps it, including the
// controls of the panels, whose own font is only for their caption.
QFont windowFont(qreal points = 9.75, bool bold = false);

// Names the control, gives it the window's face and places it, in twips.
void placeControl(QWidget *control, const char *name, int left, int top, int width, int height);

template <typename Control>
Control *placed(Control *control, const char *name, int left, int top, int width, int height)
{
    placeControl(control, name, left, top, width, height);
    return control;
}

// A panel covers whatever lies beneath it; its caption has a face of its own.
void setUpPanel(QGroupBox *panel, const char *name, const QString &caption,
                const QFont &captionFont, int left, int top, int width, int height);

// A label in the window's face, not in the bold caption face of the panel it
// lies on.
QLabel *fieldLabel(QWidget *parent, const char *name, const QString &caption, int left, int top,
                   int width, int height);

ToggleButton *makeToggle(QWidget *parent, const char *name, const QString &caption, int left,
                         int top, int width, int height);

// A text box named for the screen reader by its caption label (when it has
// one).
QLineEdit *makeBox(QWidget *parent, const char *name, QLabel *caption, int maxLength, int left,
                   int top, int width, int height);

QFrame *makeLine(QWidget *parent, const char *name, int left, int top, int right);

void paintWhite(QWidget *widget);
