// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop notification at start: sent to a notification service of the test's own,
// on the private session bus that the test runs on.
#include "test_support.h"

#include "widgets/due_notice.h"

#include <QDBusConnection>
#include <QVariantMap>

class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList bodies;
    int timeout = -2;

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &, const QString &body,
                const QStringList &, const QVariantMap &, int expireTimeout)
    {
        bodies << body;
        timeout = expireTimeout;
        return uint(bodies.size());
    }
};

class TestDueNotice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneNotificationCountsWhatIsDue_data();
    void oneNotificationCountsWhatIsDue();

private:
    FakeNotifications m_service;
};

void TestDueNotice::initTestCase()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QVERIFY2(bus.isConnected(), "no session bus: run under dbus-run-session");
    QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_service,
                               QDBusConnection::ExportAllSlots));
    QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
}

void TestDueNotice::oneNotificationCountsWhatIsDue_data()
{
    QTest::addColumn<QList<int>>("dueInDays");
    QTest::addColumn<QString>("notice");
    QTest::newRow("nothing due") << QList<int>{8, 30} << QString();
    QTest::newRow("one past due") << QList<int>{-1, 8} << "1 scadenza scaduta";
    QTest::newRow("due today and in a week")
        << QList<int>{0, 7, 7} << "3 scadenze in scadenza nei prossimi 7 giorni";
    QTest::newRow("one due soon") << QList<int>{3}
                                  << "1 scadenza in scadenza nei prossimi 7 giorni";
    QTest::newRow("both") << QList<int>{-400, -1, 3, 9}
                          << "2 scadenze scadute e 1 in scadenza nei prossimi 7 giorni";
}

void TestDueNotice::oneNotificationCountsWhatIsDue()
{
    QFETCH(QList<int>, dueInDays);
    QFETCH(QString, notice);
    TestDatabase db;
    QVERIFY(db.isOpen());
    const qint64 user = db.addSubject(QStringLiteral("ROSSI MARIO"));
    const QDate today = QDate::currentDate();
    for (int days : dueInDays)
        db.addEntry(user, today.addDays(-500), today.addDays(days), QStringLiteral("voce"));
    // Neither an entry without a due date nor one whose owner is gone is in the overview.
    db.addEntry(user, today.addDays(-500), QDate(), QStringLiteral("senza scadenza"));
    db.addEntry(user + 1000, today.addDays(-500), today.addDays(-1), QStringLiteral("orfana"));
    m_service.bodies.clear();
    notifyDueDeadlines();
    if (notice.isEmpty()) {
        QTest::qWait(300);
        QCOMPARE(m_service.bodies, QStringList());
    } else {
        QTRY_COMPARE(m_service.bodies, QStringList{notice});
        QCOMPARE(m_service.timeout, 0); // stays until dismissed
    }
}

TAVELO_TEST_MAIN(TestDueNotice)
#include "tst_due_notice.moc"
