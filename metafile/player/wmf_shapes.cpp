// Lines and shapes: LINETO, the poly records, rectangles, ellipses, arcs, pies, chords,
// rounded rectangles and single pixels.
#include <algorithm>
#include <cmath>

#include "metafile/player/wmf_player.h"

namespace quintrel::wmf {

namespace {

RectF boundsOf(std::span<const PointF> points) {
    RectF r{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const PointF& p : points) {
        r = {std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x),
             std::max(r.bottom, p.y)};
    }
    return r;
}

// A stroke covers about its length times its width.
RectF strokeArea(std::span<const PointF> points, double width) {
    double length = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        length += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    }
    return {0, 0, length, std::max(width, 1.0)};
}

}  // namespace

FillRule Player::fillRule() const {
    return m_dc.fillMode == kWinding ? FillRule::Winding : FillRule::Alternate;
}

// An inside-frame pen keeps a shape's outline within its bounding box.
RectF Player::insideFrame(RectF r) const {
    if ((m_dc.pen.style & kPsStyleMask) != kPsInsideFrame) {
        return r;
    }
    // Never past the centre, also where rounding would turn the box inside out.
    const double half = pen().width / 2;
    const double cx = (r.left + r.right) / 2;
    const double cy = (r.top + r.bottom) / 2;
    return {std::min(r.left + half, cx), std::min(r.top + half, cy), std::max(r.right - half, cx),
            std::max(r.bottom - half, cy)};
}

bool Player::lineTo(WordReader& in) {
    double x = 0;
    double y = 0;
    if (!readPoint(in, x, y)) {
        return false;
    }
    const PointF points[] = {toPicture(m_dc.currentX, m_dc.currentY), toPicture(x, y)};
    const Pen p = pen();
    if (!spendOn(strokeArea(points, p.width), 2, nullptr, nullptr)) {
        return false;
    }
    m_canvas.drawPolyline(points, p);
    m_dc.currentX = x;
    m_dc.currentY = y;
    return true;
}

bool Player::poly(WordReader& in, bool closed) {
    std::uint16_t count = 0;
    std::vector<PointF> points;
    if (!in.readU16(count) || count < 2 || !readPoints(in, count, points)) {
        return false;
    }
    const Pen p = pen();
    EdgeSpan edges;
    addEdges(edges, points, closed);
    if (p.width > 0 && p.style != PenStyle::None) {
        addEdges(edges, points, closed);  // a wide stroke is an outline with two sides
    }
    if (closed) {
        const Brush b = brush();
        if (!spendOn(boundsOf(points), points.size(), &b, &edges)) {
            return false;
        }
        m_canvas.drawPolygons(std::span(&points, 1), p, b, fillRule());
    } else {
        if (!spendOn(strokeArea(points, p.width), points.size(), nullptr,
                     p.width > 0 ? &edges : nullptr)) {
            return false;
        }
        m_canvas.drawPolyline(points, p);
    }
    return true;
}

bool Player::polyPolygon(WordReader& in) {
    std::uint16_t polygons = 0;
    if (!in.readU16(polygons) || polygons == 0 || polygons > kMaxPolygons ||
        polygons > in.remaining()) {
        return false;
    }
    std::vector<std::uint16_t> counts(polygons);
    std::size_t total = 0;
    for (auto& count : counts) {
        in.readU16(count);
        total += count;
    }
    if (total > kMaxPoints || total == 0) {
        return false;
    }
    std::vector<std::vector<PointF>> shapes(polygons);
    std::vector<PointF> all;
    EdgeSpan edges;
    const Pen p = pen();
    for (std::size_t i = 0; i < polygons; ++i) {
        if (!readPoints(in, counts[i], shapes[i])) {
            return false;
        }
        all.insert(all.end(), shapes[i].begin(), shapes[i].end());
        addEdges(edges, shapes[i], true);
        if (p.width > 0 && p.style != PenStyle::None) {
            addEdges(edges, shapes[i], true);
        }
    }
    const Brush b = brush();
    if (!spendOn(boundsOf(all), total, &b, &edges)) {
        return false;
    }
    m_canvas.drawPolygons(shapes, p, b, fillRule());
    return true;
}

bool Player::box(WordReader& in, Function function) {
    RectF r;
    if (!readRect(in, r, true)) {
        return false;
    }
    r = insideFrame(r);
    const Pen p = pen();
    const Brush b = brush();
    if (!spendOn(r, 4, &b)) {
        return false;
    }
    if (function == Function::Ellipse) {
        m_canvas.drawEllipse(r, p, b);
    } else {
        const std::vector<PointF> corners = {
            {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
        m_canvas.drawPolygons(std::span(&corners, 1), p, b, fillRule());
    }
    return true;
}

// ARC, CHORD and PIE store the end point, the start point, then the box bottom first.
bool Player::arc(WordReader& in, ArcKind kind) {
    double endX = 0;
    double endY = 0;
    double startX = 0;
    double startY = 0;
    ArcShape shape;
    if (!readPoint(in, endX, endY) || !readPoint(in, startX, startY) ||
        !readRect(in, shape.bounds, true)) {
        return false;
    }
    shape.bounds = insideFrame(shape.bounds);
    shape.start = toPicture(startX, startY);
    shape.end = toPicture(endX, endY);
    shape.kind = kind;
    const Pen p = pen();
    const Brush b =
        kind == ArcKind::Open ? Brush{BrushStyle::None, {}, 0, std::nullopt, nullptr} : brush();
    if (!spendOn(shape.bounds, 64, &b)) {
        return false;
    }
    m_canvas.drawArc(shape, p, b);
    return true;
}

bool Player::roundRect(WordReader& in) {
    std::int16_t height = 0;
    std::int16_t width = 0;
    RectF r;
    if (!in.readI16(height) || !in.readI16(width) || !readRect(in, r, true)) {
        return false;
    }
    r = insideFrame(r);
    const PointF corner{std::min(toPictureWidth(width), r.right - r.left),
                        std::min(toPictureHeight(height), r.bottom - r.top)};
    const Pen p = pen();
    const Brush b = brush();
    if (!spendOn(r, 64, &b)) {
        return false;
    }
    m_canvas.drawRoundRect(r, corner, p, b);
    return true;
}

bool Player::setPixel(WordReader& in) {
    bool ok = false;
    const Rgb color = readColor(in, ok);
    double x = 0;
    double y = 0;
    if (!ok || !readPoint(in, x, y) || !spend(kCallWork)) {
        return false;
    }
    m_canvas.setPixel(toPicture(x, y), color);
    return true;
}

}  // namespace quintrel::wmf
