// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_pair.h"

#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"
#include "widgets/activation.h"

WindowPair::WindowPair() : m_main(std::make_unique<frmRegistra>())
{
    connect(m_main.get(), &frmRegistra::registryRequested, this, &WindowPair::showRegistry);
}

// The registry goes first: it refers to nothing of the main window, but the main window
// must outlive whatever is shown over it.
WindowPair::~WindowPair()
{
    m_registry.reset();
    m_main.reset();
}

void WindowPair::showRegistry()
{
    if (!m_registry) {
        m_registry = std::make_unique<frmAnagrafe>();
        frmRegistra *main = m_main.get();
        m_registry->setChosenUserSource([main] { return main->chosenUserLabels(); });
        connect(m_registry.get(), &frmAnagrafe::closedWithChosenUser, this,
                [main](const ChosenUserLabels &labels) {
                    main->show();
                    activateLater(main);
                    main->setChosenUserLabels(labels);
                });
    }
    m_registry->show();
    activateLater(m_registry.get());
}
