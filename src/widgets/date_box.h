// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDate>
#include <QLineEdit>

class QCalendarWidget;
class QToolButton;

// A date as text in the short date form, with a calendar that drops down from the
// button at its right end (or with Alt+Down and F4).
class DateBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit DateBox(QWidget *parent = nullptr);

    // The date that the text stands for; invalid when the text is empty or no date.
    QDate date() const;
    void setDate(const QDate &date);

    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);

    void showCalendar();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    static constexpr int buttonWidth = 14;
    QToolButton *m_button = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QWidget *m_popup = nullptr;
};
