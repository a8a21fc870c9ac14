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
    return image;
}

} // namespace morvik::assets
