// The frame of a metafile without a placeable header: from its window records, or from the
// extent of what it draws.
#include "metafile/player/wmf_frame.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "metafile/format/byte_reader.h"
#include "metafile/player/wmf_interpreter.h"

namespace quintrel::wmf {

namespace {

// Average advance of a character, in ems, for the extent of text whose font is not known.
constexpr double kAverageAdvance = 0.6;

// Collects the bounding box of everything drawn, pens and text included.
class BoundsCanvas : public Canvas {
  public:
    std::optional<RectF> bounds;

    void setClip(const std::optional<std::vector<RectF>>&) override {}
    void drawPolyline(std::span<const PointF> points, const Pen& pen) override {
        addPoints(points, pen.width / 2);
    }
    void drawPolygons(std::span<const std::vector<PointF>> polygons, const Pen& pen, const Brush&,
                      FillRule) override {
        for (const auto& polygon : polygons) {
            addPoints(polygon, pen.width / 2);
        }
    }
    void drawEllipse(const RectF& r, const Pen& pen, const Brush&) override {
        addRect(r, pen.width / 2);
    }
    void drawArc(const ArcShape& arc, const Pen& pen, const Brush&) override {
        addRect(arc.bounds, pen.width / 2);
    }
    void drawRoundRect(const RectF& r, PointF, const Pen& pen, const Brush&) override {
        addRect(r, pen.width / 2);
    }
    void fillRects(std::span<const RectF> rects, const Brush&, BlitOp) override {
        for (const RectF& r : rects) {
            addRect(r, 0);
        }
    }
    void setPixel(PointF at, Rgb) override { addRect({at.x, at.y, at.x + 1, at.y + 1}, 0); }
    void drawImage(const RectF& target, const PixelImage&, const RectF&, BlitOp, bool) override {
        addRect(target, 0);
    }
    double drawText(const TextRun& run) override {
        if (run.opaqueRect) {
            addRect(*run.opaqueRect, 0);
        }
        const double width =
            kAverageAdvance * run.font.size * static_cast<double>(run.bytes.size());
        double left = run.reference.x;
        if ((run.align & kTaHorizontalMask) == kTaRight) {
            left -= width;
        } else if ((run.align & kTaHorizontalMask) == kTaCenter) {
            left -= width / 2;
        }
        if (!run.bytes.empty()) {
            addRect({left, run.reference.y - run.font.size, left + width,
                     run.reference.y + run.font.size},
                    0);
        }
        return width;
    }

  private:
    void addPoints(std::span<const PointF> points, double grow) {
        for (const PointF& p : points) {
            addRect({p.x, p.y, p.x, p.y}, grow);
        }
    }
    void addRect(const RectF& r, double grow) {
        const RectF g{r.left - grow, r.top - grow, r.right + grow, r.bottom + grow};
        bounds = bounds
                     ? RectF{std::min(bounds->left, g.left), std::min(bounds->top, g.top),
                             std::max(bounds->right, g.right), std::max(bounds->bottom, g.bottom)}
                     : g;
    }
};

std::int16_t toInt16(double value) {
    return static_cast<std::int16_t>(std::clamp(value, -32768.0, 32767.0));
}

// Scaled coordinates land a rounding error off whole units; such a value counts as whole.
double snapped(double value) {
    const double whole = std::round(value);
    return std::abs(value - whole) < 1e-6 ? whole : value;
}

// A box at least one unit across and down, within 16-bit coordinates.
bool setFrame(PlaceableHeader& p, double left, double top, double right, double bottom) {
    p.left = toInt16(std::floor(snapped(std::min(left, right))));
    p.top = toInt16(std::floor(snapped(std::min(top, bottom))));
    p.right = toInt16(std::ceil(snapped(std::max(left, right))));
    p.bottom = toInt16(std::ceil(snapped(std::max(top, bottom))));
    p.inch = kStandardInch;
    return p.left < p.right && p.top < p.bottom;
}

}  // namespace

bool findFrame(Metafile& metafile) {
    // The first origin and extent of the window and of the viewport, where the file sets them.
    std::optional<PointF> origins[2];
    std::optional<PointF> extents[2];
    for (const Record& record : metafile.records) {
        const auto function = static_cast<Function>(record.function);
        const bool viewport =
            function == Function::SetViewportOrg || function == Function::SetViewportExt;
        const bool origin =
            function == Function::SetWindowOrg || function == Function::SetViewportOrg;
        if (!viewport && function != Function::SetWindowOrg && function != Function::SetWindowExt) {
            continue;
        }
        WordReader in(metafile.params(record));
        std::int16_t y = 0;
        std::int16_t x = 0;
        if (!in.readI16(y) || !in.readI16(x) || (!origin && (x == 0 || y == 0))) {
            continue;
        }
        if (!extents[viewport]) {  // later records of a kind whose frame is known don't count
            (origin ? origins[viewport] : extents[viewport]) = PointF{double(x), double(y)};
        }
    }
    for (const int viewport : {1, 0}) {
        if (extents[viewport]) {
            const PointF o = origins[viewport].value_or(PointF{});
            const PointF e = *extents[viewport];
            metafile.frameSource =
                viewport ? FrameSource::ViewportRecords : FrameSource::WindowRecords;
            return setFrame(metafile.placeable, o.x, o.y, o.x + e.x, o.y + e.y);
        }
    }

    // Play into the whole 16-bit device space, then keep the part that holds the drawing.
    metafile.frameSource = FrameSource::DrawnExtent;
    constexpr double kLow = std::numeric_limits<std::int16_t>::min();
    metafile.placeable = {std::numeric_limits<std::int16_t>::min(),
                          std::numeric_limits<std::int16_t>::min(),
                          std::numeric_limits<std::int16_t>::max(),
                          std::numeric_limits<std::int16_t>::max(),
                          kStandardInch,
                          0};
    BoundsCanvas canvas;
    play(metafile, canvas);
    if (!canvas.bounds) {
        return false;
    }
    const RectF& b = *canvas.bounds;
    return setFrame(metafile.placeable, b.left + kLow, b.top + kLow, b.right + kLow,
                    b.bottom + kLow);
}

ReadResult readPicture(std::span<const std::uint8_t> bytes) {
    ReadResult result = readMetafile(bytes);
    Metafile& metafile = result.metafile;
    if (result.ok() && metafile.frameSource == FrameSource::Unframed && !findFrame(metafile)) {
        result.error = Error{ErrorCode::EmptyBounds, metafile.records.size(), metafile.eofOffset};
    }
    return result;
}

}  // namespace quintrel::wmf
