#include "quantise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace artwork {
namespace {

constexpr int kOpaqueColours = 255;
constexpr int kAlphaThreshold = 128;
// Colours are bucketed at 5 bits per channel; each bucket remembers the
// exact average of its pixels, so palette entries keep full precision.
constexpr int kBucketBits = 5;
constexpr int kBuckets = 1 << (3 * kBucketBits);

struct Bucket {
    std::int64_t count = 0;
    std::int64_t sum[3] = {0, 0, 0};
    int mean(int channel) const { return static_cast<int>(sum[channel] / count); }
};

struct Box {
    std::vector<int> buckets;  // indices into the bucket table
    std::int64_t count = 0;
    int widestChannel = 0;
    int widestRange = 0;
};

int bucketOf(int r, int g, int b)
{
    constexpr int shift = 8 - kBucketBits;
    return ((r >> shift) << (2 * kBucketBits)) | ((g >> shift) << kBucketBits) | (b >> shift);
}

void measure(Box& box, const std::vector<Bucket>& table)
{
    int lo[3] = {255, 255, 255};
    int hi[3] = {0, 0, 0};
    box.count = 0;
    for (const int index : box.buckets) {
        const Bucket& bucket = table[static_cast<std::size_t>(index)];
        box.count += bucket.count;
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], bucket.mean(c));
            hi[c] = std::max(hi[c], bucket.mean(c));
        }
    }
    box.widestChannel = 0;
    box.widestRange = -1;
    for (int c = 0; c < 3; ++c) {
        if (hi[c] - lo[c] > box.widestRange) {
            box.widestRange = hi[c] - lo[c];
            box.widestChannel = c;
        }
    }
}

// Splits the box that is both populous and wide, so big smooth gradients
// get more entries than a few stray edge pixels.
std::vector<Box> medianCut(const std::vector<Bucket>& table, std::vector<int> used)
{
    std::vector<Box> boxes(1);
    boxes[0].buckets = std::move(used);
    measure(boxes[0], table);

    while (static_cast<int>(boxes.size()) < kOpaqueColours) {
        auto best = boxes.end();
        double bestScore = 0.0;
        for (auto it = boxes.begin(); it != boxes.end(); ++it) {
            const double score = static_cast<double>(it->count) * it->widestRange;
            if (it->buckets.size() > 1 && score > bestScore) {
                bestScore = score;
                best = it;
            }
        }
        if (best == boxes.end())
            break;

        const int channel = best->widestChannel;
        std::sort(best->buckets.begin(), best->buckets.end(), [&](int a, int b) {
            return table[static_cast<std::size_t>(a)].mean(channel)
                < table[static_cast<std::size_t>(b)].mean(channel);
        });
        // Cut at the pixel-weighted median, keeping at least one bucket a side.
        std::size_t cut = 1;
        std::int64_t seen = table[static_cast<std::size_t>(best->buckets[0])].count;
        while (cut + 1 < best->buckets.size() && seen * 2 < best->count)
            seen += table[static_cast<std::size_t>(best->buckets[cut++])].count;

        Box upper;
        upper.buckets.assign(best->buckets.begin() + static_cast<std::ptrdiff_t>(cut), best->buckets.end());
        best->buckets.resize(cut);
        measure(*best, table);
        measure(upper, table);
        boxes.push_back(std::move(upper));
    }
    return boxes;
}

// Nearest palette entry by squared RGB distance, remembered per cell of a
// 6-bit-per-channel grid; dithering asks for the same few colours again and
// again.
class NearestColour {
public:
    NearestColour(const std::array<QRgb, 256>& palette, const std::vector<int>& slots)
        : palette_(palette), slots_(slots), cache_(1 << 18, -1)
    {
    }

    int operator()(int r, int g, int b)
    {
        int& cached = cache_[static_cast<std::size_t>(((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2))];
        if (cached >= 0)
            return cached;
        int bestDistance = std::numeric_limits<int>::max();
        for (const int slot : slots_) {
            const QRgb colour = palette_[static_cast<std::size_t>(slot)];
            const int dr = qRed(colour) - (r | 2);
            const int dg = qGreen(colour) - (g | 2);
            const int db = qBlue(colour) - (b | 2);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                cached = slot;
            }
        }
        return cached;
    }

private:
    const std::array<QRgb, 256>& palette_;
    const std::vector<int>& slots_;
    std::vector<int> cache_;
};

}  // namespace

IndexedImage quantiseOnBlack(const QImage& image, int transparentIndex)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    IndexedImage result;
    result.width = argb.width();
    result.height = argb.height();
    result.pixels.resize(static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height));

    // Each kept pixel's colour after blending onto black; `opaque` says which are kept.
    std::vector<QRgb> blended(result.pixels.size());
    std::vector<bool> opaque(result.pixels.size());
    std::vector<Bucket> table(kBuckets);
    for (int y = 0; y < result.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < result.width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(result.width)
                + static_cast<std::size_t>(x);
            const int alpha = qAlpha(line[x]);
            if (alpha < kAlphaThreshold)
                continue;
            const int r = qRed(line[x]) * alpha / 255;
            const int g = qGreen(line[x]) * alpha / 255;
            const int b = qBlue(line[x]) * alpha / 255;
            blended[at] = qRgb(r, g, b);
            opaque[at] = true;
            Bucket& bucket = table[static_cast<std::size_t>(bucketOf(r, g, b))];
            ++bucket.count;
            bucket.sum[0] += r;
            bucket.sum[1] += g;
            bucket.sum[2] += b;
        }
    }

    std::vector<int> used;
    for (int i = 0; i < kBuckets; ++i) {
        if (table[static_cast<std::size_t>(i)].count > 0)
            used.push_back(i);
    }

    // Palette slots for opaque colours skip the transparent one.
    std::vector<int> slots;
    for (int i = 0; i < 256; ++i) {
        if (i != transparentIndex)
            slots.push_back(i);
    }
    result.palette.fill(qRgb(0, 0, 0));

    std::vector<int> paletteSlots;
    if (!used.empty()) {
        const std::vector<Box> boxes = medianCut(table, used);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            std::int64_t sum[3] = {0, 0, 0};
            for (const int index : boxes[i].buckets) {
                for (int c = 0; c < 3; ++c)
                    sum[c] += table[static_cast<std::size_t>(index)].sum[c];
            }
            const std::int64_t n = boxes[i].count;
            result.palette[static_cast<std::size_t>(slots[i])] =
                qRgb(static_cast<int>((sum[0] + n / 2) / n), static_cast<int>((sum[1] + n / 2) / n),
                     static_cast<int>((sum[2] + n / 2) / n));
            paletteSlots.push_back(slots[i]);
        }
    }

    // Floyd-Steinberg error diffusion: 255 colours cannot cover the rainbow
    // times the gloss without visible blotches, but dithered they look smooth.
    NearestColour nearest(result.palette, paletteSlots);
    const auto width = static_cast<std::size_t>(result.width);
    std::vector<std::array<float, 3>> error(width + 2), nextError(width + 2);
    for (int y = 0; y < result.height; ++y) {
        std::fill(nextError.begin(), nextError.end(), std::array<float, 3>{0, 0, 0});
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * width + x;
            if (!opaque[at]) {
                result.pixels[at] = static_cast<std::uint8_t>(transparentIndex);
                continue;
            }
            const QRgb c = blended[at];
            const int wanted[3] = {
                std::clamp(static_cast<int>(std::lround(qRed(c) + error[x + 1][0])), 0, 255),
                std::clamp(static_cast<int>(std::lround(qGreen(c) + error[x + 1][1])), 0, 255),
                std::clamp(static_cast<int>(std::lround(qBlue(c) + error[x + 1][2])), 0, 255),
            };
            const int slot = nearest(wanted[0], wanted[1], wanted[2]);
            result.pixels[at] = static_cast<std::uint8_t>(slot);
            const QRgb got = result.palette[static_cast<std::size_t>(slot)];
            const float diff[3] = {static_cast<float>(wanted[0] - qRed(got)),
                                   static_cast<float>(wanted[1] - qGreen(got)),
                                   static_cast<float>(wanted[2] - qBlue(got))};
            // The buffers have a spare cell at each end and the row below the
            // last is dropped, so no bounds checks are needed; error that lands
            // on a transparent pixel is simply never used.
            for (int ch = 0; ch < 3; ++ch) {
                error[x + 2][ch] += diff[ch] * 7 / 16;
                nextError[x][ch] += diff[ch] * 3 / 16;
                nextError[x + 1][ch] += diff[ch] * 5 / 16;
                nextError[x + 2][ch] += diff[ch] * 1 / 16;
            }
        }
        std::swap(error, nextError);
    }
    return result;
}

}  // namespace artwork
