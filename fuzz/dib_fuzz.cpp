// Arbitrary bytes through the bitmap decoders and the text decoders. The first byte picks the
// decoder, the second its parameter (pixel limit, colour usage or character set).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "metafile/decode/dib.h"
#include "metafile/decode/text_decoding.h"

namespace {

using namespace quintrel::wmf;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkBitmap(const DibResult& result, std::size_t maxPixels) {
    require(result.image.has_value() == (result.error == DibError::None));
    require(describe(result.error) != nullptr);
    if (!result.image) {
        return;
    }
    const Image& image = *result.image;
    require(image.width > 0 && image.height > 0);
    const auto pixels =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    require(pixels <= maxPixels && pixels <= kMaxBitmapPixels);
    require(image.pixels.size() == pixels);
}

void checkText(const DecodedText& decoded, std::size_t byteCount) {
    require(decoded.text.size() == decoded.byteOffsets.size());
    require(decoded.text.size() <= byteCount);
    for (std::size_t i = 0; i < decoded.text.size(); ++i) {
        const char32_t c = decoded.text[i];
        require(c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF));
        require(decoded.byteOffsets[i] < byteCount);
        require(i == 0 || decoded.byteOffsets[i] >= decoded.byteOffsets[i - 1]);
    }
}

constexpr std::string_view kFaces[] = {"Arial", "Symbol", "Wingdings", "MT Extra"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t mode = data[0] % 6;
    const std::uint8_t param = data[1];
    const std::span<const std::uint8_t> rest(data + 2, size - 2);
    // Up to 2^20 pixels keeps each run quick while reaching every size check.
    const std::size_t maxPixels = std::size_t{1} << (param % 21);
    switch (mode) {
        case 0:
            checkBitmap(decodeDib(rest, maxPixels, static_cast<DibColorUse>(param >> 6)),
                        maxPixels);
            break;
        case 1:
            checkBitmap(decodeBitmap16(rest, maxPixels), maxPixels);
            break;
        case 2:
            checkBitmap(decodePatternBrush16(rest, maxPixels), maxPixels);
            break;
        case 3:
            checkBitmap(decodeDibPatternBrush(rest, maxPixels), maxPixels);
            break;
        default: {
            const std::string_view bytes(reinterpret_cast<const char*>(rest.data()), rest.size());
            const std::string_view face = kFaces[data[0] / 6 % std::size(kFaces)];
            checkText(mode == 4 ? decodeTextMapped(bytes, param)
                                : decodeFaceTextMapped(bytes, param, face),
                      bytes.size());
            break;
        }
    }
    return 0;
}
