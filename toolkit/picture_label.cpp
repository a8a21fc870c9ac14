#include "toolkit/picture_label.h"

#include <QPainter>

namespace morvik {

QImage resampled(const QImage& source, QSize deviceSize)
{
    if (source.isNull() || deviceSize.isEmpty() || source.size() == deviceSize)
        return source;
    const bool wholeFactor = deviceSize.width() % source.width() == 0 &&
                             deviceSize.height() % source.height() == 0 &&
                             deviceSize.width() / source.width() == deviceSize.height() / source.height();
    return source.scaled(deviceSize, Qt::IgnoreAspectRatio,
                         wholeFactor ? Qt::FastTransformation : Qt::SmoothTransformation);
}

PictureLabel::PictureLabel(QWidget* parent)
    : QLabel(parent)
{
}

void PictureLabel::setPicture(const QImage& picture)
{
    source = picture;
    shown = QPixmap();
    update();
}

void PictureLabel::paintEvent(QPaintEvent* event)
{
    if (source.isNull() || size().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    const qreal density = devicePixelRatioF();
    const QSize deviceSize = (QSizeF(size()) * density).toSize();
    if (shown.size() != deviceSize || shown.devicePixelRatio() != density) {
        shown = QPixmap::fromImage(resampled(source, deviceSize));
        shown.setDevicePixelRatio(density);
    }
    QPainter(this).drawPixmap(0, 0, shown);
}

} // namespace morvik
