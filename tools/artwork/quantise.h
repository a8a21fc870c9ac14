// Reduces a rendered ARGB picture to a palette picture for the GIF writer.
#pragma once

#include "gif.h"

#include <QImage>

namespace artwork {

// Median-cut quantisation to at most 255 opaque colours. Pixels with alpha
// below one half become `transparentIndex`; the rest are blended onto black
// first, because the game shows the picture on a black window. No opaque
// pixel is ever given `transparentIndex`.
IndexedImage quantiseOnBlack(const QImage& image, int transparentIndex);

}  // namespace artwork
