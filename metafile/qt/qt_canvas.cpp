#include "metafile/qt/qt_canvas.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace quintrel::wmf {

namespace {

// GDI's hatch patterns, 8 × 8 device pixels, one byte a row, high bit leftmost.
constexpr std::uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

QColor toQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

Qt::PenStyle qtPenStyle(PenStyle style) {
    switch (style) {
        case PenStyle::Dash:
            return Qt::DashLine;
        case PenStyle::Dot:
            return Qt::DotLine;
        case PenStyle::DashDot:
            return Qt::DashDotLine;
        case PenStyle::DashDotDot:
            return Qt::DashDotDotLine;
        case PenStyle::None:
            return Qt::NoPen;
        default:
            return Qt::SolidLine;
    }
}

QPen toQPen(const Pen& pen) {
    if (pen.style == PenStyle::None) {
        return Qt::NoPen;
    }
    QPen out(toQColor(pen.color));
    out.setWidthF(pen.width);  // 0 is Qt's cosmetic one-pixel pen, as in GDI
    static constexpr Qt::PenCapStyle kCaps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
    static constexpr Qt::PenJoinStyle kJoins[] = {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin};
    out.setCapStyle(kCaps[static_cast<int>(pen.cap)]);
    out.setJoinStyle(kJoins[static_cast<int>(pen.join)]);
    out.setStyle(qtPenStyle(pen.style));
    if (pen.style != PenStyle::Solid) {
        // Styled pens are never wider than one unit (wider ones draw solid): GDI draws them
        // one device pixel wide with its own dash lengths in pixels.
        static const QList<qreal> kPatterns[] = {{18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
        out.setWidthF(0);
        out.setDashPattern(
            kPatterns[static_cast<int>(pen.style) - static_cast<int>(PenStyle::Dash)]);
    }
    return out;
}

QPolygonF toPolygon(std::span<const PointF> points) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const PointF& p : points) {
        polygon.append(QPointF(p.x, p.y));
    }
    return polygon;
}

QRectF toQRect(const RectF& r) {
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

// The parametric angle, in degrees as QPainterPath takes it, where the ray from the centre of
// `r` through `p` meets the ellipse inscribed in `r`.
double ellipseAngle(const QRectF& r, const PointF& p) {
    const double dx = (p.x - r.center().x()) / (r.width() / 2);
    const double dy = (r.center().y() - p.y) / (r.height() / 2);
    return std::atan2(dy, dx) * 180 / std::numbers::pi;
}

QPainter::CompositionMode compositionOf(BlitOp op) {
    switch (op) {
        case BlitOp::Or:
            return QPainter::RasterOp_SourceOrDestination;
        case BlitOp::And:
            return QPainter::RasterOp_SourceAndDestination;
        case BlitOp::Xor:
            return QPainter::RasterOp_SourceXorDestination;
        case BlitOp::Invert:
            return QPainter::RasterOp_NotDestination;
        default:
            return QPainter::CompositionMode_SourceOver;
    }
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, FontCache& fonts)
    : m_painter(painter),
      m_fonts(fonts),
      m_hasBaseClip(painter.hasClipping()),
      m_baseClip(painter.hasClipping() ? painter.clipPath() : QPainterPath()) {}

void QtCanvas::setClip(const std::optional<std::vector<RectF>>& rects) {
    if (m_hasBaseClip) {
        m_painter.setClipPath(m_baseClip, Qt::ReplaceClip);
    } else {
        m_painter.setClipping(false);
    }
    if (!rects) {
        return;
    }
    QPainterPath clip;
    for (const RectF& r : *rects) {
        clip.addRect(toQRect(r));
    }
    m_painter.setClipPath(clip, m_hasBaseClip ? Qt::IntersectClip : Qt::ReplaceClip);
}

// Hatches and patterns tile in device pixels from the device origin, as GDI's brushes do,
// whatever the painter's scale.
QBrush QtCanvas::toQBrush(const Brush& brush) const {
    switch (brush.style) {
        case BrushStyle::None:
            return Qt::NoBrush;
        case BrushStyle::Solid:
            return QBrush(toQColor(brush.color));
        case BrushStyle::Hatched: {
            if (brush.hatch >= 6) {
                return QBrush(toQColor(brush.color));
            }
            QImage tile(8, 8, QImage::Format_ARGB32);
            const QRgb ink = toQColor(brush.color).rgba();
            const QRgb gap = brush.background ? toQColor(*brush.background).rgba() : 0;
            for (int y = 0; y < 8; ++y) {
                for (int x = 0; x < 8; ++x) {
                    tile.setPixel(x, y, (kHatches[brush.hatch][y] & (0x80 >> x)) != 0 ? ink : gap);
                }
            }
            QBrush out(tile);
            out.setTransform(m_painter.worldTransform().inverted());
            return out;
        }
        case BrushStyle::Pattern: {
            if (!brush.pattern || brush.pattern->width <= 0 || brush.pattern->height <= 0) {
                return Qt::NoBrush;
            }
            const PixelImage& p = *brush.pattern;
            const QImage tile(reinterpret_cast<const uchar*>(p.pixels.data()), p.width, p.height,
                              p.width * 4, QImage::Format_ARGB32);
            QBrush out(tile.copy());
            out.setTransform(m_painter.worldTransform().inverted());
            return out;
        }
    }
    return Qt::NoBrush;
}

void QtCanvas::paintPath(const QPainterPath& path, const Pen& pen, const Brush& brush) {
    if (pen.gapColor && pen.style != PenStyle::Solid && pen.style != PenStyle::None) {
        Pen gaps = pen;
        gaps.style = PenStyle::Solid;
        gaps.color = *pen.gapColor;
        gaps.width = 0;  // as thin as the dashes themselves
        m_painter.setPen(toQPen(gaps));
        m_painter.setBrush(toQBrush(brush));
        m_painter.drawPath(path);
        m_painter.setPen(toQPen(pen));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPath(path);
        return;
    }
    m_painter.setPen(toQPen(pen));
    m_painter.setBrush(toQBrush(brush));
    m_painter.drawPath(path);
}

// Turns antialiasing off for the life of one draw whose outline crosses a line too often.
class QtCanvas::Jagged {
  public:
    Jagged(QPainter& painter, const EdgeSpan& edges)
        : m_painter(painter), m_active(edges.crossings() > kMaxSmoothCrossings) {
        if (m_active) {
            m_painter.save();
            m_painter.setRenderHint(QPainter::Antialiasing, false);
        }
    }
    ~Jagged() {
        if (m_active) {
            m_painter.restore();
        }
    }
    Jagged(const Jagged&) = delete;
    Jagged& operator=(const Jagged&) = delete;

  private:
    QPainter& m_painter;
    bool m_active;
};

void QtCanvas::drawPolyline(std::span<const PointF> points, const Pen& pen) {
    if (pen.style == PenStyle::None || points.size() < 2) {
        return;
    }
    EdgeSpan edges;
    if (pen.width > 0) {
        addEdges(edges, points, false);
        addEdges(edges, points, false);
    }
    const Jagged jagged(m_painter, edges);
    if (pen.gapColor) {
        QPainterPath path;
        path.addPolygon(toPolygon(points));
        paintPath(path, pen, Brush{BrushStyle::None, {}, 0, std::nullopt, nullptr});
        return;
    }
    m_painter.setPen(toQPen(pen));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPolyline(toPolygon(points));
}

void QtCanvas::drawPolygons(std::span<const std::vector<PointF>> polygons, const Pen& pen,
                            const Brush& brush, FillRule rule) {
    QPainterPath path;
    path.setFillRule(rule == FillRule::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    EdgeSpan edges;
    for (const auto& polygon : polygons) {
        if (polygon.size() >= 2) {
            path.addPolygon(toPolygon(polygon));
            path.closeSubpath();
        }
        addEdges(edges, polygon, true);
        if (pen.width > 0 && pen.style != PenStyle::None) {
            addEdges(edges, polygon, true);
        }
    }
    const Jagged jagged(m_painter, edges);
    paintPath(path, pen, brush);
}

void QtCanvas::drawEllipse(const RectF& bounds, const Pen& pen, const Brush& brush) {
    QPainterPath path;
    path.addEllipse(toQRect(bounds));
    paintPath(path, pen, brush);
}

// Counter-clockwise on the picture from the start ray to the end ray; the whole ellipse when
// they coincide. An empty box draws nothing.
void QtCanvas::drawArc(const ArcShape& arc, const Pen& pen, const Brush& brush) {
    const QRectF box = toQRect(arc.bounds);
    if (!(box.width() > 0 && box.height() > 0)) {
        return;
    }
    const double start = ellipseAngle(box, arc.start);
    double sweep = ellipseAngle(box, arc.end) - start;
    if (sweep <= 0) {
        sweep += 360;
    }
    QPainterPath path;
    if (arc.kind == ArcKind::Pie) {
        path.moveTo(box.center());
    } else {
        path.arcMoveTo(box, start);
    }
    path.arcTo(box, start, sweep);
    if (arc.kind != ArcKind::Open) {
        path.closeSubpath();
    }
    paintPath(path, pen,
              arc.kind == ArcKind::Open ? Brush{BrushStyle::None, {}, 0, {}, {}} : brush);
}

void QtCanvas::drawRoundRect(const RectF& bounds, PointF corner, const Pen& pen,
                             const Brush& brush) {
    QPainterPath path;
    path.addRoundedRect(toQRect(bounds), corner.x / 2, corner.y / 2, Qt::AbsoluteSize);
    paintPath(path, pen, brush);
}

// Regions fill whole pixels, as GDI fills them: no seams where their rectangles meet, and
// raster operations combine whole pixels. The rectangles never overlap, so one at a time is
// the same as all at once, and far cheaper than one path of thousands.
void QtCanvas::fillRects(std::span<const RectF> rects, const Brush& brush, BlitOp op) {
    const QBrush fill = op == BlitOp::Invert ? QBrush(Qt::white) : toQBrush(brush);
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    if (op != BlitOp::Copy) {
        m_painter.setCompositionMode(compositionOf(op));
    }
    for (const RectF& r : rects) {
        m_painter.fillRect(toQRect(r), fill);
    }
    m_painter.restore();
}

// One picture unit, or one device pixel where a picture unit is smaller than that.
void QtCanvas::setPixel(PointF at, Rgb color) {
    const QRectF unit = m_painter.deviceTransform().mapRect(QRectF(at.x, at.y, 1, 1));
    QRectF device = unit;
    if (unit.width() < 1 || unit.height() < 1) {
        device = QRectF(std::floor(unit.left()), std::floor(unit.top()), 1, 1);
    }
    m_painter.save();
    m_painter.resetTransform();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.fillRect(device, toQColor(color));
    m_painter.restore();
}

// `source` may run right to left or bottom to top: the image is then mirrored. The part of
// the source outside the image is left out, and the target shrinks with it.
void QtCanvas::drawImage(const RectF& target, const PixelImage& image, const RectF& source,
                         BlitOp op, bool smooth) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
        return;
    }
    const bool flipX = source.left > source.right;
    const bool flipY = source.top > source.bottom;
    const QRectF wanted =
        QRectF(QPointF(source.left, source.top), QPointF(source.right, source.bottom)).normalized();
    const QRectF shown = wanted.intersected(QRectF(0, 0, image.width, image.height));
    if (shown.isEmpty() || wanted.isEmpty()) {
        return;
    }
    const QRectF full = toQRect(target);
    const double sx = full.width() / wanted.width();
    const double sy = full.height() / wanted.height();
    // Where the shown part lands, measured from the side the mirrored source starts at.
    const double fromLeft = flipX ? wanted.right() - shown.right() : shown.left() - wanted.left();
    const double fromTop = flipY ? wanted.bottom() - shown.bottom() : shown.top() - wanted.top();
    const QRectF part(full.left() + fromLeft * sx, full.top() + fromTop * sy, shown.width() * sx,
                      shown.height() * sy);

    const QImage wrapped(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                         image.height, image.width * 4, QImage::Format_ARGB32);
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    if (op != BlitOp::Copy) {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setCompositionMode(compositionOf(op));
    }
    if (flipX || flipY) {
        m_painter.translate(part.center());
        m_painter.scale(flipX ? -1 : 1, flipY ? -1 : 1);
        m_painter.translate(-part.center());
    }
    m_painter.drawImage(part, wrapped, shown);
    m_painter.restore();
}

}  // namespace quintrel::wmf
