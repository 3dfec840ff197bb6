// Bitmaps stored in metafile records (packed DIBs and old Bitmap16 objects) decoded to pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quintrel::wmf {

// Absolute cap on the pixels of one decoded bitmap (64 MiB of pixels), whatever the caller's
// own limit; the caller passes a tighter limit derived from the picture's size.
inline constexpr std::size_t kMaxBitmapPixels = std::size_t{16} << 20;
// More entries than an 8-bit index can reach are never useful, so larger tables are refused.
inline constexpr std::size_t kMaxColorTableEntries = 256;

struct Image {
    int width = 0;
    int height = 0;
    // Rows top-down, 0xAARRGGBB. Alpha is 255 except where an RLE bitmap skipped a pixel
    // (delta or early end of line/bitmap): those stay 0x00000000, so the caller can leave
    // the destination unchanged there, as the system does.
    std::vector<std::uint32_t> pixels;
    // A 1-bit device-dependent bitmap: its black pixels take the text colour and its white
    // pixels the background colour when drawn onto a colour device.
    bool monochrome = false;
};

enum class DibError {
    None,                    // the bitmap was decoded
    TruncatedHeader,         // the data ends inside the header or the bit-field masks
    UnsupportedHeaderSize,   // the header size is none of 12, 40, 52, 56, 108, 124
    BadSize,                 // width or height is zero, negative or out of range
    BadPlanes,               // the header gives a plane count other than 1
    UnsupportedBitCount,     // bits per pixel is none of 1, 4, 8, 16, 24, 32
    UnsupportedCompression,  // JPEG, PNG, an unknown scheme, or RLE/bit fields that the bit
                             // count or a top-down bitmap cannot use
    BadColorUse,             // the colour usage word is none of RGB, palette colours, indices
    BadBitfields,            // a colour mask is not one run of bits or lies outside the pixel
    ColorTableTooBig,        // more colours than the bit count can index (or than the cap)
    ColorTableTruncated,     // the colour table reaches past the end of the data
    BadStride,               // a Bitmap16 row is shorter than its width and bit count need
    BitsTooShort,            // fewer bytes of pixel data than stride × height
    TooManyPixels,           // width × height exceeds the caller's limit or kMaxBitmapPixels
    BadRleStream,            // an RLE run, delta or absolute run reaches past the data
};

// One line for a log: what was wrong with the bitmap.
const char* describe(DibError error);

// How a DIB's colour table is to be read (the ColorUsage word of the DIB records).
enum class DibColorUse : std::uint16_t {
    Rgb = 0,             // RGBQUAD (or RGBTRIPLE) entries
    PaletteColors = 1,   // 16-bit indices into the logical palette
    PaletteIndices = 2,  // no colour table: pixel values index the palette directly
};

// Exactly one of `image` and a non-None `error` is set.
struct DibResult {
    std::optional<Image> image;
    DibError error = DibError::None;
};

// Decodes a packed DIB: a BITMAPINFOHEADER (or BITMAPCOREHEADER, V4 or V5 header), its
// colour table and the pixel bits, all in `packed`. `colorUse` is the record's word, cast.
// Palette colours and indices refer to the default 20-colour palette (the player does not
// realise logical palettes); an index past a palette or colour table draws black.
// `maxPixels` bounds width × height (in addition to kMaxBitmapPixels).
DibResult decodeDib(std::span<const std::uint8_t> packed, std::size_t maxPixels,
                    DibColorUse colorUse = DibColorUse::Rgb);

// Decodes the device-dependent Bitmap16 object of the old BITBLT and STRETCHBLT records:
// Type, Width, Height, WidthBytes (16-bit each), Planes and BitsPixel (a byte each), then
// the rows top-down, WidthBytes apart. 1 bpp is monochrome (see Image::monochrome); 4 and 8 bpp
// index the standard device palettes; 16 bpp is 5-5-5, 24 and 32 bpp are blue-green-red.
DibResult decodeBitmap16(std::span<const std::uint8_t> record, std::size_t maxPixels);

// Decodes the parameters of a CREATEPATTERNBRUSH record: a Bitmap16 header whose Bits field
// is an unused 4-byte pointer, 18 reserved bytes, then the pattern rows.
DibResult decodePatternBrush16(std::span<const std::uint8_t> params, std::size_t maxPixels);

// Decodes the parameters of a DIBCREATEPATTERNBRUSH record: Style and ColorUsage words, then
// a packed DIB. A BS_PATTERN style reads the colour table as RGB whatever ColorUsage says.
DibResult decodeDibPatternBrush(std::span<const std::uint8_t> params, std::size_t maxPixels);

}  // namespace quintrel::wmf
