// The game's two windows on Qt Widgets: one widget per row of the layout's
// table of controls, made when its window is first needed. Everything a
// player does goes to the session as it comes; what the session asks the
// Display for is drawn and told to assistive technology.
#pragma once

#include "qt/control_widget.h"

#include <QTime>
#include <QTimer>

#include <array>
#include <memory>

namespace morvik {

class SystemClock : public Clock {
public:
    float timeOfDay() override { return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f; }
};

class Screens : public QObject, private Display {
    Q_OBJECT

public:
    // Shows the title window.
    explicit Screens(Session::Services services);
    ~Screens() override;

    Session& session() { return players; }
    // Null until made.
    QWidget* widget(int control) const { return widgets[control]; }

protected:
    // The keyboard, from every window of the program, and its loss.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(int window);

    void makeTable() override;
    void show(int control, bool visible) override;
    void redraw(int control) override;
    void announce(int control) override;
    void quit() override;

    Session players;
    std::array<ControlWidget*, ids::Count> widgets{};
    std::array<Accessible, ids::Count> told; // what assistive technology last heard
    int toldFocus = -1;
    // The two windows have no owner; each owns the widgets inside it.
    std::array<std::unique_ptr<QWidget>, 2> windows;
    QTimer timer1{this};
};

} // namespace morvik
