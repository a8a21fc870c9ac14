// A picture decoded at build time (bake_picture.cpp) and read back by
// assets::picture() straight from the program's resources.
#pragma once

#include <QtGlobal>

namespace morvik {

inline constexpr quint32 BakedPictureMagic = 0x504b564d; // "MVKP" in memory on a little-endian machine

struct BakedPictureHeader {
    quint32 magic;
    quint32 width;
    quint32 height;
    quint32 format; // QImage::Format: Format_RGB32 or Format_ARGB32_Premultiplied
};
static_assert(sizeof(BakedPictureHeader) == 16, "the rows must follow the header on a 16-byte boundary");

} // namespace morvik
