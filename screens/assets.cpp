#include "screens/assets.h"

#include "screens/baked_picture.h"

#include <QResource>

#include <cstring>

namespace morvik::assets {

QImage picture(const QString& name)
{
    const QResource resource(name);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() < qint64(sizeof(BakedPictureHeader)))
        return QImage();
    const uchar* data = resource.data();
    BakedPictureHeader header;
    std::memcpy(&header, data, sizeof header);
    const auto format = static_cast<QImage::Format>(header.format);
    if (header.magic != BakedPictureMagic || header.width == 0 || header.height == 0 || header.width > 0x4000 ||
        header.height > 0x4000 || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) ||
        resource.size() != qint64(sizeof header) + qint64(header.width) * header.height * 4)
        return QImage();

    const uchar* pixels = data + sizeof header;
    const QImage image(pixels, int(header.width), int(header.height), int(header.width) * 4, format);
    // QImage reads its rows as 32-bit words; rcc makes no promise about where
    // a file lands in the resource data, so a misplaced one is copied.
    if (reinterpret_cast<quintptr>(pixels) % alignof(quint32) != 0)
        return image.copy();
    return image;
}

} // namespace morvik::assets
