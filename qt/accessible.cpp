#include "qt/accessible.h"

#include "qt/fonts.h"

#include <QAccessibleWidget>

namespace morvik {

namespace {

constexpr QAccessible::Role QtRoles[]{QAccessible::Window,  QAccessible::Pane,       QAccessible::Button,
                                      QAccessible::Graphic, QAccessible::StaticText, QAccessible::List,
                                      QAccessible::StaticText};

// Row `row` of a bet list: pressing it selects it, as a press of the mouse does.
class EntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    EntryAccessible(ControlWidget* list, int row)
        : list(list)
        , row(row)
    {
    }

    bool isValid() const override { return row < static_cast<int>(look().entries.size()); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? fromUtf8(look().entries[row]) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.selected = look().selected == row;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            list->owner().pressEntry(list->control(), row);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const Look& look() const { return list->owner().look(list->control()); }

    ControlWidget* list;
    int row;
};

class ControlAccessible : public QAccessibleWidget {
public:
    explicit ControlAccessible(ControlWidget* widget)
        : QAccessibleWidget(widget, QtRoles[static_cast<int>(Controls[widget->control()].role)])
    {
    }
    ~ControlAccessible() override
    {
        for (const QAccessible::Id entry : entries)
            QAccessible::deleteAccessibleInterface(entry);
    }

    QString text(QAccessible::Text t) const override
    {
        const Accessible now = session().accessible(id());
        switch (t) {
        case QAccessible::Name: return fromUtf8(now.name);
        case QAccessible::Description: return fromUtf8(now.description);
        case QAccessible::Value: return fromUtf8(now.value);
        default: return QAccessibleWidget::text(t);
        }
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = Controls[id()].clickable || isList();
        state.focused = session().focus() == id();
        state.pressed = session().accessible(id()).pressed;
        return state;
    }
    QStringList actionNames() const override
    {
        return Controls[id()].clickable ? QStringList(pressAction()) : QStringList();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            session().click(id());
    }
    int childCount() const override
    {
        return isList() ? static_cast<int>(session().look(id()).entries.size()) : QAccessibleWidget::childCount();
    }
    QAccessibleInterface* child(int index) const override
    {
        if (!isList())
            return QAccessibleWidget::child(index);
        // One interface per row, made when first asked for, gone with the row.
        const auto count = static_cast<std::size_t>(childCount());
        for (; entries.size() > count; entries.pop_back())
            QAccessible::deleteAccessibleInterface(entries.back());
        while (entries.size() < count)
            entries.push_back(QAccessible::registerAccessibleInterface(
                new EntryAccessible(widget(), static_cast<int>(entries.size()))));
        return index >= 0 && index < childCount() ? QAccessible::accessibleInterface(entries[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!isList())
            return QAccessibleWidget::indexOfChild(child);
        const auto at = std::find(entries.begin(), entries.end(), QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)));
        return at == entries.end() ? -1 : static_cast<int>(at - entries.begin());
    }

private:
    ControlWidget* widget() const { return static_cast<ControlWidget*>(object()); }
    Session& session() const { return widget()->owner(); }
    int id() const { return widget()->control(); }
    bool isList() const { return Controls[id()].kind == Kind::List; }

    mutable std::vector<QAccessible::Id> entries;
};

QAccessibleInterface* controlInterface(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(ControlWidget::staticMetaObject.className()))
        return new ControlAccessible(static_cast<ControlWidget*>(object));
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(controlInterface);
}

void tellChanges(ControlWidget* widget, const Accessible& before, const Accessible& now)
{
    auto tell = [widget](QAccessible::Event type, int child = -1) {
        QAccessibleEvent event(widget, type);
        event.setChild(child);
        QAccessible::updateAccessibility(&event);
    };
    if (now.name != before.name)
        tell(QAccessible::NameChanged);
    if (now.description != before.description)
        tell(QAccessible::DescriptionChanged);
    if (now.pressed != before.pressed) {
        QAccessible::State pressed;
        pressed.pressed = true;
        QAccessibleStateChangeEvent event(widget, pressed);
        QAccessible::updateAccessibility(&event);
    }
    if (now.role == Role::List) {
        tell(QAccessible::ObjectReorder);
        if (now.value != before.value)
            tell(QAccessible::Selection, widget->owner().look(widget->control()).selected);
    }
}

} // namespace morvik
