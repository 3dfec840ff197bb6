// Arbitrary bytes through the metafile reader, the frame and the record interpreter. The canvas
// checks that everything the interpreter hands on is finite and within the bounds it promises.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "metafile/decode/dib.h"
#include "metafile/player/wmf_frame.h"
#include "metafile/player/wmf_interpreter.h"

namespace {

using namespace quintrel::wmf;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class CheckingCanvas : public Canvas {
  public:
    explicit CheckingCanvas(double extent) : m_limit(5 * extent + 1) {}

    void setClip(const std::optional<std::vector<RectF>>& rects) override {
        if (rects) {
            require(rects->size() <= kMaxRegionRects);
            for (const RectF& r : *rects) {
                checkRect(r);
            }
        }
    }
    void drawPolyline(std::span<const PointF> points, const Pen& pen) override {
        checkPen(pen);
        for (const PointF& p : points) {
            checkPoint(p);
        }
    }
    void drawPolygons(std::span<const std::vector<PointF>> polygons, const Pen& pen,
                      const Brush& brush, FillRule) override {
        checkPen(pen);
        checkBrush(brush);
        for (const auto& polygon : polygons) {
            require(polygon.size() <= kMaxPoints);
            for (const PointF& p : polygon) {
                checkPoint(p);
            }
        }
    }
    void drawEllipse(const RectF& r, const Pen& pen, const Brush&) override {
        checkPen(pen);
        checkPoint({r.left, r.top});
        checkPoint({r.right, r.bottom});
    }
    void drawArc(const ArcShape& arc, const Pen& pen, const Brush&) override {
        checkPen(pen);
        checkRect(arc.bounds);
        checkPoint(arc.start);
        checkPoint(arc.end);
    }
    void drawRoundRect(const RectF& r, PointF corner, const Pen& pen, const Brush&) override {
        checkPen(pen);
        checkRect(r);
        require(corner.x >= 0 && corner.y >= 0 && corner.x <= r.right - r.left &&
                corner.y <= r.bottom - r.top);
    }
    void fillRects(std::span<const RectF> rects, const Brush& brush, BlitOp) override {
        require(rects.size() <= kMaxRegionRects);
        for (const RectF& r : rects) {
            checkRect(r);
        }
        checkBrush(brush);
    }
    void setPixel(PointF at, Rgb) override { checkPoint(at); }
    void drawImage(const RectF& target, const PixelImage& image, const RectF& source, BlitOp,
                   bool) override {
        checkRect(target);
        require(image.width > 0 && image.height > 0);
        require(image.pixels.size() == std::size_t(image.width) * std::size_t(image.height));
        require(image.pixels.size() <= kMaxBitmapPixels);
        require(std::isfinite(source.left) && std::isfinite(source.top) &&
                std::isfinite(source.right) && std::isfinite(source.bottom));
    }
    double drawText(const TextRun& run) override {
        require(std::isfinite(run.font.size) && run.font.size > 0 && run.font.size <= m_limit);
        require(run.bytes.size() <= kMaxTextLength);
        require(run.advances.size() <= run.bytes.size());
        for (double a : run.advances) {
            require(std::isfinite(a));
        }
        checkPoint(run.reference);
        require(std::isfinite(run.angle) && std::abs(run.angle) <= 3276.8);
        require(std::isfinite(run.charExtra) && std::isfinite(run.breakExtra));
        return static_cast<double>(run.bytes.size()) * run.font.size;
    }

  private:
    void checkPoint(const PointF& p) const {
        require(std::isfinite(p.x) && std::isfinite(p.y));
        require(std::abs(p.x) <= m_limit && std::abs(p.y) <= m_limit);
    }
    void checkRect(const RectF& r) const {
        checkPoint({r.left, r.top});
        checkPoint({r.right, r.bottom});
        require(r.left <= r.right && r.top <= r.bottom);
    }
    void checkBrush(const Brush& brush) const {
        if (brush.style == BrushStyle::Pattern) {
            require(brush.pattern &&
                    brush.pattern->pixels.size() ==
                        std::size_t(brush.pattern->width) * std::size_t(brush.pattern->height));
        }
    }
    void checkPen(const Pen& pen) const {
        require(std::isfinite(pen.width) && pen.width >= 0 && pen.width <= m_limit);
    }

    double m_limit;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ReadResult result = readPicture(std::span(data, size));
    if (result.error) {
        require(result.error->byteOffset <= size);
    }
    const PlaceableHeader& p = result.metafile.placeable;
    const double extent =
        std::max({1.0, std::abs(double(p.right) - p.left), std::abs(double(p.bottom) - p.top)});
    CheckingCanvas canvas(extent);
    require(play(result.metafile, canvas).work <= kMaxPlayWork);
    return 0;
}
