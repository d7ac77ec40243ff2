// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/date_box.h"

#include "core/dates.h"
#include "widgets/background_colour.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

DateBox::DateBox(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(10);
    // Narrow enough that a whole date fits beside the calendar button.
    QFont narrow = font();
    narrow.setPointSizeF(8);
    setFont(narrow);
    // The form of a date is told in the tool tip and to the screen reader: as a hint
    // inside the box it would not fit beside the calendar button.
    const QString form = QLocale()
                             .toString(QDate(2000, 12, 31), screenDateFormat())
                             .replace(QLatin1String("31"), QLatin1String("gg"))
                             .replace(QLatin1String("12"), QLatin1String("mm"))
                             .replace(QLatin1String("2000"), QLatin1String("aaaa"));
    setToolTip(QStringLiteral("Data nella forma %1").arg(form));
    setAccessibleDescription(form);
    // A slim button inside the box's right end, so that a whole date fits in a narrow
    // box beside it.
    m_button = new QToolButton(this);
    m_button->setIcon(QIcon(QStringLiteral(":/pictures/calendar.svg")));
    m_button->setAutoRaise(true);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setCursor(Qt::ArrowCursor);
    m_button->setToolTip(QStringLiteral("Calendario (Alt+Giù)"));
    m_button->setAccessibleName(QStringLiteral("Calendario"));
    m_button->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0px; }"));
    setTextMargins(0, 0, buttonWidth, 0);
    connect(m_button, &QToolButton::clicked, this, &DateBox::showCalendar);
}

void DateBox::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int side = height() - 2 * frame;
    m_button->setIconSize(QSize(buttonWidth - 2, qMin(buttonWidth - 2, side)));
    m_button->setGeometry(width() - frame - buttonWidth, frame, buttonWidth, side);
}

QDate DateBox::date() const
{
    return fromScreenDate(text());
}

void DateBox::setDate(const QDate &date)
{
    setText(toScreenDate(date));
}

QColor DateBox::backgroundColor() const
{
    return backgroundColour(this);
}

void DateBox::setBackgroundColor(const QColor &color)
{
    setBackgroundColour(this, color);
}

void DateBox::showCalendar()
{
    if (!isEnabled() || isReadOnly())
        return;
    if (!m_popup) {
        m_popup = new QWidget(this, Qt::Popup);
        auto *layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(0, 0, 0, 0);
        m_calendar = new QCalendarWidget(m_popup);
        m_calendar->setGridVisible(true);
        layout->addWidget(m_calendar);
        const auto pick = [this](const QDate &picked) {
            setDate(picked);
            m_popup->hide();
            setFocus();
        };
        connect(m_calendar, &QCalendarWidget::activated, this, pick);
        connect(m_calendar, &QCalendarWidget::clicked, this, pick);
    }
    const QDate current = date();
    m_calendar->setSelectedDate(current.isValid() ? current : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus();
}

void DateBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
