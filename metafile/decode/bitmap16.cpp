// The old device-dependent bitmaps (Bitmap16) of BITBLT, STRETCHBLT and CREATEPATTERNBRUSH.
#include <array>

#include "metafile/decode/dib.h"
#include "metafile/decode/dib_pixels.h"
#include "metafile/format/byte_reader.h"

namespace quintrel::wmf {

using namespace detail;

namespace {

constexpr std::size_t kBitmap16HeaderBytes = 10;
// CREATEPATTERNBRUSH: the header, an unused Bits pointer and 18 reserved bytes.
constexpr std::size_t kPatternBrush16BitsOffset = kBitmap16HeaderBytes + 4 + 18;

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

}  // namespace quintrel::wmf
