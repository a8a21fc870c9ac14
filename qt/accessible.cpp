#include "qt/screens.h"

#include <QAccessibleWidget>

namespace morvik {

namespace {

constexpr auto QtRoles = byRole<QAccessible::Role>(
    {{Role::Window, QAccessible::Window}, {Role::Pane, QAccessible::Pane}, {Role::Button, QAccessible::Button},
     {Role::Graphic, QAccessible::Graphic}, {Role::Text, QAccessible::StaticText}, {Role::List, QAccessible::List},
     {Role::Readout, QAccessible::StaticText}});

// Row `row` of a bet list: pressing it selects it, as a press of the mouse does.
class EntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    EntryAccessible(ControlWidget* list, int row)
        : list(list)
        , row(row)
    {
    }

    bool isValid() const override { return row < static_cast<int>(told().entries.size()); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? QString::fromUtf8(told().entries[row]) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.selected = told().selected == row;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString&) override { list->session.pressEntry(list->id, row); }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    ControlWidget* const list;
    const int row;

private:
    Accessible told() const { return list->session.accessible(list->id); }
};

// The readout's value is the drawn number, which AT-SPI carries only from a value.
class ControlAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ControlAccessible(ControlWidget* widget)
        : QAccessibleWidget(widget, QtRoles[static_cast<int>(Controls[widget->id].role)])
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
        return QString::fromUtf8(t == QAccessible::Name          ? now.name
                        : t == QAccessible::Description ? now.description
                        : t == QAccessible::Value       ? now.value
                                                        : std::string());
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
    void doAction(const QString&) override { session().click(id()); }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface && Controls[id()].kind == Kind::Readout
            ? static_cast<QAccessibleValueInterface*>(this)
            : QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return QString::fromUtf8(session().accessible(id()).value).section(u',', 0, 0).toInt(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return NumberCount - 1; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
    // A window's or a box's children are its widgets, a bet list's its entries.
    int childCount() const override
    {
        return isList() ? static_cast<int>(session().accessible(id()).entries.size()) : QAccessibleWidget::childCount();
    }
    // One interface per entry, made when first asked for, gone with the entry.
    QAccessibleInterface* child(int index) const override
    {
        if (!isList())
            return QAccessibleWidget::child(index);
        const auto count = static_cast<std::size_t>(childCount());
        for (; entries.size() > count; entries.pop_back())
            QAccessible::deleteAccessibleInterface(entries.back());
        while (entries.size() < count)
            entries.push_back(QAccessible::registerAccessibleInterface(
                new EntryAccessible(static_cast<ControlWidget*>(widget()), static_cast<int>(entries.size()))));
        return index >= 0 && index < childCount() ? QAccessible::accessibleInterface(entries[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return !isList() ? QAccessibleWidget::indexOfChild(child)
            : child && child->role() == QAccessible::ListItem ? static_cast<const EntryAccessible*>(child)->row : -1;
    }

private:
    Session& session() const { return static_cast<ControlWidget*>(widget())->session; }
    int id() const { return static_cast<ControlWidget*>(widget())->id; }
    bool isList() const { return Controls[id()].kind == Kind::List; }

    mutable std::vector<QAccessible::Id> entries;
};

} // namespace

void installAccessibility()
{
    QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        if (className != QLatin1StringView(ControlWidget::staticMetaObject.className()))
            return nullptr;
        return new ControlAccessible(static_cast<ControlWidget*>(object));
    });
}

} // namespace morvik
