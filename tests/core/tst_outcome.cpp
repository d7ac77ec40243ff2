// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/outcome.h"

#include <QTest>

class TestOutcome : public QObject
{
    Q_OBJECT

private slots:
    void failureNeverPassesForSuccess_data();
    void failureNeverPassesForSuccess();
};

// A step below that failed without words must not read as done to its caller.
void TestOutcome::failureNeverPassesForSuccess_data()
{
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("shown");
    QTest::newRow("reason as given") << "il file manca."
                                     << "il file manca.";
    QTest::newRow("no words from below") << QString() << "errore sconosciuto.";
}

void TestOutcome::failureNeverPassesForSuccess()
{
    QFETCH(QString, why);
    const Outcome<QString> failed = Outcome<QString>::failure(why);
    QVERIFY(!failed.ok());
    QTEST(failed.problem, "shown");
    QVERIFY(passed().ok());
}

QTEST_APPLESS_MAIN(TestOutcome)
#include "tst_outcome.moc"
