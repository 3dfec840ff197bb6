// The drawing operations a metafile plays into, in picture coordinates (the units of the
// placeable bounding box, origin at its top-left corner, y down).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quintrel::wmf {

struct PointF {
    double x = 0;
    double y = 0;
};

struct RectF {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, None };
enum class LineCap { Round, Square, Flat };
enum class LineJoin { Round, Bevel, Miter };
enum class BrushStyle { Solid, None, Hatched, Pattern };
enum class FillRule { Alternate, Winding };

struct Pen {
    PenStyle style = PenStyle::Solid;
    double width = 0;  // picture units; 0 draws the thinnest line the device has
    Rgb color;
    LineCap cap = LineCap::Round;
    LineJoin join = LineJoin::Round;
    std::optional<Rgb> gapColor;  // the gaps of a dashed pen, in OPAQUE background mode
};

// Pixels of a bitmap or brush pattern, top-down rows of 0xAARRGGBB.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Rgb color{255, 255, 255};
    std::uint16_t hatch = 0;                    // HS_* when style is Hatched
    std::optional<Rgb> background;              // the gaps of a hatch, in OPAQUE background mode
    std::shared_ptr<const PixelImage> pattern;  // when style is Pattern; tiles in device pixels
};

enum class ArcKind { Open, Chord, Pie };

// An elliptic arc as GDI draws it: counter-clockwise on the picture from where the ray from
// the centre through `start` meets the ellipse to where the ray through `end` meets it; the
// whole ellipse when both rays coincide.
struct ArcShape {
    RectF bounds;
    PointF start;
    PointF end;
    ArcKind kind = ArcKind::Open;
};

// How a bitmap or a pattern combines with what is already drawn.
enum class BlitOp {
    Copy,    // source
    Or,      // source OR destination
    And,     // source AND destination
    Xor,     // source XOR destination
    Invert,  // NOT destination; the source is not used
};

struct Font {
    std::string face;         // as stored in the file, not yet mapped to an installed face
    double size = 0;          // picture units, > 0
    bool sizeIsCell = false;  // size is the cell height (ascent + descent), not the em height
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = 0;
};

struct TextRun {
    Font font;
    std::string bytes;             // 8-bit text in the font's character set
    std::vector<double> advances;  // picture units; may be shorter than bytes
    PointF reference;              // the point the alignment refers to
    std::uint16_t align = 0;       // TA_* horizontal and vertical bits
    Rgb color;
    std::optional<Rgb> background;    // fill the text cell (OPAQUE background mode)
    std::optional<RectF> opaqueRect;  // ETO_OPAQUE rectangle, filled with the background colour
    std::optional<RectF> clipRect;    // ETO_CLIPPED rectangle
    double angle = 0;                 // degrees counter-clockwise on the picture
    double charExtra = 0;             // picture units added after every character
    double breakExtra = 0;            // picture units shared out among the break characters
    int breakCount = 0;               // how many break characters share breakExtra
};

// How many times, on average, the edges of an outline cross one horizontal line through it.
// Antialiased filling slows down far faster than that number grows, so an outline that
// crosses more often than kMaxSmoothCrossings is filled without antialiasing; the player
// charges its work by the same measure, so both decide alike on every machine.
inline constexpr double kMaxSmoothCrossings = 64;

struct EdgeSpan {
    double sumDy = 0;  // total height of all edges, picture units
    double top = 0;
    double bottom = 0;
    double crossings() const { return bottom > top ? sumDy / (bottom - top) : 0; }
};

// The edges of `points`, closing the outline when `closed`.
inline void addEdges(EdgeSpan& span, std::span<const PointF> points, bool closed) {
    if (points.empty()) {
        return;
    }
    if (span.sumDy == 0 && span.top == span.bottom) {
        span.top = span.bottom = points.front().y;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PointF& next = points[(i + 1) % points.size()];
        if (i + 1 < points.size() || closed) {
            span.sumDy += next.y > points[i].y ? next.y - points[i].y : points[i].y - next.y;
        }
        span.top = points[i].y < span.top ? points[i].y : span.top;
        span.bottom = points[i].y > span.bottom ? points[i].y : span.bottom;
    }
}

class Canvas {
  public:
    virtual ~Canvas() = default;
    // Limits all later drawing to the union of `rects`, or lifts the limit (nullopt).
    virtual void setClip(const std::optional<std::vector<RectF>>& rects) = 0;
    virtual void drawPolyline(std::span<const PointF> points, const Pen& pen) = 0;
    // Also used for rectangles; polygons are closed implicitly.
    virtual void drawPolygons(std::span<const std::vector<PointF>> polygons, const Pen& pen,
                              const Brush& brush, FillRule rule) = 0;
    virtual void drawEllipse(const RectF& bounds, const Pen& pen, const Brush& brush) = 0;
    virtual void drawArc(const ArcShape& arc, const Pen& pen, const Brush& brush) = 0;
    // `corner` is the width and height of the ellipse that rounds each corner.
    virtual void drawRoundRect(const RectF& bounds, PointF corner, const Pen& pen,
                               const Brush& brush) = 0;
    // Fills rectangles with a brush, or inverts what lies under them (op Invert).
    virtual void fillRects(std::span<const RectF> rects, const Brush& brush, BlitOp op) = 0;
    // One device pixel at `at`.
    virtual void setPixel(PointF at, Rgb color) = 0;
    // Draws `source` (in image pixels) of `image` into `target`; `smooth` averages pixels when
    // scaling instead of taking the nearest.
    virtual void drawImage(const RectF& target, const PixelImage& image, const RectF& source,
                           BlitOp op, bool smooth) = 0;
    // Returns the run's total advance in picture units (for TA_UPDATECP).
    virtual double drawText(const TextRun& run) = 0;
};

}  // namespace quintrel::wmf
