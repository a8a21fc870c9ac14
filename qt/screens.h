// The game's two windows on Qt Widgets: one widget per row of the layout's
// table of controls, made with its window, drawing the session's plan for it.
// Raw events go to the session as they come; what it shows is drawn and told to screen readers.
#pragma once

#include "session/session.h"

#include <QCoreApplication>
#include <QDBusVariant>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <memory>

namespace morvik {

class ControlWidget : public QWidget {
    Q_OBJECT

public:
    ControlWidget(int control, Session& session, QWidget* parent);

    const int id;
    Session& session;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { press(event, false); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { press(event, true); }
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Turning the wheel towards the player scrolls down.
    void wheelEvent(QWheelEvent* event) override { session.wheel(id, -event->angleDelta().y()); }
    void closeEvent(QCloseEvent* event) override;

private:
    Scale scale() const { return session.scale(id); }
    void press(QMouseEvent* event, bool second);
};

class Screens : public QObject, private Display {
    Q_OBJECT

public:
    explicit Screens(Session::Services services);

    Session session;
    // Null until made.
    QWidget* widget(int control) const { return widgets[control]; }

protected:
    // Every key of every window, and the keyboard's loss.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);
    void setContrast(const QDBusVariant& value);

private:
    void followContrast();
    void build(int window);
    void layOut(int window);
    void makeTable() override;
    void show(int control, bool visible) override;
    void redraw(int control) override;
    void announce(int control) override;
    void quit() override { QCoreApplication::quit(); }

    std::array<ControlWidget*, ids::Count> widgets{};
    std::array<Accessible, ids::Count> told; // what assistive technology last heard
    int toldFocus = -1;
    std::pair<int, quint64> released{}; // the last key let go, and when
    // The two windows have no owner; each owns the widgets inside it.
    std::array<std::unique_ptr<QWidget>, 2> windows;
    QTimer timer1{this};
};

// Qt's accessibility asks the session about every ControlWidget from now on.
void installAccessibility();

} // namespace morvik
