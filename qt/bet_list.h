// A player's bet list: one line per chip laid, light grey on black. It shows
// the selection the session gives it and passes presses on; it takes no
// keyboard focus and changes no selection of its own accord.
#pragma once

#include "session/session.h"

#include <QListWidget>

namespace morvik {

class BetList : public QListWidget {
    Q_OBJECT

public:
    BetList(int control, Session& session, QWidget* parent);

    void select(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}

private:
    int control;
    Session& session;
};

} // namespace morvik
