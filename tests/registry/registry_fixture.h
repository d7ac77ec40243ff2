// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The registry window on its own on a fresh data file, the header it is handed and the
// headers it hands back, and the operator's gestures on it; controls by their names.
#include "test_support.h"

#include "registry/frm_anagrafe.h"

#include <QTest>

#include <memory>

class RegistryFixture
{
public:
    void start();
    void stop();

    QWidget *find(const QString &name) const { return w->findChild<QWidget *>(name); }
    // The caption of a button, the text of a box or of a label.
    QString text(const QString &name) const { return find(name)->property("text").toString(); }
    // Whether the operator sees this control (no panel lies over its centre).
    bool seen(const QString &name) const;
    // The panels that can be seen, topmost first, the action button's caption and the
    // control with the focus, " / " between them.
    QString where() const;
    // Runs the operator's steps, ";" between them (see runStep).
    void run(const QString &steps);
    // The subject's stored columns after the ID, "|" between them; empty when none.
    QString storedRow(const QString &name) const;

    ScriptedPrompt *prompt = nullptr;
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<frmAnagrafe> w;
    ChosenUserLabels chosen{"ROSSI MARIO", "Data", "ID"};
    QList<ChosenUserLabels> handedBack;

private:
    void runStep(const QString &step);
    void click(const QString &name);
    void type(const QString &name, const QString &keys);
};
