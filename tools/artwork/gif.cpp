#include "gif.h"

#include "write_file.h"

#include <algorithm>

namespace artwork {
namespace {

constexpr int kMinCodeSize = 8;  // pixels are full bytes
constexpr int kClearCode = 1 << kMinCodeSize;
constexpr int kEndCode = kClearCode + 1;
constexpr int kFirstFreeCode = kClearCode + 2;
constexpr int kMaxCodeSize = 12;
constexpr int kTableSize = 1 << kMaxCodeSize;
constexpr int kSubBlockSize = 255;

// GIF packs codes least-significant bit first.
class BitWriter {
public:
    void put(int code, int width)
    {
        buffer_ |= static_cast<std::uint32_t>(code) << pending_;
        pending_ += width;
        while (pending_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
            buffer_ >>= 8;
            pending_ -= 8;
        }
    }

    std::vector<std::uint8_t> finish()
    {
        if (pending_ > 0)
            bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
        buffer_ = 0;
        pending_ = 0;
        return std::move(bytes_);
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t buffer_ = 0;
    int pending_ = 0;
};

void put16(std::vector<std::uint8_t>& out, int v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> lzwCompress(const std::vector<std::uint8_t>& pixels)
{
    BitWriter bits;
    // child[prefix * 256 + byte] is the code for "prefix's string + byte";
    // 0 means absent, which is safe because no added string gets a code below
    // kFirstFreeCode.
    std::vector<std::uint16_t> child(static_cast<std::size_t>(kTableSize) * 256, 0);
    int codeSize = kMinCodeSize + 1;
    int nextCode = kFirstFreeCode;

    bits.put(kClearCode, codeSize);
    if (pixels.empty()) {
        bits.put(kEndCode, codeSize);
        return bits.finish();
    }

    int prefix = pixels.front();
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const int byte = pixels[i];
        std::uint16_t& slot = child[static_cast<std::size_t>(prefix) * 256 + static_cast<std::size_t>(byte)];
        if (slot != 0) {
            prefix = slot;
            continue;
        }
        bits.put(prefix, codeSize);
        slot = static_cast<std::uint16_t>(nextCode++);
        // The decoder adds each entry one code later than we do, so it widens
        // its codes once it has filled the current width; we must widen as
        // soon as we have handed out the first code that needs the extra bit.
        if (nextCode > (1 << codeSize) && codeSize < kMaxCodeSize)
            ++codeSize;
        if (nextCode == kTableSize) {
            bits.put(kClearCode, codeSize);
            std::fill(child.begin(), child.end(), 0);
            codeSize = kMinCodeSize + 1;
            nextCode = kFirstFreeCode;
        }
        prefix = byte;
    }
    bits.put(prefix, codeSize);
    // Reading that last code makes the decoder add one more entry, which may
    // widen the end code too.
    if (nextCode == (1 << codeSize) && codeSize < kMaxCodeSize)
        ++codeSize;
    bits.put(kEndCode, codeSize);
    return bits.finish();
}

bool writeGif(const IndexedImage& image, int transparentIndex, const QString& path)
{
    std::vector<std::uint8_t> out;
    const char signature[] = "GIF89a";
    out.insert(out.end(), signature, signature + 6);

    // Logical screen descriptor: global table present, 8-bit colour
    // resolution, 2^(7+1) = 256 entries; the background is the see-through
    // entry so the screen outside the image is transparent too.
    put16(out, image.width);
    put16(out, image.height);
    out.push_back(0x80 | (7 << 4) | 7);
    out.push_back(static_cast<std::uint8_t>(transparentIndex));
    out.push_back(0);  // square pixels

    for (const QRgb colour : image.palette) {
        out.push_back(static_cast<std::uint8_t>(qRed(colour)));
        out.push_back(static_cast<std::uint8_t>(qGreen(colour)));
        out.push_back(static_cast<std::uint8_t>(qBlue(colour)));
    }

    // Graphic Control Extension: no disposal, no delay, transparency on.
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00});
    out.push_back(static_cast<std::uint8_t>(transparentIndex));
    out.push_back(0x00);

    // Image descriptor covering the whole screen, no local table, not interlaced.
    out.push_back(0x2C);
    put16(out, 0);
    put16(out, 0);
    put16(out, image.width);
    put16(out, image.height);
    out.push_back(0x00);

    out.push_back(kMinCodeSize);
    const std::vector<std::uint8_t> codes = lzwCompress(image.pixels);
    for (std::size_t pos = 0; pos < codes.size(); pos += kSubBlockSize) {
        const std::size_t length = std::min<std::size_t>(kSubBlockSize, codes.size() - pos);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(pos),
                   codes.begin() + static_cast<std::ptrdiff_t>(pos + length));
    }
    out.push_back(0x00);  // end of image data
    out.push_back(0x3B);  // trailer

    return writeFile(path, out);
}

}  // namespace artwork
