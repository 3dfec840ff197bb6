// The drawing operations a metafile plays into, in picture coordinates (the units of the
// placeable bounding box, origin at its top-left corner, y down).
#pragma once

#include <cstdint>
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
enum class BrushStyle { Solid, None, Hatched };
enum class FillRule { Alternate, Winding };

struct Pen {
    PenStyle style = PenStyle::Solid;
    double width = 0;  // picture units; 0 draws the thinnest line the device has
    Rgb color;
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Rgb color{255, 255, 255};
    std::uint16_t hatch = 0;  // HS_* when style is Hatched
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
};

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void drawPolyline(std::span<const PointF> points, const Pen& pen) = 0;
    // Also used for rectangles; polygons are closed implicitly.
    virtual void drawPolygons(std::span<const std::vector<PointF>> polygons, const Pen& pen,
                              const Brush& brush, FillRule rule) = 0;
    virtual void drawEllipse(const RectF& bounds, const Pen& pen, const Brush& brush) = 0;
    // Returns the run's total advance in picture units (for TA_UPDATECP).
    virtual double drawText(const TextRun& run) = 0;
};

}  // namespace quintrel::wmf
