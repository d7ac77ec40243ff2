// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/status_panels.h"

#include "core/dates.h"
#include "core/version.h"
#include "widgets/value_label.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTime>
#include <QTimer>

namespace {

QString creditLine()
{
    return QStringLiteral("Tavelo %1 · Quorvalia").arg(versionNumber());
}

// X11 keeps the lock states in the key event's modifier mask.
constexpr quint32 x11LockMask = 0x02;
constexpr quint32 x11NumLockMask = 0x10;

} // namespace

StatusPanels::StatusPanels(QWidget *parent) : QStatusBar(parent), m_clock(new QTimer(this))
{
    setSizeGripEnabled(false);
    const QStringList texts = {creditLine(), QStringLiteral("BLOC NUM"),
                               QStringLiteral("BLOC MAIUSC"), QString(), QString()};
    for (int i = 0; i < texts.size(); ++i) {
        auto *label = new QLabel(texts.at(i), this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        label->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        addPermanentWidget(label, i == 0 ? 1 : 0);
        m_panels.append(label);
    }
    m_panels.at(1)->setMinimumWidth(90);
    m_panels.at(2)->setMinimumWidth(110);
    m_panels.at(3)->setMinimumWidth(90);
    m_panels.at(4)->setMinimumWidth(70);
    // Read with their values when the reader asks, but the clock must not speak up
    // every second.
    readAsValue(m_panels.at(3), QStringLiteral("Data"), ValueChanges::Quiet);
    readAsValue(m_panels.at(4), QStringLiteral("Ora"), ValueChanges::Quiet);
    setLockStates(false, false);
    refreshClock();
    connect(m_clock, &QTimer::timeout, this, &StatusPanels::refreshClock);
    m_clock->start(1000);
    qApp->installEventFilter(this);
}

QLabel *StatusPanels::panel(int index) const
{
    return m_panels.value(index);
}

void StatusPanels::refreshClock()
{
    m_panels.at(3)->setText(todayScreenDate());
    m_panels.at(4)->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void StatusPanels::setLockStates(bool numLock, bool capsLock)
{
    // Every key press comes here: a panel is renamed, and so announced, only when its
    // state really changes.
    const auto show = [](QLabel *panel, bool on) {
        const QString name =
            panel->text() + (on ? QStringLiteral(" attivo") : QStringLiteral(" non attivo"));
        panel->setEnabled(on);
        if (panel->accessibleName() != name)
            panel->setAccessibleName(name);
    };
    show(m_panels.at(1), numLock);
    show(m_panels.at(2), capsLock);
}

bool StatusPanels::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        QGuiApplication::platformName() == QLatin1String("xcb")) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const quint32 mask = key->nativeModifiers();
        bool caps = mask & x11LockMask;
        bool num = mask & x11NumLockMask;
        // The mask is the state before this key: a lock key itself flips its own bit.
        if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_CapsLock)
            caps = !caps;
        if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_NumLock)
            num = !num;
        setLockStates(num, caps);
    }
    return QStatusBar::eventFilter(watched, event);
}
