// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The registry window opened from the main window's "Anagrafica" on a fresh data
// file, and the operator's gestures on it.
#include "main_window_steps.h"
#include "test_support.h"

#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QSqlRecord>

#include <memory>

class RegistryFixture : public MainWindowTest
{
public:
    void start();
    void stop();

    // Clicks a control the way the operator does: it must be the control seen at that
    // spot, not one hidden under a panel.
    static void click(QWidget *control);
    // Whether the operator sees this control (no panel lies over its centre).
    static bool seen(QWidget *control);
    // The panels that can be seen, topmost first.
    QString seenPanels() const;

    // Start → Menu → Code check → Insert with this code.
    void openInsertFields(const QString &code);
    // Start → Menu → Pick in the given mode ("Modifica" or "Elimina").
    void openGrid(const QString &mode);
    // Picks the grid row that shows this name.
    void pickRow(const QString &name);
    // The subject's stored row; empty when there is none.
    QSqlRecord storedRow(qint64 id) const;

    frmAnagrafe *w = nullptr;
};

// Types text into a box as the operator does.
void typeInto(QLineEdit *box, const QString &text);
