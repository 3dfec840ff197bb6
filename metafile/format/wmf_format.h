// Record functions, GDI constants and reader limits of the Windows Metafile format.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quintrel::wmf {

// Record functions, as stored in a record's RecordFunction word.
enum class Function : std::uint16_t {
    Eof = 0x0000,
    SaveDc = 0x001E,
    RealizePalette = 0x0035,
    SetPalEntries = 0x0037,
    CreatePalette = 0x00F7,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetRelAbs = 0x0105,
    SetPolyFillMode = 0x0106,
    SetStretchBltMode = 0x0107,
    SetTextCharExtra = 0x0108,
    RestoreDc = 0x0127,
    InvertRegion = 0x012A,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    ResizePalette = 0x0139,
    DibCreatePatternBrush = 0x0142,
    SetLayout = 0x0149,
    DeleteObject = 0x01F0,
    CreatePatternBrush = 0x01F9,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetTextJustification = 0x020A,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    OffsetViewportOrg = 0x0211,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    OffsetClipRgn = 0x0220,
    FillRegion = 0x0228,
    SetMapperFlags = 0x0231,
    SelectPalette = 0x0234,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    ScaleWindowExt = 0x0410,
    ScaleViewportExt = 0x0412,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Ellipse = 0x0418,
    FloodFill = 0x0419,
    Rectangle = 0x041B,
    SetPixel = 0x041F,
    FrameRegion = 0x0429,
    AnimatePalette = 0x0436,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    ExtFloodFill = 0x0548,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    Escape = 0x0626,
    CreateRegion = 0x06FF,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
    BitBlt = 0x0922,
    DibBitBlt = 0x0940,
    ExtTextOut = 0x0A32,
    StretchBlt = 0x0B23,
    DibStretchBlt = 0x0B41,
    SetDibToDev = 0x0D33,
    StretchDib = 0x0F43,
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
inline constexpr std::size_t kMaxRegionRects = 4096;  // rectangles in one region or clip
// Units of drawing work one play may spend (see PlayLimits): a few hundred milliseconds of
// painting at most, far above what any of the formula pictures needs.
inline constexpr std::size_t kMaxPlayWork = 4'000'000;

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

inline constexpr std::uint16_t kTaRtlReading = 0x0100;

// ExtTextOut options.
inline constexpr std::uint16_t kEtoOpaque = 0x0002;
inline constexpr std::uint16_t kEtoClipped = 0x0004;

// Background modes.
inline constexpr std::uint16_t kTransparent = 1;
inline constexpr std::uint16_t kOpaque = 2;

// Map modes.
inline constexpr std::uint16_t kMmText = 1;
inline constexpr std::uint16_t kMmLoMetric = 2;   // 0.1 mm, y up
inline constexpr std::uint16_t kMmHiMetric = 3;   // 0.01 mm, y up
inline constexpr std::uint16_t kMmLoEnglish = 4;  // 0.01 inch, y up
inline constexpr std::uint16_t kMmHiEnglish = 5;  // 0.001 inch, y up
inline constexpr std::uint16_t kMmTwips = 6;      // 1/1440 inch, y up
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
inline constexpr std::uint16_t kPsStyleMask = 0x000F;
inline constexpr std::uint16_t kPsEndCapMask = 0x0F00;
inline constexpr std::uint16_t kPsEndCapSquare = 0x0100;
inline constexpr std::uint16_t kPsEndCapFlat = 0x0200;
inline constexpr std::uint16_t kPsJoinMask = 0xF000;
inline constexpr std::uint16_t kPsJoinBevel = 0x1000;
inline constexpr std::uint16_t kPsJoinMiter = 0x2000;

// Brush styles.
inline constexpr std::uint16_t kBsSolid = 0;
inline constexpr std::uint16_t kBsNull = 1;
inline constexpr std::uint16_t kBsHatched = 2;
inline constexpr std::uint16_t kBsPattern = 3;
inline constexpr std::uint16_t kBsDibPattern = 5;

// SetRop2 mix mode that draws with the pen or brush colour unchanged.
inline constexpr std::uint16_t kR2CopyPen = 13;

// SetStretchBltMode: HALFTONE averages source pixels; the others drop them.
inline constexpr std::uint16_t kStretchHalftone = 4;

// Ternary raster operations (the high word of a ROP3 code) the player draws.
inline constexpr std::uint8_t kRopBlackness = 0x00;
inline constexpr std::uint8_t kRopNotSrcErase = 0x11;
inline constexpr std::uint8_t kRopNotSrcCopy = 0x33;
inline constexpr std::uint8_t kRopDstInvert = 0x55;
inline constexpr std::uint8_t kRopPatInvert = 0x5A;
inline constexpr std::uint8_t kRopSrcInvert = 0x66;
inline constexpr std::uint8_t kRopSrcAnd = 0x88;
inline constexpr std::uint8_t kRopSrcCopy = 0xCC;
inline constexpr std::uint8_t kRopSrcPaint = 0xEE;
inline constexpr std::uint8_t kRopPatCopy = 0xF0;
inline constexpr std::uint8_t kRopWhiteness = 0xFF;

// Polygon fill modes.
inline constexpr std::uint16_t kAlternate = 1;
inline constexpr std::uint16_t kWinding = 2;

// Character sets of a LOGFONT.
inline constexpr std::uint8_t kAnsiCharset = 0;
inline constexpr std::uint8_t kDefaultCharset = 1;
inline constexpr std::uint8_t kSymbolCharset = 2;

}  // namespace quintrel::wmf
