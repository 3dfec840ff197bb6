// Record functions, GDI constants and reader limits of the Windows Metafile format.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quintrel::wmf {

// Record functions, as stored in a record's RecordFunction word.
enum class Function : std::uint16_t {
    Eof = 0x0000,
    SaveDc = 0x001E,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetPolyFillMode = 0x0106,
    RestoreDc = 0x0127,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DibCreatePatternBrush = 0x0142,
    DeleteObject = 0x01F0,
    CreatePatternBrush = 0x01F9,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreatePalette = 0x00F7,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    Escape = 0x0626,
    CreateRegion = 0x06FF,
    ExtTextOut = 0x0A32,
};

inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr std::size_t kPlaceableHeaderBytes = 22;
inline constexpr std::size_t kMetaHeaderBytes = 18;
inline constexpr std::uint16_t kMetaHeaderWords = 9;
inline constexpr std::size_t kRecordHeaderWords = 3;  // RecordSize (2 words) + RecordFunction

// Limits that keep a hostile file from exhausting memory or time. The formula pictures are
// a few kilobytes with a few hundred records; the limits leave ample room above that.
inline constexpr std::size_t kMaxFileBytes = 8u << 20;
inline constexpr std::size_t kMaxRecords = 200'000;
inline constexpr std::size_t kMaxObjects = 1024;      // object table slots
inline constexpr std::size_t kMaxSaveDepth = 1024;    // nested SAVEDC levels
inline constexpr std::size_t kMaxPoints = 16'384;     // points in one poly record
inline constexpr std::size_t kMaxPolygons = 1024;     // polygons in one POLYPOLYGON
inline constexpr std::size_t kMaxTextLength = 4096;   // bytes in one text record
inline constexpr std::size_t kMaxFaceNameBytes = 32;  // LOGFONT face name, NUL included
inline constexpr int kMaxFontHeight = 16'384;         // logical units, either sign

// SetTextAlign flags.
inline constexpr std::uint16_t kTaUpdateCp = 0x0001;
inline constexpr std::uint16_t kTaHorizontalMask = 0x0006;
inline constexpr std::uint16_t kTaLeft = 0x0000;
inline constexpr std::uint16_t kTaRight = 0x0002;
inline constexpr std::uint16_t kTaCenter = 0x0006;
inline constexpr std::uint16_t kTaVerticalMask = 0x0018;
inline constexpr std::uint16_t kTaTop = 0x0000;
inline constexpr std::uint16_t kTaBottom = 0x0008;
inline constexpr std::uint16_t kTaBaseline = 0x0018;

// ExtTextOut options.
inline constexpr std::uint16_t kEtoOpaque = 0x0002;
inline constexpr std::uint16_t kEtoClipped = 0x0004;

// Background modes.
inline constexpr std::uint16_t kTransparent = 1;
inline constexpr std::uint16_t kOpaque = 2;

// Map modes that change how the window maps to the picture frame.
inline constexpr std::uint16_t kMmText = 1;
inline constexpr std::uint16_t kMmIsotropic = 7;
inline constexpr std::uint16_t kMmAnisotropic = 8;

// Pen styles (low nibble of the style word).
inline constexpr std::uint16_t kPsSolid = 0;
inline constexpr std::uint16_t kPsDash = 1;
inline constexpr std::uint16_t kPsDot = 2;
inline constexpr std::uint16_t kPsDashDot = 3;
inline constexpr std::uint16_t kPsDashDotDot = 4;
inline constexpr std::uint16_t kPsNull = 5;
inline constexpr std::uint16_t kPsInsideFrame = 6;

// Brush styles.
inline constexpr std::uint16_t kBsSolid = 0;
inline constexpr std::uint16_t kBsNull = 1;
inline constexpr std::uint16_t kBsHatched = 2;

// Polygon fill modes.
inline constexpr std::uint16_t kAlternate = 1;
inline constexpr std::uint16_t kWinding = 2;

// Character sets of a LOGFONT.
inline constexpr std::uint8_t kAnsiCharset = 0;
inline constexpr std::uint8_t kDefaultCharset = 1;
inline constexpr std::uint8_t kSymbolCharset = 2;

}  // namespace quintrel::wmf
