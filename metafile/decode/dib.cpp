#include "metafile/decode/dib.h"

#include <algorithm>
#include <array>

#include "metafile/decode/dib_pixels.h"
#include "metafile/format/byte_reader.h"

namespace quintrel::wmf {

using namespace detail;

namespace {

// Header sizes: BITMAPCOREHEADER, BITMAPINFOHEADER, the V2/V3 headers that add the colour
// masks, BITMAPV4HEADER and BITMAPV5HEADER. The larger ones are read as an info header.
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kV2HeaderBytes = 52;
constexpr std::uint32_t kV3HeaderBytes = 56;
constexpr std::uint32_t kV4HeaderBytes = 108;
constexpr std::uint32_t kV5HeaderBytes = 124;

// DIBCREATEPATTERNBRUSH style that ignores the colour usage.
constexpr std::uint16_t kBsPattern = 3;

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
        for (std::size_t k = 0; layout.bitCount <= 8 && k < kDefaultPaletteSize; ++k) {
            layout.colors.push_back(paletteColor(k));
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
