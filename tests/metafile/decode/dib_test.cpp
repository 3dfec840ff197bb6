// Bitmap decoding: exact pixels for each layout the metafile records use, and refusals.
#include "metafile/decode/dib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

using namespace quintrel::wmf;
using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

struct Info {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t clrUsed = 0;
    std::vector<std::uint32_t> colors = {};  // 0xRRGGBB, written as RGBQUAD
    std::vector<std::uint32_t> masks = {};   // after a 40-byte header, or inside a larger one
    std::uint32_t headerSize = 40;
    std::uint16_t planes = 1;
};

// A packed DIB: header, masks, colour table, then `bits` as given.
Bytes dib(const Info& info, const Bytes& bits) {
    Bytes b;
    put32(b, info.headerSize);
    put32(b, static_cast<std::uint32_t>(info.width));
    put32(b, static_cast<std::uint32_t>(info.height));
    put16(b, info.planes);
    put16(b, info.bits);
    put32(b, info.compression);
    for (std::uint32_t v : {0u, 0u, 0u, info.clrUsed, 0u}) {
        put32(b, v);  // size image, resolution, colours used, important
    }
    for (std::uint32_t m : info.masks) {
        put32(b, m);
    }
    b.resize(std::max<std::size_t>(b.size(), info.headerSize));
    for (std::uint32_t c : info.colors) {
        put32(b, c);  // 0x00RRGGBB little-endian is exactly B, G, R, 0
    }
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kSkipped = 0;
constexpr std::size_t kAmple = 1 << 20;

Bytes coreDib() {
    Bytes b;
    put32(b, 12);
    for (std::uint32_t v : {2u, 1u, 1u, 1u}) {
        put16(b, v);  // width, height, planes, bits
    }
    b.insert(b.end(), {0, 0, 0, 0xFF, 0xFF, 0xFF, 0x40, 0, 0, 0});  // two RGBTRIPLEs, one row
    return b;
}

Bytes paletteIndexDib() {
    Bytes b = dib({.width = 2, .bits = 1}, {});
    put16(b, 13);  // default palette: red
    put16(b, 16);  // blue
    b.insert(b.end(), {0x40, 0, 0, 0});
    return b;
}

const std::vector<std::uint32_t> kSixGreys = {0, 1, 2, 3, 4, 5};

struct PixelCase {
    const char* name;
    Bytes packed;
    int width;
    int height;
    std::vector<std::uint32_t> pixels;  // top-down
    DibColorUse use = DibColorUse::Rgb;
};

TEST(Dib, DecodesEachLayoutToExactPixels) {
    const PixelCase cases[] = {
        {"1 bpp bottom-up",
         dib({.width = 3, .height = 2, .bits = 1, .colors = {0x112233, 0xAABBCC}},
             {0xA0, 0, 0, 0, 0x40, 0, 0, 0}),
         3,
         2,
         {0xFF112233, 0xFFAABBCC, 0xFF112233, 0xFFAABBCC, 0xFF112233, 0xFFAABBCC}},
        {"4 bpp, short table, index past it is black",
         dib({.width = 3, .bits = 4, .clrUsed = 2, .colors = {0xFF0000, 0x00FF00}},
             {0x01, 0x20, 0, 0}),
         3,
         1,
         {kRed, kGreen, kBlack}},
        {"8 bpp top-down",
         dib({.width = 2,
              .height = -2,
              .bits = 8,
              .clrUsed = 3,
              .colors = {0x0000FF, 0x00FF00, 0xFF0000}},
             {2, 1, 0, 0, 0, 0, 0, 0}),
         2,
         2,
         {kRed, kGreen, kBlue, kBlue}},
        {"16 bpp 5-5-5",
         dib({.width = 4, .bits = 16}, {0, 0x7C, 0xE0, 0x03, 0x1F, 0, 0x10, 0x42}),
         4,
         1,
         {kRed, kGreen, kBlue, 0xFF848484}},
        {"16 bpp 5-6-5 bit fields",
         dib({.width = 2, .bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}},
             {0x00, 0xF8, 0xE0, 0x07}),
         2,
         1,
         {kRed, kGreen}},
        {"24 bpp rows padded to 4 bytes",
         dib({.width = 1, .height = 2}, {1, 2, 3, 0, 0x10, 0x20, 0x30, 0}),
         1,
         2,
         {0xFF302010, 0xFF030201}},
        {"32 bpp ignores the fourth byte", dib({.bits = 32}, {1, 2, 3, 0x77}), 1, 1, {0xFF030201}},
        {"32 bpp bit fields in R-G-B byte order",
         dib({.bits = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}}, {1, 2, 3, 0}),
         1,
         1,
         {0xFF010203}},
        {"V4 header carries the masks",
         dib({.bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}, .headerSize = 108},
             {0x1F, 0, 0, 0}),
         1,
         1,
         {kBlue}},
        {"core header with RGB triples", coreDib(), 2, 1, {kBlack, kWhite}},
        {"palette colours index the default palette",
         paletteIndexDib(),
         2,
         1,
         {kRed, kBlue},
         DibColorUse::PaletteColors},
        {"RLE8 runs, clipped absolute run, end of line, delta, end of bitmap",
         dib({.width = 4,
              .height = 3,
              .bits = 8,
              .compression = 1,
              .clrUsed = 6,
              .colors = kSixGreys},
             {2, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 1, 4, 0, 1}),
         4,
         3,
         {kSkipped, 0xFF000004, kSkipped, kSkipped,  // top row, reached by the delta
          kSkipped, kSkipped, kSkipped, kSkipped,    //
          0xFF000005, 0xFF000005, 0xFF000001, 0xFF000002}},
        {"RLE4 alternating nibbles and an odd absolute run",
         dib({.width = 6, .bits = 4, .compression = 2, .clrUsed = 4, .colors = {0, 1, 2, 3}},
             {3, 0x12, 0, 3, 0x30, 0x20, 0, 1}),
         6,
         1,
         {0xFF000001, 0xFF000002, 0xFF000001, 0xFF000003, 0xFF000000, 0xFF000002}},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DibResult r = decodeDib(c.packed, kAmple, c.use);
        ASSERT_EQ(r.error, DibError::None) << describe(r.error);
        ASSERT_TRUE(r.image.has_value());
        EXPECT_EQ(r.image->width, c.width);
        EXPECT_EQ(r.image->height, c.height);
        EXPECT_EQ(r.image->pixels, c.pixels);
    }
}

Bytes firstBytes(Bytes b, std::size_t count) {
    b.resize(count);
    return b;
}

Bytes withHeaderSize(std::uint32_t size) {
    Bytes b = dib({}, {1, 2, 3, 0});
    b[0] = static_cast<std::uint8_t>(size);
    return b;
}

TEST(Dib, RefusesBitmapsThatDisagreeWithTheirRecord) {
    constexpr std::int32_t kHuge = std::numeric_limits<std::int32_t>::max();
    const struct {
        const char* name;
        Bytes packed;
        DibError error;
        std::size_t maxPixels = kAmple;
        DibColorUse use = DibColorUse::Rgb;
    } cases[] = {
        {"header cut short", firstBytes(dib({}, {}), 20), DibError::TruncatedHeader},
        {"masks cut short", dib({.bits = 16, .compression = 3, .masks = {0xF800}}, {}),
         DibError::TruncatedHeader},
        {"OS/2 header size", withHeaderSize(64), DibError::UnsupportedHeaderSize},
        {"zero width", dib({.width = 0}, {}), DibError::BadSize},
        {"most negative height", dib({.height = std::numeric_limits<std::int32_t>::min()}, {}),
         DibError::BadSize},
        {"two planes", dib({.planes = 2}, {1, 2, 3, 0}), DibError::BadPlanes},
        {"2 bits per pixel", dib({.bits = 2}, {0, 0, 0, 0}), DibError::UnsupportedBitCount},
        {"JPEG", dib({.compression = 4}, {0xFF, 0xD8}), DibError::UnsupportedCompression},
        {"PNG", dib({.bits = 0, .compression = 5}, {0x89, 'P'}), DibError::UnsupportedCompression},
        {"RLE8 at 4 bits", dib({.bits = 4, .compression = 1}, {0, 1}),
         DibError::UnsupportedCompression},
        {"top-down RLE", dib({.height = -1, .bits = 8, .compression = 1}, {0, 1}),
         DibError::UnsupportedCompression},
        {"split colour mask", dib({.bits = 16, .compression = 3, .masks = {0xF00F, 0x0F0, 0}}, {}),
         DibError::BadBitfields},
        {"three colours for one bit", dib({.bits = 1, .clrUsed = 3}, {}),
         DibError::ColorTableTooBig},
        {"colour table past the data", dib({.bits = 8, .colors = {0, 0, 0}}, {}),
         DibError::ColorTableTruncated},
        {"rows need the full stride", dib({.width = 3, .height = 2}, Bytes(12 + 9)),
         DibError::BitsTooShort},
        {"more pixels than allowed", dib({.width = 100, .height = 100}, {}),
         DibError::TooManyPixels, 9999},
        {"width times height past 64 bits of bytes", dib({.width = kHuge, .height = kHuge}, {}),
         DibError::TooManyPixels, std::numeric_limits<std::size_t>::max()},
        {"absolute run past the data",
         dib({.bits = 8, .compression = 1, .clrUsed = 1, .colors = {0}}, {0, 5, 1, 2}),
         DibError::BadRleStream},
        {"delta cut short",
         dib({.bits = 8, .compression = 1, .clrUsed = 1, .colors = {0}}, {0, 2, 1}),
         DibError::BadRleStream},
        {"unknown colour usage", dib({}, {1, 2, 3, 0}), DibError::BadColorUse, kAmple,
         static_cast<DibColorUse>(3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DibResult r = decodeDib(c.packed, c.maxPixels, c.use);
        EXPECT_EQ(r.error, c.error) << describe(r.error);
        EXPECT_FALSE(r.image.has_value());
    }
}

Bytes bitmap16(std::int16_t width, std::int16_t height, std::int16_t widthBytes, int planes,
               int bits, const Bytes& rows) {
    Bytes b;
    for (std::int16_t v : {std::int16_t{0}, width, height, widthBytes}) {
        put16(b, static_cast<std::uint16_t>(v));
    }
    b.push_back(static_cast<std::uint8_t>(planes));
    b.push_back(static_cast<std::uint8_t>(bits));
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

TEST(Dib, DecodesDeviceBitmapsTopDown) {
    const DibResult mono = decodeBitmap16(bitmap16(10, 2, 2, 1, 1, {0xFF, 0xC0, 0x80, 0}), kAmple);
    ASSERT_TRUE(mono.image.has_value()) << describe(mono.error);
    EXPECT_TRUE(mono.image->monochrome);
    std::vector<std::uint32_t> expected(20, kWhite);
    std::fill(expected.begin() + 11, expected.end(), kBlack);
    EXPECT_EQ(mono.image->pixels, expected);

    const DibResult vga = decodeBitmap16(bitmap16(2, 1, 2, 1, 4, {0x9C, 0}), kAmple);
    ASSERT_TRUE(vga.image.has_value()) << describe(vga.error);
    EXPECT_EQ(vga.image->pixels, (std::vector<std::uint32_t>{kRed, kBlue}));

    // CREATEPATTERNBRUSH: header, unused pointer, 18 reserved bytes, an 8x8 checkerboard.
    Bytes brush = bitmap16(8, 8, 2, 1, 1, Bytes(4 + 18));
    for (int row = 0; row < 8; ++row) {
        brush.insert(brush.end(), {std::uint8_t(row % 2 == 0 ? 0xAA : 0x55), 0});
    }
    const DibResult pattern = decodePatternBrush16(brush, kAmple);
    ASSERT_TRUE(pattern.image.has_value()) << describe(pattern.error);
    EXPECT_EQ(pattern.image->pixels[0], kWhite);
    EXPECT_EQ(pattern.image->pixels[1], kBlack);
    EXPECT_EQ(pattern.image->pixels[8], kBlack);
    EXPECT_EQ(pattern.image->pixels[9], kWhite);
}

TEST(Dib, RefusesDeviceBitmapsThatDisagreeWithTheirRecord) {
    const struct {
        const char* name;
        Bytes record;
        DibError error;
    } cases[] = {
        {"row shorter than the width", bitmap16(10, 1, 1, 1, 1, {0, 0}), DibError::BadStride},
        {"rows past the data", bitmap16(10, 2, 2, 1, 1, {0, 0, 0}), DibError::BitsTooShort},
        {"planar", bitmap16(8, 1, 2, 4, 1, {0, 0}), DibError::BadPlanes},
        {"negative height", bitmap16(8, -1, 2, 1, 1, {0, 0}), DibError::BadSize},
        {"header cut short", Bytes{0, 0, 8, 0}, DibError::TruncatedHeader},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeBitmap16(c.record, kAmple).error, c.error);
    }
}

TEST(Dib, PatternStyleReadsTheColourTableAsRgb) {
    Bytes params;
    put16(params, 3);  // BS_PATTERN
    put16(params, 1);  // DIB_PAL_COLORS, which this style overrides
    const Bytes packed =
        dib({.width = 2, .bits = 1, .colors = {0xFF0000, 0x0000FF}}, {0x40, 0, 0, 0});
    params.insert(params.end(), packed.begin(), packed.end());
    const DibResult r = decodeDibPatternBrush(params, kAmple);
    ASSERT_TRUE(r.image.has_value()) << describe(r.error);
    EXPECT_EQ(r.image->pixels, (std::vector<std::uint32_t>{kRed, kBlue}));
}

}  // namespace
