// One row of the layout's table of controls as a Qt widget. It draws the
// session's plan for it and passes the mouse, the wheel and the desktop's
// close requests on to the session as they come.
#pragma once

#include "session/session.h"

#include <QPixmap>
#include <QWidget>

namespace morvik {

class ControlWidget : public QWidget {
    Q_OBJECT

public:
    ControlWidget(int control, Session& session, QWidget* parent);

    int control() const { return id; }
    Session& owner() const { return session; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Scale scale() const { return {qRound(96 * devicePixelRatioF())}; }
    void press(QMouseEvent* event, bool second);
    const QPixmap& picture(const Picture& shape);

    int id;
    Session& session;
    QPixmap shown; // the picture as last drawn, at its box's size
    int shownDensity = 0;
};

} // namespace morvik
