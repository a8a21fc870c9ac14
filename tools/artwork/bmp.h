// Writes pictures as 24-bit uncompressed Windows bitmaps, the format the
// game loads its logo and chip images from.
#pragma once

#include <QImage>
#include <QString>

namespace artwork {

// Stores `image` as a BITMAPINFOHEADER bitmap: 24 bits per pixel, BI_RGB,
// bottom-up rows padded to four bytes. Alpha is dropped, so callers draw on
// an opaque background first. Returns false if the file cannot be written.
bool writeBmp24(const QImage& image, const QString& path);

}  // namespace artwork
