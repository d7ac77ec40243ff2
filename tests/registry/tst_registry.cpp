// SPDX-License-Identifier: GPL-3.0-or-later
// The registry window's frame: header, toolbar and the hand-over with the main window.
#include "test_support.h"

#include "core/activation.h"
#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"
#include "widgets/status_panels.h"
#include "core/twips.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QToolBar>

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void headerAndToolbar();
    void activationCopiesHeaderFromMainWindow();
    void chiudiHandsBackAndRiduciMinimises();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<frmRegistra> m_main;
    std::unique_ptr<frmAnagrafe> m_registry;
    ScriptedPrompt *m_prompt = nullptr;

    QAction *button(const QString &key) const { return toolbarButton(m_registry->tbTop, key); }
};

void TestRegistry::init()
{
    m_prompt = ScriptedPrompt::install();
    m_db = std::make_unique<TestDatabase>();
    m_main = std::make_unique<frmRegistra>();
    m_registry = std::make_unique<frmAnagrafe>(m_main.get());
}

void TestRegistry::cleanup()
{
    QCOMPARE(m_prompt->unexpected(), 0);
    m_registry.reset();
    m_main.reset();
    m_db.reset();
    Prompt::install(nullptr);
}

void TestRegistry::headerAndToolbar()
{
    QCOMPARE(m_registry->windowTitle(), QStringLiteral("Registrazione"));
    QCOMPARE(m_registry->size(), QSize(twipsToPixels(12120), twipsToPixels(7050)));
    QStringList keys;
    for (QAction *action : m_registry->tbTop->actions())
        keys << action->data().toString();
    QCOMPARE(keys, QStringList({"Chiudi", "Riduci"}));
    QCOMPARE(m_registry->Label5->geometry(), twipsRect(10320, 480, 855, 375));
    QCOMPARE(m_registry->Label4->geometry(), twipsRect(9360, 480, 855, 300));
    QCOMPARE(m_registry->Label19->geometry(), twipsRect(8400, 480, 855, 300));
    QCOMPARE(m_registry->Label1->geometry(), twipsRect(4080, 480, 4215, 300));
    QCOMPARE(m_registry->Label19->text(), QStringLiteral("Anno"));
    QCOMPARE(m_registry->Label19->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QCOMPARE(m_registry->StatusBar1->panel(1)->text(), QStringLiteral("BLOC NUM"));
    const QString snapshots = qEnvironmentVariable("TAVELO_SNAPSHOT_DIR");
    if (!snapshots.isEmpty()) {
        m_main->Label1->setText(QStringLiteral("ROSSI MARIO"));
        m_registry->RegistryWindowActivate();
        m_registry->grab().save(snapshots + QStringLiteral("/registry.png"));
    }
}

void TestRegistry::activationCopiesHeaderFromMainWindow()
{
    m_main->Label1->setText(QStringLiteral("D'ANGELO NICOLÒ"));
    m_registry->show();
    activateLater(m_registry.get());
    QCOMPARE(m_registry->Label1->text(), QStringLiteral("Utente"));
    QTRY_COMPARE(m_registry->Label1->text(), QStringLiteral("D'ANGELO NICOLÒ"));
    QCOMPARE(m_registry->Label4->text(), QStringLiteral("Data"));
    QCOMPARE(m_registry->Label5->text(), QStringLiteral("ID"));
    m_main->Label1->setText(QString());
    m_registry->RegistryWindowActivate();
    QCOMPARE(m_registry->Label1->text(), QString());
}

void TestRegistry::chiudiHandsBackAndRiduciMinimises()
{
    m_registry->show();
    m_registry->RegistryToolbarClick(button(QStringLiteral("Riduci")));
    QVERIFY(m_registry->isMinimized());
    m_registry->showNormal();
    m_registry->Label1->setText(QStringLiteral("ROSSI MARIO"));
    m_registry->RegistryToolbarClick(button(QStringLiteral("Chiudi")));
    QVERIFY(!m_registry->isVisible());
    QVERIFY(m_main->isVisible());
    QCOMPARE(m_main->Label1->text(), QStringLiteral("ROSSI MARIO"));
    // The main window's activation follows once the handler has ended.
    QTRY_COMPARE(m_main->Label1->text(), QString());
    QVERIFY(m_main->Frame3->isVisible());
}

TAVELO_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
