// Builds a placeable Windows Metafile record by record and returns its bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "metafile/format/wmf_format.h"

namespace quintrel::wmf {

struct Point16 {
    std::int16_t x = 0;
    std::int16_t y = 0;
};

struct Rect16 {
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t right = 0;
    std::int16_t bottom = 0;
};

// A COLORREF: 0x00BBGGRR.
inline constexpr std::uint32_t rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return r | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

struct LogFont {
    std::int16_t height = 0;  // < 0: em height, > 0: cell height, logical units
    std::int16_t width = 0;
    std::int16_t escapement = 0;
    std::int16_t orientation = 0;
    std::int16_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = kAnsiCharset;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;  // at most 31 bytes are written
};

// A packed DIB (BITMAPINFOHEADER, no colour table, 32 bits a pixel, rows bottom-up) of
// `pixels` given top-down as 0x00RRGGBB.
std::vector<std::uint8_t> packDib(int width, int height, std::span<const std::uint32_t> pixels);

inline constexpr std::uint32_t kSrcCopy = 0x00CC0020;

class MetafileWriter {
  public:
    // The placeable bounding box in logical units and the logical units per inch.
    MetafileWriter(Rect16 bounds, std::uint16_t inch);

    void setMapMode(std::uint16_t mode);
    void setWindowOrg(std::int16_t x, std::int16_t y);
    void setWindowExt(std::int16_t x, std::int16_t y);
    void setViewportOrg(std::int16_t x, std::int16_t y);
    void setViewportExt(std::int16_t x, std::int16_t y);
    void saveDc();
    void restoreDc(std::int16_t level);

    // Each create returns the object-table index the object takes: the lowest free one.
    std::uint16_t createFont(const LogFont& font);
    std::uint16_t createPen(std::uint16_t style, std::int16_t width, std::uint32_t color);
    std::uint16_t createBrush(std::uint16_t style, std::uint32_t color, std::uint16_t hatch = 0);
    // A region of rectangles that do not overlap, each its own scan.
    std::uint16_t createRegion(std::span<const Rect16> rects);
    // A brush of a packed DIB pattern (see packDib).
    std::uint16_t createDibPatternBrush(std::span<const std::uint8_t> packedDib);
    void selectObject(std::uint16_t index);
    void deleteObject(std::uint16_t index);

    void setTextColor(std::uint32_t color);
    void setBkColor(std::uint32_t color);
    void setBkMode(std::uint16_t mode);
    void setTextAlign(std::uint16_t align);
    void setPolyFillMode(std::uint16_t mode);

    void textOut(std::int16_t x, std::int16_t y, std::string_view text);
    // `dx` is empty or one advance per byte of `text`; `rect` is written when `options`
    // has kEtoOpaque or kEtoClipped.
    void extTextOut(std::int16_t x, std::int16_t y, std::uint16_t options, Rect16 rect,
                    std::string_view text, std::span<const std::int16_t> dx);

    void setTextCharExtra(std::int16_t extra);
    void setTextJustification(std::int16_t breakExtra, std::int16_t breakCount);

    void intersectClipRect(Rect16 rect);
    void excludeClipRect(Rect16 rect);
    void selectClipRegion(std::uint16_t region);  // 0 lifts the clip

    void moveTo(std::int16_t x, std::int16_t y);
    void lineTo(std::int16_t x, std::int16_t y);
    void polyline(std::span<const Point16> points);
    void polygon(std::span<const Point16> points);
    void rectangle(Rect16 rect);
    void ellipse(Rect16 rect);
    // Function::Arc, Chord or Pie.
    void arc(Function kind, Rect16 box, Point16 start, Point16 end);
    void roundRect(Rect16 rect, std::int16_t cornerWidth, std::int16_t cornerHeight);
    void setPixel(std::int16_t x, std::int16_t y, std::uint32_t color);
    // Draws the `source` part (in bitmap pixels) of a packed DIB into `target`.
    void dibStretchBlt(Rect16 target, Rect16 source, std::uint32_t rop,
                       std::span<const std::uint8_t> packedDib);

    // Any record, for functions without a helper and for test fixtures.
    void record(std::uint16_t function, std::span<const std::uint16_t> params);

    // Appends META_EOF and returns the file: placeable header with its checksum, then
    // META_HEADER with the exact size, object count and largest record.
    std::vector<std::uint8_t> finish() const;
    // The same records as a standard metafile, without the placeable header.
    std::vector<std::uint8_t> finishStandard() const;

  private:
    std::uint16_t allocateObject();
    void appendMetaHeader(std::vector<std::uint8_t>& out) const;
    void record(Function function, std::span<const std::uint16_t> params);

    Rect16 m_bounds;
    std::uint16_t m_inch;
    std::vector<std::uint16_t> m_body;  // records, as words
    std::uint32_t m_maxRecordWords = kRecordHeaderWords;
    std::vector<bool> m_used;  // object table occupancy
};

}  // namespace quintrel::wmf
