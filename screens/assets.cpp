#include "screens/assets.h"

#include <QFileInfo>
#include <QImageReader>

#include <future>

namespace morvik::assets {

namespace {

QImage read(const QString& name)
{
    QImageReader reader(name, QFileInfo(name).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        qFatal("Morvik Roulette cannot read its picture %s: %s", qPrintable(name), qPrintable(reader.errorString()));
    // Qt scales and draws transparent pictures premultiplied: converted here
    // in place, rather than into a second copy at the first paint.
    if (image.hasAlphaChannel())
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

std::future<QImage> title;

} // namespace

void readTitleAhead()
{
    title = std::async(std::launch::async, read, Title);
}

QImage picture(const QString& name)
{
    if (name == Title && title.valid())
        return title.get();
    return read(name);
}

} // namespace morvik::assets
