// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

class frmAnagrafe;
class frmRegistra;

// The main window and the registry, which do not know each other: the pair shows the
// registry when the main window asks for it (made at the first request), and brings the
// main window back, with the chosen user's labels, when the registry closes.
class WindowPair : public QObject
{
    Q_OBJECT

public:
    WindowPair();
    ~WindowPair() override;

    frmRegistra *mainWindow() const { return m_main.get(); }
    // nullptr until the registry is first opened.
    frmAnagrafe *registryWindow() const { return m_registry.get(); }

private:
    void showRegistry();

    std::unique_ptr<frmRegistra> m_main;
    std::unique_ptr<frmAnagrafe> m_registry;
};
