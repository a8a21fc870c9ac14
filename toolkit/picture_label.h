// A label that shows a picture over its whole rectangle, resampled from the
// source for the pixel density of the screen it is on: a high-density screen
// gets the source's own detail instead of an enlarged copy of a small one,
// and a picture enlarged by a whole factor keeps its pixels sharp.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace morvik {

// The source brought to `deviceSize`: enlarged by whole pixels when the size
// is a whole multiple of the source's, smoothly resampled otherwise.
QImage resampled(const QImage& source, QSize deviceSize);

class PictureLabel : public QLabel {
    Q_OBJECT

public:
    explicit PictureLabel(QWidget* parent);

    // A null picture leaves the label to show its text.
    void setPicture(const QImage& source);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage source;
    QPixmap shown; // the source resampled for the density last painted at
};

} // namespace morvik
