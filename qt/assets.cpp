#include "qt/assets.h"

#include <QFileInfo>
#include <QImageReader>

namespace morvik::assets {

QImage picture(const QString& name)
{
    QImageReader reader(name, QFileInfo(name).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        qFatal("Morvik Roulette cannot read its picture %s: %s", qPrintable(name), qPrintable(reader.errorString()));
    // The title comes with a palette; Qt scales it four times as fast as RGB32.
    image.convertTo(QImage::Format_RGB32);
    return image;
}

} // namespace morvik::assets
