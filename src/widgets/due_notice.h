// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/statements.h"

#include <QString>

// At start, what is past due or due within a week shows itself as one desktop
// notification, never as a message box: the office starts working at once.

// The notification's text for the counts; empty when nothing is due.
QString dueNoticeText(const DueCounts &counts);

// Counts the deadlines of today and sends the notification through the desktop's
// notification service (freedesktop notifications, over the session bus). The count grows
// with the diary: it runs on a thread and a connection of its own, and the notification
// is sent from the calling thread's event loop once it is done. With nothing due, no
// session bus or no service, nothing happens; the notification stays until the operator
// dismisses it.
void notifyDueDeadlines();
