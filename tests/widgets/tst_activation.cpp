// SPDX-License-Identifier: GPL-3.0-or-later
// Queued activation of a window, and the one way the program ends.
#include "test_support.h"

#include "widgets/activation.h"

#include <QWidget>

namespace {

class ActivationProbe : public QWidget, public ActivatableWindow
{
public:
    QStringList *log = nullptr;
    void runActivation() override { *log << QStringLiteral("activated"); }
};

} // namespace

class TestActivation : public QObject
{
    Q_OBJECT

private slots:
    void activationRunsAfterCurrentHandler();
};

void TestActivation::activationRunsAfterCurrentHandler()
{
    QStringList log;
    auto probe = std::make_unique<ActivationProbe>();
    probe->log = &log;
    activateLater(probe.get());
    log << QStringLiteral("handler ends");
    QCOMPARE(log, QStringList({"handler ends"}));
    QTRY_COMPARE(log, QStringList({"handler ends", "activated"}));
    // A window that is gone before its turn is not activated.
    activateLater(probe.get());
    probe.reset();
    QCoreApplication::processEvents();
    QCOMPARE(log.size(), 2);
    ProgramEndRecorder recorder;
    endProgram(3);
    endProgram();
    QCOMPARE(recorder.statuses(), QList<int>({3, 0}));
}

TAVELO_TEST_MAIN(TestActivation)
#include "tst_activation.moc"
