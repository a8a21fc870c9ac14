// Writes a single-frame GIF89a with one transparent palette entry, the format
// of the game's title picture.
#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace artwork {

// A palette picture: every pixel is an index into a 256-entry colour table.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::array<QRgb, 256> palette{};
    std::vector<std::uint8_t> pixels;  // row-major, width * height entries
};

// Variable-width LZW as GIF uses it for 8-bit pixels: codes start at 9 bits,
// grow to 12, and a clear code restarts the table whenever it fills up.
// Returns the packed code stream, not yet split into sub-blocks.
std::vector<std::uint8_t> lzwCompress(const std::vector<std::uint8_t>& pixels);

// Stores `image` with its whole palette as the global colour table and a
// Graphic Control Extension that makes `transparentIndex` see-through.
bool writeGif(const IndexedImage& image, int transparentIndex, const QString& path);

}  // namespace artwork
