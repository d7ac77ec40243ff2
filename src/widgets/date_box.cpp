// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/date_box.h"

#include "core/dates.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QVBoxLayout>

DateBox::DateBox(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(10);
    // Narrow enough that a whole date fits beside the calendar button.
    QFont narrow = font();
    narrow.setPointSizeF(8);
    setFont(narrow);
    setPlaceholderText(QLocale()
                           .toString(QDate(2000, 12, 31), screenDateFormat())
                           .replace(QLatin1String("31"), QLatin1String("gg"))
                           .replace(QLatin1String("12"), QLatin1String("mm"))
                           .replace(QLatin1String("2000"), QLatin1String("aaaa")));
    QAction *calendar =
        addAction(QIcon(QStringLiteral(":/pictures/calendar.svg")), QLineEdit::TrailingPosition);
    calendar->setToolTip(QStringLiteral("Calendario (Alt+Giù)"));
    connect(calendar, &QAction::triggered, this, &DateBox::showCalendar);
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
    return palette().color(QPalette::Active, QPalette::Base);
}

void DateBox::setBackgroundColor(const QColor &color)
{
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Base, color);
    setPalette(colours);
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
