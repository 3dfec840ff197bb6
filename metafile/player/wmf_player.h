// The record player behind play(): the device context, the object table and one member per
// record family. Its members are spread over wmf_interpreter.cpp (dispatch, state, budget),
// wmf_objects.cpp, wmf_shapes.cpp, wmf_clipping.cpp, wmf_text.cpp and wmf_bitmaps.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "metafile/decode/dib.h"
#include "metafile/format/byte_reader.h"
#include "metafile/player/wmf_canvas.h"
#include "metafile/player/wmf_interpreter.h"
#include "metafile/player/wmf_mapping.h"
#include "metafile/player/wmf_region.h"

namespace quintrel::wmf {

struct LogPen {
    std::uint16_t style = kPsSolid;  // PS_* style, end cap and join bits
    std::int16_t width = 0;          // logical units
    Rgb color;
};

struct LogBrush {
    std::uint16_t style = kBsSolid;
    Rgb color{255, 255, 255};
    std::uint16_t hatch = 0;
    std::shared_ptr<const PixelImage> pattern;
    // A monochrome pattern takes the text colour for its 0 bits and the background colour
    // for its 1 bits when it is drawn, as a monochrome bitmap does on a colour device.
    bool monochrome = false;
};

struct LogFontState {
    std::int16_t height = 0;
    std::int16_t weight = 400;
    std::int16_t escapement = 0;  // tenths of a degree, counter-clockwise
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = kAnsiCharset;
    std::string face;
};

// Palettes take a table slot but are never drawn with.
struct Placeholder {};

// Regions are kept in logical units, as the record gives them.
using Object = std::variant<std::monostate, LogPen, LogBrush, LogFontState, Region, Placeholder>;

struct DeviceContext {
    explicit DeviceContext(const Mapping& host) : mapping(host) {}

    Mapping mapping;
    LogPen pen;
    LogBrush brush;
    LogFontState font;
    Rgb textColor{0, 0, 0};
    Rgb bkColor{255, 255, 255};
    std::uint16_t bkMode = kOpaque;
    std::uint16_t textAlign = kTaLeft | kTaTop;
    std::uint16_t fillMode = kAlternate;
    std::uint16_t stretchMode = 1;
    double charExtra = 0;  // logical units
    double breakExtra = 0;
    int breakCount = 0;
    double currentX = 0;  // logical units
    double currentY = 0;
    std::optional<Region> clip;  // picture units; none: the whole picture
};

// A COLORREF; `ok` says whether it was there.
inline Rgb readColor(WordReader& in, bool& ok) {
    std::uint32_t ref = 0;
    ok = in.readU32(ref);
    return Rgb{static_cast<std::uint8_t>(ref & 0xFF), static_cast<std::uint8_t>((ref >> 8) & 0xFF),
               static_cast<std::uint8_t>((ref >> 16) & 0xFF)};
}

// How far outside the picture frame a coordinate may lie, in frame sizes. Hostile
// coordinates are clamped there so the canvas never strokes or dashes absurd lengths.
inline constexpr double kCoordinateSlack = 4.0;

class Player {
  public:
    Player(const Metafile& metafile, Canvas& canvas, const PlayLimits& limits);

    bool playRecord(const Record& record);
    bool budgetExhausted() const { return m_exhausted; }
    std::size_t work() const { return static_cast<std::size_t>(m_work); }

  private:
    // State and budget (wmf_interpreter.cpp).
    bool restoreDc(WordReader& in);
    bool mappingRecord(Function function, WordReader& in);
    bool spend(double units);
    // A shape covering `bounds` with `points` points, filled with `brush` (if any) and with
    // an outline measured by `edges` (if any).
    bool spendOn(const RectF& bounds, std::size_t points, const Brush* brush = nullptr,
                 const EdgeSpan* edges = nullptr);
    double areaCost(const RectF& bounds) const;

    // Objects (wmf_objects.cpp).
    bool addObject(Object object);
    bool createPen(WordReader& in);
    bool createBrush(WordReader& in);
    bool createFont(WordReader& in);
    bool createRegion(WordReader& in);
    bool selectObject(WordReader& in);
    bool deleteObject(WordReader& in);
    template <typename T>
    const T* objectAt(std::uint16_t index) const {
        return index < m_objects.size() ? std::get_if<T>(&m_objects[index]) : nullptr;
    }
    Pen pen() const;
    // Recolouring a monochrome pattern costs work, hence not const.
    Brush brushOf(const LogBrush& brush);
    Brush brush() { return brushOf(m_dc.brush); }
    Font font() const;

    // Coordinates (wmf_interpreter.cpp).
    PointF toPicture(double x, double y) const;
    bool readPoint(WordReader& in, double& x, double& y);
    bool readPoints(WordReader& in, std::size_t count, std::vector<PointF>& out);
    // Shapes store bottom, right, top, left; text rectangles left, top, right, bottom.
    bool readRect(WordReader& in, RectF& out, bool bottomFirst);
    RectF pictureRect(double left, double top, double right, double bottom) const;
    double toPictureWidth(double logical) const;
    double toPictureHeight(double logical) const;

    // Lines and shapes (wmf_shapes.cpp).
    bool lineTo(WordReader& in);
    bool poly(WordReader& in, bool closed);
    bool polyPolygon(WordReader& in);
    bool box(WordReader& in, Function function);
    bool arc(WordReader& in, ArcKind kind);
    bool roundRect(WordReader& in);
    bool setPixel(WordReader& in);
    FillRule fillRule() const;
    RectF insideFrame(RectF bounds) const;

    // Clipping and regions (wmf_clipping.cpp).
    bool clipRect(WordReader& in, bool exclude);
    bool offsetClip(WordReader& in);
    bool selectClipRegion(WordReader& in);
    // Makes the region, in logical units, the clip (SELECTCLIPREGION, SELECTOBJECT).
    bool clipTo(const Region& logical);
    bool regionRecord(Function function, WordReader& in);
    std::optional<Region> pictureRegion(const Region& logical);
    // Hands the clip to the canvas; false, with nothing handed, when the work bound is spent.
    bool applyClip();
    // What drawing over `bounds` costs more under the clip.
    double clipDrawCost(const RectF& bounds) const;
    // The rectangle every coordinate is clamped to, kCoordinateSlack frames around the frame.
    RectF reach() const;

    // Text (wmf_text.cpp).
    bool textOut(WordReader& in);
    bool extTextOut(WordReader& in);
    bool setTextJustification(WordReader& in);
    void drawText(double x, double y, std::string bytes, std::vector<double> advances,
                  std::optional<RectF> opaqueRect, std::optional<RectF> clipRect);

    // Bitmaps and pattern fills (wmf_bitmaps.cpp).
    bool patBlt(WordReader& in);
    bool blit(Function function, WordReader& in);
    bool setDibToDev(WordReader& in);
    bool createPatternBrush(WordReader& in, bool dib);
    bool fillWithRop(const RectF& target, std::uint8_t rop);
    // `source` is in bitmap pixels as the record gives it; the mirror flags say whether the
    // destination's extents ran against the picture's axes.
    bool drawBitmap(std::span<const std::uint8_t> bytes, bool dib, DibColorUse colorUse,
                    std::uint8_t rop, const RectF& target, RectF source, bool bottomUp,
                    bool mirrorX, bool mirrorY);
    std::size_t bitmapPixelLimit() const;

    const Metafile& m_metafile;
    Canvas& m_canvas;
    DeviceContext m_dc;
    std::vector<DeviceContext> m_saved;
    std::vector<Object> m_objects;
    double m_frameWidth = 1;  // picture units
    double m_frameHeight = 1;
    double m_maxExtent = 1;
    PointF m_deviceCorner;  // where the picture starts in device units (a frame in them)
    double m_work = 0;
    double m_maxWork = 0;
    double m_bitmapPixels = 0;  // pixels decoded so far in this play
    // The clip the canvas has: its rectangles' total height and the most of their edges that
    // cross one line (picture units; 0 without a clip).
    double m_clipHeight = 0;
    double m_clipCrossings = 0;
    bool m_exhausted = false;
};

}  // namespace quintrel::wmf
