// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_steps.h"

#include "core/activation.h"
#include "main_window/frm_registra.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QTest>
#include <QToolBar>

std::unique_ptr<frmRegistra> startMainWindow()
{
    auto window = std::make_unique<frmRegistra>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    activateLater(window.get());
    if (!QTest::qWaitFor(
            [&] { return window->Frame3->isVisible() && !window->Frame2->isVisible(); }))
        return nullptr;
    return window;
}

void chooseUser(frmRegistra &window, const QString &name)
{
    const int index = window.Cbo1->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    window.Cbo1->setCurrentIndex(index);
    emit window.Cbo1->activated(index);
}

void openEntryPanel(frmRegistra &window, const QString &name)
{
    chooseUser(window, name);
    QTest::mouseClick(window.Image2, Qt::LeftButton);
    QVERIFY(window.Frame1->isVisible());
    QTest::mouseClick(window.Check1, Qt::LeftButton);
    QVERIFY(window.Frame2->isVisible());
}

void clickToolbar(QToolBar *toolbar, const QString &key)
{
    QAction *action = toolbarButton(toolbar, key);
    QVERIFY2(action, qPrintable(key));
    QWidget *button = toolbar->widgetForAction(action);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QString visiblePanels(const frmRegistra &window)
{
    QStringList shown;
    for (const QGroupBox *panel : {window.Frame1, window.Frame2, window.Frame3, window.Frame4})
        if (panel->isVisible())
            shown << panel->objectName();
    return shown.join(QLatin1Char(' '));
}
