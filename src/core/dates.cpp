// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dates.h"

#include <QLocale>

void setUpLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C || system.name() == QLatin1String("C"))
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

namespace {

// The short date format of the locale in use, worked out once for that locale: a
// report formats tens of thousands of dates.
struct ShortDates
{
    QLocale locale{QLocale::C};
    QString format;
    // Reports list dates in order: the last one formatted is often the next one asked.
    QDate lastDate;
    QString lastText;

    ShortDates &current()
    {
        const QLocale now;
        if (format.isEmpty() || now != locale) {
            locale = now;
            format = withFourDigitYear(locale.dateFormat(QLocale::ShortFormat));
            lastDate = QDate();
        }
        return *this;
    }

    static QString withFourDigitYear(QString format)
    {
        if (format.contains(QLatin1String("yyyy")))
            return format;
        for (qsizetype at = format.indexOf(QLatin1Char('y')); at >= 0;
             at = format.indexOf(QLatin1Char('y'), at + 4)) {
            qsizetype end = at;
            while (end < format.size() && format.at(end) == QLatin1Char('y'))
                ++end;
            format.replace(at, end - at, QLatin1String("yyyy"));
        }
        return format;
    }
};

ShortDates &shortDates()
{
    static ShortDates dates;
    return dates.current();
}

} // namespace

QString screenDateFormat()
{
    return shortDates().format;
}

QString toScreenDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    ShortDates &dates = shortDates();
    if (date != dates.lastDate) {
        dates.lastText = dates.locale.toString(date, dates.format);
        dates.lastDate = date;
    }
    return dates.lastText;
}

QDate fromScreenDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QString format = screenDateFormat();
    QDate date = QLocale().toDate(trimmed, format);
    if (date.isValid())
        return date.year() >= 1000 ? date : QDate();
    // Accept "1/2/2024" for "01/02/2024": shorten the day and month fields only.
    QString lenient = format;
    lenient.replace(QLatin1String("dd"), QLatin1String("d"));
    lenient.replace(QLatin1String("MM"), QLatin1String("M"));
    date = QLocale().toDate(trimmed, lenient);
    // "yyyy" also takes "24"; a year of fewer than four digits is refused, not guessed.
    return date.isValid() && date.year() >= 1000 ? date : QDate();
}

QString todayScreenDate()
{
    return toScreenDate(QDate::currentDate());
}

QString toStoredDate(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QDate fromStoredDate(const QString &text)
{
    // A stamp column may hold "yyyy-MM-ddTHH:mm:ss" or "yyyy-MM-dd HH:mm:ss".
    return QDate::fromString(text.left(10), Qt::ISODate);
}

QString toStoredDateTime(const QDateTime &moment)
{
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

QDateTime fromStoredDateTime(const QString &text)
{
    QString iso = text.trimmed();
    if (iso.size() > 10 && iso.at(10) == QLatin1Char(' '))
        iso[10] = QLatin1Char('T');
    QDateTime moment = QDateTime::fromString(iso, Qt::ISODate);
    if (!moment.isValid()) {
        const QDate day = fromStoredDate(iso);
        if (day.isValid())
            moment = QDateTime(day, QTime(0, 0));
    }
    return moment;
}

QString toScreenDateTime(const QDateTime &moment)
{
    if (!moment.isValid())
        return {};
    return toScreenDate(moment.date()) + QLatin1Char(' ') +
           moment.time().toString(QStringLiteral("HH:mm:ss"));
}

QString toLongDate(const QDate &date)
{
    return date.isValid() ? QLocale().toString(date, QLocale::LongFormat) : QString();
}
