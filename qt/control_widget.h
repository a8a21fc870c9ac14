// One row of the layout's table of controls as a Qt widget: a window, a box,
// a caption, a picture, a click area or the readout. It draws what its row
// and the session say, and passes the left button's presses and releases,
// and the desktop's close requests, to the session.
#pragma once

#include "session/session.h"

#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace morvik {

class ControlWidget : public QWidget {
    Q_OBJECT

public:
    ControlWidget(int control, Session& session, QWidget* parent);

    int control() const { return id; }
    Session& owner() const { return session; }
    QString text() const { return lines.join(QLatin1Char(' ')); }
    void setText(std::string_view text, Rgb colour, int pixelSize);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void paintFigures(QPainter& painter);
    void paintPicture(QPainter& painter);
    void paintCaption(QPainter& painter);

    int id;
    Session& session;
    QStringList lines;
    Rgb colour;
    int pixelSize;
    QImage picture;
    QPixmap shown; // the picture resampled for the density last painted at
};

} // namespace morvik
