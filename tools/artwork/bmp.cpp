#include "bmp.h"

#include "write_file.h"

#include <cstdint>
#include <vector>

namespace artwork {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBitsPerPixel = 24;
constexpr std::uint32_t kBiRgb = 0;
// 72 dpi; viewers ignore it, but zero upsets a few of them.
constexpr std::int32_t kPixelsPerMetre = 2835;

// BMP fields are little-endian regardless of the host.
void put16(std::vector<unsigned char>& out, std::uint16_t v)
{
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>((v >> shift) & 0xFF));
}

}  // namespace

bool writeBmp24(const QImage& image, const QString& path)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::uint32_t>(rgb.width());
    const auto height = static_cast<std::uint32_t>(rgb.height());
    const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * height;
    const std::uint32_t dataOffset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<unsigned char> out;
    out.reserve(dataOffset + pixelBytes);

    out.push_back('B');
    out.push_back('M');
    put32(out, dataOffset + pixelBytes);
    put32(out, 0);  // two reserved 16-bit fields
    put32(out, dataOffset);

    put32(out, kInfoHeaderSize);
    put32(out, width);
    put32(out, height);  // positive height: rows are stored bottom-up
    put16(out, 1);       // colour planes
    put16(out, kBitsPerPixel);
    put32(out, kBiRgb);
    put32(out, pixelBytes);
    put32(out, static_cast<std::uint32_t>(kPixelsPerMetre));
    put32(out, static_cast<std::uint32_t>(kPixelsPerMetre));
    put32(out, 0);  // palette size: none at 24 bits
    put32(out, 0);  // important colours: all

    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            out.push_back(static_cast<unsigned char>(qBlue(line[x])));
            out.push_back(static_cast<unsigned char>(qGreen(line[x])));
            out.push_back(static_cast<unsigned char>(qRed(line[x])));
        }
        for (std::uint32_t pad = width * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }

    return writeFile(path, out);
}

}  // namespace artwork
