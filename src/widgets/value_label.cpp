// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/value_label.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

constexpr char captionProperty[] = "tavelo_valueCaption";

class ValueLabelAccessible : public QAccessibleWidget
{
public:
    explicit ValueLabelAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText)
    {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return valueReading(static_cast<const QLabel *>(widget()));
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *valueLabelFactory(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (label && label->property(captionProperty).isValid())
        return new ValueLabelAccessible(label);
    return nullptr;
}

} // namespace

void readAsValue(QLabel *label, const QString &caption, ValueChanges changes)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(valueLabelFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    label->setProperty(captionProperty, caption);
    // Qt may already have made the plain label's interface (a label made inside its
    // window gets one at once): drop it, so that the next one is asked for is ours.
    QAccessibleInterface *existing = QAccessible::queryAccessibleInterface(label);
    if (existing && !dynamic_cast<ValueLabelAccessible *>(existing))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
    // A label without an accessible name of its own tells the reader that its name
    // changed at every new text; one with a name stays silent.
    label->setAccessibleName(changes == ValueChanges::Quiet ? caption : QString());
}

QString valueReading(const QLabel *label)
{
    const QString caption = label->property(captionProperty).toString();
    const QString value = label->text().isEmpty() ? QStringLiteral("nessuno") : label->text();
    return caption.isEmpty() ? value : caption + QStringLiteral(": ") + value;
}
