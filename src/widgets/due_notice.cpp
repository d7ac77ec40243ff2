// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/due_notice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDate>
#include <QStringList>
#include <QVariantMap>

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
    const Result<DueCounts> counts = countDueDeadlines(QDate::currentDate(), dueSoonDays);
    if (!counts.ok())
        return;
    const QString text = dueNoticeText(counts.value);
    if (!text.isEmpty())
        sendNotification(text);
}
