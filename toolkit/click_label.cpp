#include "toolkit/click_label.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace morvik {

namespace {

// A clickable label as a screen reader knows it: a button with a press action.
class ClickLabelAccessible : public QAccessibleWidget {
public:
    explicit ClickLabelAccessible(ClickLabel* label)
        : QAccessibleWidget(label, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            return label()->text();
        return text;
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        // Only what the mouse could click: not a label in a hidden tray.
        if (action == pressAction() && label()->isEnabled() && label()->isVisible()) {
            label()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }
};

QAccessibleInterface* clickLabelInterface(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(ClickLabel::staticMetaObject.className()))
        return new ClickLabelAccessible(static_cast<ClickLabel*>(object));
    return nullptr;
}

} // namespace

ClickLabel::ClickLabel(int index, QWidget* parent)
    : PictureLabel(parent)
    , elementIndex(index)
{
    static const bool registered = (QAccessible::installFactory(clickLabelInterface), true);
    (void)registered;
}

void ClickLabel::click()
{
    emit clicked(elementIndex);
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed = true;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A press that is dragged off the label and let go elsewhere is no click.
    const bool inside = rect().contains(event->position().toPoint());
    const bool click = pressed && inside;
    pressed = false;
    event->accept();
    if (click)
        emit clicked(elementIndex);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Players lay chips as fast as they can click; the second click of a quick
    // pair arrives as a double-click and must lay its chip like the first.
    mousePressEvent(event);
}

} // namespace morvik
