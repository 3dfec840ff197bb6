#include "metafile/decode/dib_pixels.h"

#include <algorithm>
#include <bit>

namespace quintrel::wmf::detail {

namespace {

// The system's default palette: the 16 VGA colours with four extra greys and pastels in the
// middle (entries 8-11). Palette-relative DIBs and 4/8-bit device bitmaps index it.
constexpr std::array<std::uint32_t, kDefaultPaletteSize> kDefaultPalette = {
    rgb(0, 0, 0),          rgb(0x80, 0, 0),       rgb(0, 0x80, 0),       rgb(0x80, 0x80, 0),
    rgb(0, 0, 0x80),       rgb(0x80, 0, 0x80),    rgb(0, 0x80, 0x80),    rgb(0xC0, 0xC0, 0xC0),
    rgb(0xC0, 0xDC, 0xC0), rgb(0xA6, 0xCA, 0xF0), rgb(0xFF, 0xFB, 0xF0), rgb(0xA0, 0xA0, 0xA4),
    rgb(0x80, 0x80, 0x80), rgb(0xFF, 0, 0),       rgb(0, 0xFF, 0),       rgb(0xFF, 0xFF, 0),
    rgb(0, 0, 0xFF),       rgb(0xFF, 0, 0xFF),    rgb(0, 0xFF, 0xFF),    rgb(0xFF, 0xFF, 0xFF),
};
constexpr std::size_t kPaletteLowStatics = 10;  // entries 0-9 sit at the start of a device palette

std::uint32_t readLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool makeChannel(std::uint32_t mask, int bitCount, Channel& out) {
    out = {};
    if (mask == 0) {
        return true;
    }
    if (bitCount < 32 && (mask >> bitCount) != 0) {
        return false;
    }
    const int shift = std::countr_zero(mask);
    const std::uint32_t bits = mask >> shift;
    if ((bits & (bits + 1)) != 0) {  // not one run of set bits
        return false;
    }
    out = {mask, shift, bits};
    return true;
}

}  // namespace

std::uint32_t paletteColor(std::size_t index) {
    return index < kDefaultPalette.size() ? kDefaultPalette[index] : kBlack;
}

std::uint32_t vgaColor(std::size_t index) {
    return paletteColor(index < 8 ? index : index + 4);
}

std::uint32_t systemPaletteColor(std::size_t index) {
    if (index < kPaletteLowStatics) {
        return kDefaultPalette[index];
    }
    if (index >= 256 - kPaletteLowStatics) {
        return kDefaultPalette[index - (256 - kDefaultPalette.size())];
    }
    return kBlack;
}

// The red, green and blue masks of 16- and 32-bit pixels without bit fields (5-5-5, 8-8-8).
std::array<std::uint32_t, 3> defaultMasks(int bitCount) {
    if (bitCount == 16) {
        return {0x7C00, 0x03E0, 0x001F};
    }
    return {0xFF0000, 0xFF00, 0xFF};
}

bool makeChannels(const std::array<std::uint32_t, 3>& masks, Layout& layout) {
    for (std::size_t k = 0; k < masks.size(); ++k) {
        if (!makeChannel(masks[k], layout.bitCount, layout.channels[k])) {
            return false;
        }
    }
    return true;
}

std::uint64_t strideOf(std::uint64_t width, int bitCount, std::uint64_t alignBits) {
    return (width * static_cast<std::uint64_t>(bitCount) + alignBits - 1) / alignBits *
           (alignBits / 8);
}

bool supportedBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

DibError checkPixels(std::uint64_t width, std::uint64_t height, std::size_t maxPixels) {
    const std::uint64_t limit = std::min<std::uint64_t>(maxPixels, kMaxBitmapPixels);
    // Both sides are below 2^31, so the product cannot overflow 64 bits.
    return width * height > limit ? DibError::TooManyPixels : DibError::None;
}

void decodeRows(std::span<const std::uint8_t> bits, std::uint64_t stride, const Layout& layout,
                Image& image, IndexColor indexColor) {
    const std::size_t w = layout.width;
    for (std::size_t row = 0; row < layout.height; ++row) {
        const std::uint8_t* src = bits.data() + row * stride;
        const std::size_t destRow = layout.topDown ? row : layout.height - 1 - row;
        std::uint32_t* dest = image.pixels.data() + destRow * w;
        for (std::size_t x = 0; x < w; ++x) {
            std::uint32_t pixel = 0;
            switch (layout.bitCount) {
                case 1:
                    dest[x] = indexColor(layout, (src[x / 8] >> (7 - x % 8)) & 1);
                    continue;
                case 4:
                    dest[x] = indexColor(layout, (src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF);
                    continue;
                case 8:
                    dest[x] = indexColor(layout, src[x]);
                    continue;
                case 24:
                    dest[x] = rgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                    continue;
                case 16:
                    pixel = static_cast<std::uint32_t>(src[2 * x] | (src[2 * x + 1] << 8));
                    break;
                default:
                    pixel = readLe32(src + 4 * x);
                    break;
            }
            const auto& c = layout.channels;
            dest[x] = rgb(c[0].value(pixel), c[1].value(pixel), c[2].value(pixel));
        }
    }
}

}  // namespace quintrel::wmf::detail
