// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

// The status bar of the program's windows: the credit line, the Num Lock and Caps
// Lock indicators, today's date and the time, kept current every second.
class StatusPanels : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusPanels(QWidget *parent = nullptr);

    QLabel *panel(int index) const;
    void refreshClock();
    void setLockStates(bool numLock, bool capsLock);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QLabel *> m_panels;
    QTimer *m_clock;
};
