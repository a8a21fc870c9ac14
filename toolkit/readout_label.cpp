#include "toolkit/readout_label.h"

#include <QAccessibleWidget>

namespace morvik {

namespace {

class ReadoutAccessible : public QAccessibleWidget {
public:
    explicit ReadoutAccessible(ReadoutLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* readoutInterface(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(ReadoutLabel::staticMetaObject.className()))
        return new ReadoutAccessible(static_cast<ReadoutLabel*>(object));
    return nullptr;
}

} // namespace

ReadoutLabel::ReadoutLabel(QWidget* parent)
    : QLabel(parent)
{
    static const bool registered = (QAccessible::installFactory(readoutInterface), true);
    (void)registered;
}

void ReadoutLabel::showValue(const QString& value)
{
    if (value == text())
        return;
    setText(value);
    QAccessibleValueChangeEvent event(this, value);
    QAccessible::updateAccessibility(&event);
}

} // namespace morvik
