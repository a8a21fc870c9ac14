// The game's two windows on Qt Widgets: one widget per row of the layout's
// table of controls, made when its window is first needed. Everything a
// player does goes to the session as it comes; what the session tells the
// Display is shown.
#pragma once

#include "qt/bet_list.h"
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
    // Delete and Backspace, from every window of the program.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(int window);

    void makeTable() override;
    void show(int control, bool visible) override;
    void setText(int control, std::string_view text, Rgb colour, int pixelSize) override;
    void describe(int control, std::string_view description) override;
    void announce(int control) override;
    void appendEntry(int list, std::string_view text) override;
    void removeEntry(int list, int row) override;
    void clearEntries(int list) override;
    void selectEntry(int list, int row) override;
    void quit() override;

    BetList* list(int control) const { return static_cast<BetList*>(widgets[control]); }

    Session players;
    std::array<QWidget*, ids::Count> widgets{};
    // The two windows have no owner; each owns the widgets inside it.
    std::array<std::unique_ptr<QWidget>, 2> windows;
    QTimer timer1{this};
};

} // namespace morvik
