#include "platform/wmf/dib.h"

#include <algorithm>
#include <array>
#include <bit>

#include "platform/wmf/byte_reader.h"

namespace quintrel::wmf {

namespace {

// Header sizes: BITMAPCOREHEADER, BITMAPINFOHEADER, the V2/V3 headers that add the colour
// masks, BITMAPV4HEADER and BITMAPV5HEADER. The larger ones are read as an info header.
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kV2HeaderBytes = 52;
constexpr std::uint32_t kV3HeaderBytes = 56;
constexpr std::uint32_t kV4HeaderBytes = 108;
constexpr std::uint32_t kV5HeaderBytes = 124;

// biCompression values.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

// DIBCREATEPATTERNBRUSH style that ignores the colour usage.
constexpr std::uint16_t kBsPattern = 3;

constexpr std::size_t kBitmap16HeaderBytes = 10;
// CREATEPATTERNBRUSH: the header, an unused Bits pointer and 18 reserved bytes.
constexpr std::size_t kPatternBrush16BitsOffset = kBitmap16HeaderBytes + 4 + 18;

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kBlack = kOpaque;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return kOpaque | (r << 16) | (g << 8) | b;
}

// The system's default palette: the 16 VGA colours with four extra greys and pastels in the
// middle (entries 8-11). Palette-relative DIBs and 4/8-bit device bitmaps index it.
constexpr std::array<std::uint32_t, 20> kDefaultPalette = {
    rgb(0, 0, 0),          rgb(0x80, 0, 0),       rgb(0, 0x80, 0),       rgb(0x80, 0x80, 0),
    rgb(0, 0, 0x80),       rgb(0x80, 0, 0x80),    rgb(0, 0x80, 0x80),    rgb(0xC0, 0xC0, 0xC0),
    rgb(0xC0, 0xDC, 0xC0), rgb(0xA6, 0xCA, 0xF0), rgb(0xFF, 0xFB, 0xF0), rgb(0xA0, 0xA0, 0xA4),
    rgb(0x80, 0x80, 0x80), rgb(0xFF, 0, 0),       rgb(0, 0xFF, 0),       rgb(0xFF, 0xFF, 0),
    rgb(0, 0, 0xFF),       rgb(0xFF, 0, 0xFF),    rgb(0, 0xFF, 0xFF),    rgb(0xFF, 0xFF, 0xFF),
};
constexpr std::size_t kPaletteLowStatics = 10;  // entries 0-9 sit at the start of a device palette

std::uint32_t paletteColor(std::size_t index) {
    return index < kDefaultPalette.size() ? kDefaultPalette[index] : kBlack;
}

// A 4-bit device bitmap indexes the 16 VGA colours: the default palette without 8-11.
std::uint32_t vgaColor(std::size_t index) {
    return paletteColor(index < 8 ? index : index + 4);
}

// An 8-bit device bitmap indexes the 256-entry system palette, whose first and last ten
// entries are the default palette's; the rest depend on the device and draw black.
std::uint32_t systemPaletteColor(std::size_t index) {
    if (index < kPaletteLowStatics) {
        return kDefaultPalette[index];
    }
    if (index >= 256 - kPaletteLowStatics) {
        return kDefaultPalette[index - (256 - kDefaultPalette.size())];
    }
    return kBlack;
}

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

// Everything the headers say about the pixels, validated.
struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::array<Channel, 3> channels;  // red, green, blue for 16 and 32 bits
    std::vector<std::uint32_t> colors;
};

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

std::uint32_t readLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Decodes uncompressed rows `stride` bytes apart; the caller has checked that they fit.
void decodeRows(std::span<const std::uint8_t> bits, std::uint64_t stride, const Layout& layout,
                Image& image, std::uint32_t (*indexColor)(const Layout&, std::size_t)) {
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

std::uint32_t tableColor(const Layout& layout, std::size_t index) {
    return index < layout.colors.size() ? layout.colors[index] : kBlack;
}

// Runs of BI_RLE8 / BI_RLE4 data, rows bottom-up. Pixels past the right edge are dropped as
// the system drops them; a stream that ends without its end-of-bitmap escape keeps what it
// drew, but an escape or absolute run cut short is an error.
DibError decodeRle(std::span<const std::uint8_t> data, const Layout& layout, Image& image) {
    const bool fourBit = layout.compression == kBiRle4;
    const std::uint64_t w = layout.width;
    const std::uint64_t h = layout.height;
    std::uint64_t x = 0;
    std::uint64_t y = 0;  // rows from the bottom
    std::size_t i = 0;
    auto put = [&](std::uint64_t px, std::size_t index) {
        if (px < w) {
            image.pixels[(h - 1 - y) * w + px] = tableColor(layout, index);
        }
    };
    while (y < h && data.size() - i >= 2) {
        const std::uint8_t count = data[i];
        const std::uint8_t value = data[i + 1];
        i += 2;
        if (count > 0) {  // encoded run: one index, or two alternating nibbles
            for (std::uint64_t k = 0; k < count && x + k < w; ++k) {
                put(x + k, fourBit ? ((k % 2 == 0) ? value >> 4 : value & 0xF) : value);
            }
            x += count;
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta: move right and up
            if (data.size() - i < 2) {
                return DibError::BadRleStream;
            }
            x += data[i];
            y += data[i + 1];
            i += 2;
        } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
            const std::size_t bytes = fourBit ? (value + 1u) / 2 : value;
            if (data.size() - i < bytes) {
                return DibError::BadRleStream;
            }
            for (std::uint64_t k = 0; k < value && x + k < w; ++k) {
                const std::uint8_t byte = data[i + (fourBit ? k / 2 : k)];
                put(x + k, fourBit ? ((k % 2 == 0) ? byte >> 4 : byte & 0xF) : byte);
            }
            x += value;
            i += std::min(bytes + bytes % 2, data.size() - i);
        }
    }
    return DibError::None;
}

DibResult fail(DibError error) {
    return {std::nullopt, error};
}

// Reads the colour table that follows the header (and masks) at the reader's position.
DibError readColorTable(ByteReader& reader, std::span<const std::uint8_t> packed,
                        std::uint32_t clrUsed, bool core, DibColorUse colorUse, Layout& layout) {
    std::uint64_t count = clrUsed;
    if (layout.bitCount <= 8) {
        const std::uint64_t indexable = std::uint64_t{1} << layout.bitCount;
        if (count == 0 || core) {
            count = indexable;
        }
        if (count > indexable) {
            return DibError::ColorTableTooBig;
        }
    }
    if (count > kMaxColorTableEntries) {
        return DibError::ColorTableTooBig;
    }
    if (colorUse == DibColorUse::PaletteIndices) {
        if (layout.bitCount <= 8) {
            layout.colors.assign(kDefaultPalette.begin(), kDefaultPalette.end());
        }
        return DibError::None;  // no table is stored
    }
    const std::size_t entryBytes = colorUse == DibColorUse::PaletteColors ? 2 : (core ? 3 : 4);
    if (count * entryBytes > reader.remaining()) {
        return DibError::ColorTableTruncated;
    }
    const std::size_t start = reader.offset();
    reader.skip(count * entryBytes);
    if (layout.bitCount > 8) {
        return DibError::None;  // an optimisation hint for palette devices; not needed here
    }
    layout.colors.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t* e = packed.data() + start + k * entryBytes;
        layout.colors.push_back(entryBytes == 2 ? paletteColor(e[0] | (e[1] << 8))
                                                : rgb(e[2], e[1], e[0]));
    }
    return DibError::None;
}

}  // namespace

const char* describe(DibError error) {
    switch (error) {
        case DibError::None:
            return "no error";
        case DibError::TruncatedHeader:
            return "the bitmap header is cut short";
        case DibError::UnsupportedHeaderSize:
            return "the bitmap header has an unknown size";
        case DibError::BadSize:
            return "the bitmap has no width or no height, or an impossible one";
        case DibError::BadPlanes:
            return "the bitmap does not have exactly one plane";
        case DibError::UnsupportedBitCount:
            return "the bitmap has an unsupported number of bits per pixel";
        case DibError::UnsupportedCompression:
            return "the bitmap's compression is not supported";
        case DibError::BadColorUse:
            return "the bitmap's colour usage is unknown";
        case DibError::BadBitfields:
            return "the bitmap's colour masks are not valid";
        case DibError::ColorTableTooBig:
            return "the bitmap's colour table is larger than its pixels can index";
        case DibError::ColorTableTruncated:
            return "the bitmap's colour table reaches past the record";
        case DibError::BadStride:
            return "the bitmap's row length is too short for its width";
        case DibError::BitsTooShort:
            return "the bitmap's pixel data is shorter than its size needs";
        case DibError::TooManyPixels:
            return "the bitmap has more pixels than the picture allows";
        case DibError::BadRleStream:
            return "the bitmap's compressed data is cut short";
    }
    return "unknown bitmap error";
}

DibResult decodeDib(std::span<const std::uint8_t> packed, std::size_t maxPixels,
                    DibColorUse colorUse) {
    if (colorUse != DibColorUse::Rgb && colorUse != DibColorUse::PaletteColors &&
        colorUse != DibColorUse::PaletteIndices) {
        return fail(DibError::BadColorUse);
    }
    ByteReader reader(packed);
    std::uint32_t headerSize = 0;
    if (!reader.readU32(headerSize)) {
        return fail(DibError::TruncatedHeader);
    }
    const bool core = headerSize == kCoreHeaderBytes;
    if (!core && headerSize != kInfoHeaderBytes && headerSize != kV2HeaderBytes &&
        headerSize != kV3HeaderBytes && headerSize != kV4HeaderBytes &&
        headerSize != kV5HeaderBytes) {
        return fail(DibError::UnsupportedHeaderSize);
    }
    if (packed.size() < headerSize) {
        return fail(DibError::TruncatedHeader);
    }

    Layout layout;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t sizeImage = 0;
    std::array<std::uint32_t, 3> masks{};
    if (core) {
        std::uint16_t width = 0;
        std::uint16_t height = 0;
        reader.readU16(width);
        reader.readU16(height);
        layout.width = width;
        layout.height = height;
        reader.readU16(planes);
        reader.readU16(bitCount);
    } else {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        reader.readU32(width);
        reader.readU32(height);
        reader.readU16(planes);
        reader.readU16(bitCount);
        reader.readU32(layout.compression);
        reader.readU32(sizeImage);
        reader.skip(8);  // resolution
        reader.readU32(clrUsed);
        reader.skip(4);  // important colours
        const auto signedWidth = static_cast<std::int32_t>(width);
        const auto signedHeight = static_cast<std::int32_t>(height);
        if (signedWidth <= 0 || signedHeight == 0 || signedHeight == INT32_MIN) {
            return fail(DibError::BadSize);
        }
        layout.width = width;
        layout.topDown = signedHeight < 0;
        layout.height = static_cast<std::uint32_t>(layout.topDown ? -signedHeight : signedHeight);
        if (headerSize >= kV2HeaderBytes) {
            for (std::uint32_t& mask : masks) {
                reader.readU32(mask);
            }
        }
        reader.skip(headerSize - reader.offset());
        if (layout.compression == kBiBitfields && headerSize == kInfoHeaderBytes) {
            for (std::uint32_t& mask : masks) {
                if (!reader.readU32(mask)) {
                    return fail(DibError::TruncatedHeader);
                }
            }
        }
    }
    if (layout.width == 0 || layout.height == 0) {
        return fail(DibError::BadSize);
    }
    if (planes != 1) {
        return fail(DibError::BadPlanes);
    }
    const std::uint32_t c = layout.compression;
    const bool rle = c == kBiRle8 || c == kBiRle4;
    if (c != kBiRgb && !rle && c != kBiBitfields) {
        return fail(DibError::UnsupportedCompression);  // JPEG and PNG come here
    }
    layout.bitCount = bitCount;
    if (!supportedBitCount(bitCount)) {
        return fail(DibError::UnsupportedBitCount);
    }
    if ((c == kBiRle8 && bitCount != 8) || (c == kBiRle4 && bitCount != 4) ||
        (c == kBiBitfields && bitCount != 16 && bitCount != 32) || (rle && layout.topDown)) {
        return fail(DibError::UnsupportedCompression);
    }
    if (c != kBiBitfields) {
        masks = defaultMasks(bitCount);
    }
    if ((bitCount == 16 || bitCount == 32) && !makeChannels(masks, layout)) {
        return fail(DibError::BadBitfields);
    }
    if (const DibError e = checkPixels(layout.width, layout.height, maxPixels);
        e != DibError::None) {
        return fail(e);
    }
    if (const DibError e = readColorTable(reader, packed, clrUsed, core, colorUse, layout);
        e != DibError::None) {
        return fail(e);
    }

    std::span<const std::uint8_t> bits = packed.subspan(reader.offset());
    Image image;
    image.width = static_cast<int>(layout.width);
    image.height = static_cast<int>(layout.height);
    const std::size_t pixelCount = std::size_t{layout.width} * layout.height;
    if (rle) {
        if (sizeImage != 0) {
            if (sizeImage > bits.size()) {
                return fail(DibError::BitsTooShort);
            }
            bits = bits.first(sizeImage);
        }
        image.pixels.assign(pixelCount, 0);  // skipped pixels stay transparent
        if (const DibError e = decodeRle(bits, layout, image); e != DibError::None) {
            return fail(e);
        }
        return {std::move(image), DibError::None};
    }
    const std::uint64_t stride = strideOf(layout.width, bitCount, 32);
    if (stride * layout.height > bits.size()) {
        return fail(DibError::BitsTooShort);
    }
    image.pixels.resize(pixelCount);
    decodeRows(bits, stride, layout, image, tableColor);
    return {std::move(image), DibError::None};
}

namespace {

std::uint32_t deviceColor(const Layout& layout, std::size_t index) {
    switch (layout.bitCount) {
        case 1:
            return index != 0 ? kWhite : kBlack;
        case 4:
            return vgaColor(index);
        default:
            return systemPaletteColor(index);
    }
}

// The Bitmap16 header fields, then the rows from `bitsOffset` on.
DibResult decodeBitmap16At(std::span<const std::uint8_t> data, std::size_t bitsOffset,
                           std::size_t maxPixels) {
    ByteReader reader(data);
    std::int16_t type = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t widthBytes = 0;
    std::uint16_t planesAndBits = 0;
    if (data.size() < bitsOffset || !reader.readI16(type) || !reader.readI16(width) ||
        !reader.readI16(height) || !reader.readI16(widthBytes) || !reader.readU16(planesAndBits)) {
        return fail(DibError::TruncatedHeader);
    }
    const int planes = planesAndBits & 0xFF;
    const int bitCount = planesAndBits >> 8;
    if (width <= 0 || height <= 0) {
        return fail(DibError::BadSize);
    }
    if (planes != 1) {
        return fail(DibError::BadPlanes);
    }
    if (!supportedBitCount(bitCount)) {
        return fail(DibError::UnsupportedBitCount);
    }
    if (widthBytes <= 0 || static_cast<std::uint64_t>(widthBytes) <
                               strideOf(static_cast<std::uint64_t>(width), bitCount, 8)) {
        return fail(DibError::BadStride);
    }
    if (const DibError e = checkPixels(width, height, maxPixels); e != DibError::None) {
        return fail(e);
    }
    const std::span<const std::uint8_t> bits = data.subspan(bitsOffset);
    const auto stride = static_cast<std::uint64_t>(widthBytes);
    if (stride * static_cast<std::uint64_t>(height) > bits.size()) {
        return fail(DibError::BitsTooShort);
    }
    Layout layout;
    layout.width = static_cast<std::uint32_t>(width);
    layout.height = static_cast<std::uint32_t>(height);
    layout.topDown = true;
    layout.bitCount = bitCount;
    if (bitCount == 16 || bitCount == 32) {
        makeChannels(defaultMasks(bitCount), layout);
    }
    Image image;
    image.width = width;
    image.height = height;
    image.monochrome = bitCount == 1;
    image.pixels.resize(std::size_t{layout.width} * layout.height);
    decodeRows(bits, stride, layout, image, deviceColor);
    return {std::move(image), DibError::None};
}

}  // namespace

DibResult decodeBitmap16(std::span<const std::uint8_t> record, std::size_t maxPixels) {
    return decodeBitmap16At(record, kBitmap16HeaderBytes, maxPixels);
}

DibResult decodePatternBrush16(std::span<const std::uint8_t> params, std::size_t maxPixels) {
    return decodeBitmap16At(params, kPatternBrush16BitsOffset, maxPixels);
}

DibResult decodeDibPatternBrush(std::span<const std::uint8_t> params, std::size_t maxPixels) {
    ByteReader reader(params);
    std::uint16_t style = 0;
    std::uint16_t colorUse = 0;
    if (!reader.readU16(style) || !reader.readU16(colorUse)) {
        return fail(DibError::TruncatedHeader);
    }
    const DibColorUse use =
        style == kBsPattern ? DibColorUse::Rgb : static_cast<DibColorUse>(colorUse);
    return decodeDib(params.subspan(reader.offset()), maxPixels, use);
}

}  // namespace quintrel::wmf
