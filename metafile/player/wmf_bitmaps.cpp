// Bitmap records (BITBLT, STRETCHBLT, the DIB forms, STRETCHDIB, SETDIBTODEV), pattern fills
// (PATBLT, blits without a bitmap) and pattern brushes.
#include <algorithm>
#include <cmath>

#include "metafile/decode/dib.h"
#include "metafile/player/wmf_player.h"

namespace quintrel::wmf {

namespace {

// A bitmap may hold this many pixels per unit of the picture frame (but never fewer than
// kMinBitmapPixels, nor more than kMaxBitmapPixels): enough for a bitmap finer than the
// picture's own units, never enough to make a small picture allocate a huge one.
constexpr double kBitmapPixelsPerPictureUnit = 4;
constexpr std::size_t kMinBitmapPixels = std::size_t{1} << 20;

std::uint32_t argb(Rgb c) {
    return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

// Whether a packed DIB stores its rows bottom-up: the source y of a DIB record counts from
// its bottom row then, as StretchDIBits counts it.
bool isBottomUp(std::span<const std::uint8_t> dib) {
    if (dib.size() < 12) {
        return true;
    }
    const std::uint32_t headerSize =
        dib[0] | (dib[1] << 8) | (dib[2] << 16) | (std::uint32_t{dib[3]} << 24);
    if (headerSize == 12) {
        return true;  // BITMAPCOREHEADER: always bottom-up
    }
    return (dib[11] & 0x80) == 0;  // the sign of the 32-bit height
}

bool usesSource(std::uint8_t rop) {
    return rop != kRopPatCopy && rop != kRopPatInvert && rop != kRopDstInvert &&
           rop != kRopBlackness && rop != kRopWhiteness;
}

}  // namespace

std::size_t Player::bitmapPixelLimit() const {
    const double byFrame = kBitmapPixelsPerPictureUnit * m_frameWidth * m_frameHeight;
    return std::min(kMaxBitmapPixels,
                    std::max(kMinBitmapPixels, static_cast<std::size_t>(byFrame)));
}

// PATCOPY, PATINVERT, DSTINVERT, BLACKNESS and WHITENESS need no source bitmap.
bool Player::fillWithRop(const RectF& target, std::uint8_t rop) {
    Brush fill;
    BlitOp op = BlitOp::Copy;
    switch (rop) {
        case kRopPatCopy:
            fill = brush();
            break;
        case kRopPatInvert:
            fill = brush();
            op = BlitOp::Xor;
            break;
        case kRopDstInvert:
            op = BlitOp::Invert;
            break;
        case kRopBlackness:
            fill = Brush{BrushStyle::Solid, {0, 0, 0}, 0, std::nullopt, nullptr};
            break;
        case kRopWhiteness:
            fill = Brush{BrushStyle::Solid, {255, 255, 255}, 0, std::nullopt, nullptr};
            break;
        default:
            return false;
    }
    if (!spendOn(target, 4, &fill)) {
        return false;
    }
    m_canvas.fillRects(std::span(&target, 1), fill, op);
    return true;
}

// PATBLT stores the raster operation, then height, width, y, x.
bool Player::patBlt(WordReader& in) {
    std::uint32_t rop = 0;
    std::int16_t v[4] = {};
    if (!in.readU32(rop) || !in.readI16s(v)) {
        return false;
    }
    return fillWithRop(pictureRect(v[3], v[2], v[3] + v[1], v[2] + v[0]),
                       static_cast<std::uint8_t>(rop >> 16));
}

bool Player::blit(Function function, WordReader& in) {
    const bool stretch = function == Function::StretchBlt || function == Function::DibStretchBlt ||
                         function == Function::StretchDib;
    const bool dib = function != Function::BitBlt && function != Function::StretchBlt;
    // Without a bitmap the record is exactly as many words as its function's high byte says,
    // with a reserved word in place of the source.
    const bool hasBitmap =
        function == Function::StretchDib ||
        in.remaining() != static_cast<std::size_t>(static_cast<std::uint16_t>(function) >> 8);

    std::uint32_t rop = 0;
    std::uint16_t colorUse = 0;
    std::int16_t srcHeight = 0;
    std::int16_t srcWidth = 0;
    std::int16_t ySrc = 0;
    std::int16_t xSrc = 0;
    std::int16_t reserved = 0;
    std::int16_t height = 0;
    std::int16_t width = 0;
    std::int16_t yDest = 0;
    std::int16_t xDest = 0;
    if (!in.readU32(rop) || (function == Function::StretchDib && !in.readU16(colorUse)) ||
        (stretch && (!in.readI16(srcHeight) || !in.readI16(srcWidth))) || !in.readI16(ySrc) ||
        !in.readI16(xSrc) || (!hasBitmap && !in.readI16(reserved)) || !in.readI16(height) ||
        !in.readI16(width) || !in.readI16(yDest) || !in.readI16(xDest)) {
        return false;
    }
    if (!stretch) {
        srcWidth = width;
        srcHeight = height;
    }
    const auto ropCode = static_cast<std::uint8_t>(rop >> 16);
    const PointF a = toPicture(xDest, yDest);
    const PointF b = toPicture(xDest + width, yDest + height);
    const RectF target{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                       std::max(a.y, b.y)};
    if (!hasBitmap || !usesSource(ropCode)) {
        return fillWithRop(target, ropCode);
    }
    std::vector<std::uint8_t> bytes;
    in.readBytes(2 * in.remaining(), bytes);
    const bool bottomUp = dib && isBottomUp(bytes);
    return drawBitmap(
        bytes, dib, static_cast<DibColorUse>(colorUse), ropCode, target,
        {double(xSrc), double(ySrc), double(xSrc + srcWidth), double(ySrc + srcHeight)}, bottomUp,
        b.x < a.x, b.y < a.y);
}

// SETDIBTODEV stores colour use, scan count, first scan, y and x in the bitmap, height,
// width, then the destination y and x. The bitmap is drawn unscaled.
bool Player::setDibToDev(WordReader& in) {
    std::uint16_t colorUse = 0;
    std::uint16_t scans = 0;
    std::uint16_t firstScan = 0;
    std::int16_t v[6] = {};
    if (!in.readU16(colorUse) || !in.readU16(scans) || !in.readU16(firstScan)) {
        return false;
    }
    if (!in.readI16s(v)) {
        return false;
    }
    const auto [ySrc, xSrc, height, width, yDest, xDest] =
        std::tuple{v[0], v[1], v[2], v[3], v[4], v[5]};
    const PointF a = toPicture(xDest, yDest);
    const PointF b = toPicture(xDest + width, yDest + height);
    const RectF target{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                       std::max(a.y, b.y)};
    std::vector<std::uint8_t> bytes;
    in.readBytes(2 * in.remaining(), bytes);
    return drawBitmap(bytes, true, static_cast<DibColorUse>(colorUse), kRopSrcCopy, target,
                      {double(xSrc), double(ySrc), double(xSrc + width), double(ySrc + height)},
                      isBottomUp(bytes), b.x < a.x, b.y < a.y);
}

bool Player::drawBitmap(std::span<const std::uint8_t> bytes, bool dib, DibColorUse colorUse,
                        std::uint8_t rop, const RectF& target, RectF source, bool bottomUp,
                        bool mirrorX, bool mirrorY) {
    BlitOp op = BlitOp::Copy;
    switch (rop) {
        case kRopSrcCopy:
        case kRopNotSrcCopy:
            break;
        case kRopSrcPaint:
            op = BlitOp::Or;
            break;
        case kRopSrcAnd:
            op = BlitOp::And;
            break;
        case kRopSrcInvert:
            op = BlitOp::Xor;
            break;
        default:
            return false;  // operations that mix source, pattern and destination otherwise
    }
    DibResult decoded = dib ? decodeDib(bytes, bitmapPixelLimit(), colorUse)
                            : decodeBitmap16(bytes, bitmapPixelLimit());
    if (!decoded.image) {
        return false;
    }
    Image& image = *decoded.image;
    const double pixels = static_cast<double>(image.pixels.size());
    if (!spend(pixels / kPixelsPerWork) || !spendOn(target, 4)) {
        return false;
    }
    for (std::uint32_t& pixel : image.pixels) {
        if (image.monochrome) {
            pixel = (pixel & 0xFFFFFF) == 0 ? argb(m_dc.textColor) : argb(m_dc.bkColor);
        }
        if (rop == kRopNotSrcCopy) {
            pixel ^= 0x00FFFFFF;
        }
    }
    if (bottomUp) {
        source = {source.left, image.height - source.bottom, source.right,
                  image.height - source.top};
    }
    // A negative extent on either side mirrors the bitmap; the canvas takes that as a source
    // running right to left or bottom to top.
    if (mirrorX) {
        std::swap(source.left, source.right);
    }
    if (mirrorY) {
        std::swap(source.top, source.bottom);
    }
    const PixelImage pixelsOut{image.width, image.height, std::move(image.pixels)};
    m_canvas.drawImage(target, pixelsOut, source, op, m_dc.stretchMode == kStretchHalftone);
    return true;
}

bool Player::createPatternBrush(WordReader& in, bool dib) {
    std::vector<std::uint8_t> bytes;
    in.readBytes(2 * in.remaining(), bytes);
    DibResult decoded = dib ? decodeDibPatternBrush(bytes, bitmapPixelLimit())
                            : decodePatternBrush16(bytes, bitmapPixelLimit());
    if (!decoded.image ||
        !spend(static_cast<double>(decoded.image->pixels.size()) / kPixelsPerWork)) {
        // The writer counted a slot for it; later indices must still line up.
        addObject(Placeholder{});
        return false;
    }
    LogBrush brush;
    brush.style = dib ? kBsDibPattern : kBsPattern;
    brush.monochrome = decoded.image->monochrome;
    brush.pattern = std::make_shared<PixelImage>(
        PixelImage{decoded.image->width, decoded.image->height, std::move(decoded.image->pixels)});
    return addObject(std::move(brush));
}

}  // namespace quintrel::wmf
