// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/due_notice.h"

#include "storage/side_connection.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDate>
#include <QStringList>
#include <QThreadPool>
#include <QVariantMap>

#include <atomic>
#include <memory>

namespace {

QString pastDueText(qint64 count)
{
    return count == 1 ? QStringLiteral("1 scadenza scaduta")
                      : QStringLiteral("%1 scadenze scadute").arg(count);
}

QString dueSoonText(qint64 count, bool alone)
{
    const QString what = !alone       ? QStringLiteral("%1 in scadenza")
                         : count == 1 ? QStringLiteral("%1 scadenza in scadenza")
                                      : QStringLiteral("%1 scadenze in scadenza");
    return what.arg(count) + QStringLiteral(" nei prossimi %1 giorni").arg(dueSoonDays);
}

void sendNotification(const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Application, no notification to replace, icon, summary, body, no actions, no
    // hints, and no expiry: it stays until it is dismissed.
    notify << QStringLiteral("Tavelo") << uint(0) << QStringLiteral("tavelo")
           << QStringLiteral("Scadenze") << body << QStringList() << QVariantMap() << int(0);
    // Not waited for: a desktop without the service answers with an error, ignored.
    bus.send(notify);
}

} // namespace

QString dueNoticeText(const DueCounts &counts)
{
    if (counts.pastDue > 0 && counts.dueSoon > 0)
        return pastDueText(counts.pastDue) + QStringLiteral(" e ") +
               dueSoonText(counts.dueSoon, false);
    if (counts.pastDue > 0)
        return pastDueText(counts.pastDue);
    if (counts.dueSoon > 0)
        return dueSoonText(counts.dueSoon, true);
    return {};
}

void notifyDueDeadlines()
{
    const ArchivePlace place = ArchivePlace::ofOpenArchive();
    if (place.isEmpty())
        return;
    const QDate today = QDate::currentDate();
    auto stop = std::make_shared<std::atomic<bool>>(false);
    // The count may still run when the program ends: it gives up then, unsent. The pool's
    // threads are waited for before the application goes.
    auto *sender = new QObject;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, sender, [stop] { *stop = true; });
    QThreadPool::globalInstance()->start([place, today, stop, sender] {
        Result<DueCounts> counts;
        {
            const SideConnection side(place, stop.get());
            counts = countDueDeadlines(side.database(), today, dueSoonDays);
        }
        const QString text = counts.ok() ? dueNoticeText(counts.value) : QString();
        QMetaObject::invokeMethod(
            sender,
            [sender, text] {
                if (!text.isEmpty())
                    sendNotification(text);
                sender->deleteLater();
            },
            Qt::QueuedConnection);
    });
}
