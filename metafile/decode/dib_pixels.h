// Pixel rows of DIBs and device bitmaps: palettes, colour masks and row decoding (internal).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "metafile/decode/dib.h"

namespace quintrel::wmf::detail {

// biCompression values.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

inline constexpr std::uint32_t kOpaque = 0xFF000000u;
inline constexpr std::uint32_t kBlack = kOpaque;
inline constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return kOpaque | (r << 16) | (g << 8) | b;
}

inline constexpr std::size_t kDefaultPaletteSize = 20;
// Entry `index` of the system's default palette, black past its end.
std::uint32_t paletteColor(std::size_t index);
// A 4-bit device bitmap indexes the 16 VGA colours: the default palette without 8-11.
std::uint32_t vgaColor(std::size_t index);
// An 8-bit device bitmap indexes the 256-entry system palette, whose first and last ten
// entries are the default palette's; the rest depend on the device and draw black.
std::uint32_t systemPaletteColor(std::size_t index);

// One colour channel of a 16- or 32-bit pixel: where its bits are and how many.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;  // the channel's largest value; 0 when the mask is empty

    std::uint32_t value(std::uint32_t pixel) const {
        if (max == 0) {
            return 0;
        }
        const std::uint64_t v = (pixel & mask) >> shift;
        return static_cast<std::uint32_t>((v * 255 + max / 2) / max);
    }
};

// Everything the headers say about the pixels, validated.
struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::array<Channel, 3> channels{};  // red, green, blue for 16 and 32 bits
    std::vector<std::uint32_t> colors;
};

// The red, green and blue masks of 16- and 32-bit pixels without bit fields (5-5-5, 8-8-8).
std::array<std::uint32_t, 3> defaultMasks(int bitCount);
// Fills layout.channels (layout.bitCount set); false when a mask is not one run of bits or
// lies outside the pixel.
bool makeChannels(const std::array<std::uint32_t, 3>& masks, Layout& layout);

// Bytes per row: width × bits rounded up to `alignBits` (32 for DIBs, 8 or 16 for devices).
std::uint64_t strideOf(std::uint64_t width, int bitCount, std::uint64_t alignBits);
bool supportedBitCount(int bits);
// TooManyPixels when width × height exceeds maxPixels or kMaxBitmapPixels (sides < 2^31).
DibError checkPixels(std::uint64_t width, std::uint64_t height, std::size_t maxPixels);

using IndexColor = std::uint32_t (*)(const Layout&, std::size_t);
// Decodes uncompressed rows `stride` bytes apart into image.pixels (already sized); the caller
// has checked that height × stride bytes fit in `bits`.
void decodeRows(std::span<const std::uint8_t> bits, std::uint64_t stride, const Layout& layout,
                Image& image, IndexColor indexColor);

inline DibResult fail(DibError error) {
    return {std::nullopt, error};
}

}  // namespace quintrel::wmf::detail
