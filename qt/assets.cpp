#include "qt/assets.h"

#include <QImageReader>

namespace morvik::assets {

QImage picture(Art art, int index, int density)
{
    const QString name = art == Art::Title ? QStringLiteral("title")
        : art == Art::Logo                 ? QStringLiteral("logo")
                                           : QStringLiteral("chip-%1").arg(ChipValues[index]);
    // Qt's reader takes the device pixel ratio from the name's "@2x".
    QImageReader reader(QStringLiteral(":/pictures/%1@%2x.ppm").arg(name).arg(density), "ppm");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        qFatal("Morvik Roulette cannot read its picture %s: %s", qPrintable(reader.fileName()),
               qPrintable(reader.errorString()));
    return image;
}

} // namespace morvik::assets
