#include "platform/wmf/wmf_interpreter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "platform/wmf/byte_reader.h"
#include "platform/wmf/wmf_format.h"

namespace quintrel::wmf {

namespace {

// How far outside the picture frame a coordinate may lie, in frame sizes. Hostile
// coordinates are clamped there so the canvas never strokes or dashes absurd lengths.
constexpr double kCoordinateSlack = 4.0;
// Default font size when a LOGFONT gives height 0: 12 points.
constexpr double kDefaultFontPoints = 12.0;

struct LogPen {
    std::uint16_t style = kPsSolid;
    std::int16_t width = 0;
    Rgb color;
};

struct LogBrush {
    std::uint16_t style = kBsSolid;
    Rgb color{255, 255, 255};
    std::uint16_t hatch = 0;
};

struct LogFontState {
    std::int16_t height = 0;
    std::int16_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = kAnsiCharset;
    std::string face;
};

// Palettes, regions and pattern brushes take a table slot but are never drawn with.
struct Placeholder {};

using Object = std::variant<std::monostate, LogPen, LogBrush, LogFontState, Placeholder>;

struct DeviceContext {
    double windowOrgX = 0;
    double windowOrgY = 0;
    double windowExtX = 1;
    double windowExtY = 1;
    std::uint16_t mapMode = kMmText;
    LogPen pen;
    LogBrush brush;
    LogFontState font;
    Rgb textColor{0, 0, 0};
    Rgb bkColor{255, 255, 255};
    std::uint16_t bkMode = kOpaque;
    std::uint16_t textAlign = kTaLeft | kTaTop;
    std::uint16_t fillMode = kAlternate;
    double currentX = 0;  // logical units
    double currentY = 0;
};

Rgb readColor(WordReader& in, bool& ok) {
    std::uint32_t ref = 0;
    ok = in.readU32(ref);
    return Rgb{static_cast<std::uint8_t>(ref & 0xFF), static_cast<std::uint8_t>((ref >> 8) & 0xFF),
               static_cast<std::uint8_t>((ref >> 16) & 0xFF)};
}

PenStyle penStyle(std::uint16_t style) {
    switch (style & 0x0F) {
        case kPsDash:
            return PenStyle::Dash;
        case kPsDot:
            return PenStyle::Dot;
        case kPsDashDot:
            return PenStyle::DashDot;
        case kPsDashDotDot:
            return PenStyle::DashDotDot;
        case kPsNull:
            return PenStyle::None;
        default:  // solid, inside frame and user styles draw solid
            return PenStyle::Solid;
    }
}

class Player {
  public:
    Player(const Metafile& metafile, Canvas& canvas) : m_metafile(metafile), m_canvas(canvas) {
        const PlaceableHeader& p = metafile.placeable;
        m_frameWidth = std::abs(static_cast<double>(p.right) - p.left);
        m_frameHeight = std::abs(static_cast<double>(p.bottom) - p.top);
        m_frameLeft = std::min(p.left, p.right);
        m_frameTop = std::min(p.top, p.bottom);
        m_dc.windowOrgX = m_frameLeft;
        m_dc.windowOrgY = m_frameTop;
        m_dc.windowExtX = m_frameWidth;
        m_dc.windowExtY = m_frameHeight;
        m_maxExtent = std::max(m_frameWidth, m_frameHeight);
    }

    bool playRecord(const Record& record) {
        WordReader in(m_metafile.params(record));
        switch (static_cast<Function>(record.function)) {
            case Function::SetWindowOrg:
                return setWindow(in, m_dc.windowOrgX, m_dc.windowOrgY, false);
            case Function::SetWindowExt:
                return setWindow(in, m_dc.windowExtX, m_dc.windowExtY, true);
            case Function::SetMapMode:
                return in.readU16(m_dc.mapMode);
            case Function::SaveDc:
                if (m_saved.size() >= kMaxSaveDepth) {
                    return false;
                }
                m_saved.push_back(m_dc);
                return true;
            case Function::RestoreDc:
                return restoreDc(in);
            case Function::CreatePenIndirect:
                return createPen(in);
            case Function::CreateBrushIndirect:
                return createBrush(in);
            case Function::CreateFontIndirect:
                return createFont(in);
            case Function::CreatePalette:
            case Function::CreatePatternBrush:
            case Function::DibCreatePatternBrush:
            case Function::CreateRegion:
                return addObject(Placeholder{});
            case Function::SelectObject:
                return selectObject(in);
            case Function::DeleteObject: {
                std::uint16_t index = 0;
                if (!in.readU16(index) || index >= m_objects.size()) {
                    return false;
                }
                m_objects[index] = std::monostate{};
                return true;
            }
            case Function::SetTextColor: {
                bool ok = false;
                m_dc.textColor = readColor(in, ok);
                return ok;
            }
            case Function::SetBkColor: {
                bool ok = false;
                m_dc.bkColor = readColor(in, ok);
                return ok;
            }
            case Function::SetBkMode:
                return in.readU16(m_dc.bkMode);
            case Function::SetTextAlign:
                return in.readU16(m_dc.textAlign);
            case Function::SetPolyFillMode:
                return in.readU16(m_dc.fillMode);
            case Function::MoveTo:
                return readPoint(in, m_dc.currentX, m_dc.currentY);
            case Function::LineTo:
                return lineTo(in);
            case Function::Polyline:
            case Function::Polygon:
                return poly(in, static_cast<Function>(record.function) == Function::Polygon);
            case Function::PolyPolygon:
                return polyPolygon(in);
            case Function::Rectangle:
            case Function::Ellipse:
                return box(in, static_cast<Function>(record.function) == Function::Ellipse);
            case Function::TextOut:
                return textOut(in);
            case Function::ExtTextOut:
                return extTextOut(in);
            default:  // META_ESCAPE and everything unknown is never acted on
                return false;
        }
    }

  private:
    // Window records store y first. A zero extent would make the mapping singular: ignored.
    bool setWindow(WordReader& in, double& x, double& y, bool isExtent) {
        std::int16_t wy = 0;
        std::int16_t wx = 0;
        if (!in.readI16(wy) || !in.readI16(wx) || (isExtent && (wx == 0 || wy == 0))) {
            return false;
        }
        x = wx;
        y = wy;
        return true;
    }

    bool restoreDc(WordReader& in) {
        std::int16_t level = 0;
        if (!in.readI16(level) || level == 0) {
            return false;
        }
        // Negative: that many levels back; positive: an absolute level, 1 the oldest.
        const std::size_t depth = m_saved.size();
        const long wanted = level;
        if ((wanted < 0 && static_cast<std::size_t>(-wanted) > depth) ||
            (wanted > 0 && static_cast<std::size_t>(wanted) > depth)) {
            return false;
        }
        const std::size_t keep = wanted < 0 ? depth - static_cast<std::size_t>(-wanted)
                                            : static_cast<std::size_t>(wanted) - 1;
        m_dc = m_saved[keep];
        m_saved.resize(keep);
        return true;
    }

    bool addObject(Object object) {
        const auto free = std::find_if(m_objects.begin(), m_objects.end(), [](const Object& o) {
            return std::holds_alternative<std::monostate>(o);
        });
        if (free != m_objects.end()) {
            *free = std::move(object);
            return true;
        }
        if (m_objects.size() >= kMaxObjects) {
            return false;
        }
        m_objects.push_back(std::move(object));
        return true;
    }

    bool createPen(WordReader& in) {
        LogPen pen;
        std::int16_t widthY = 0;
        bool ok = in.readU16(pen.style) && in.readI16(pen.width) && in.readI16(widthY);
        pen.color = readColor(in, ok);
        return ok && addObject(pen);
    }

    bool createBrush(WordReader& in) {
        LogBrush brush;
        bool ok = in.readU16(brush.style);
        if (ok) {
            brush.color = readColor(in, ok);
        }
        // The hatch word is missing in some files; solid brushes do not need it.
        in.readU16(brush.hatch);
        return ok && addObject(brush);
    }

    bool createFont(WordReader& in) {
        LogFontState font;
        std::int16_t width = 0;
        std::int16_t escapement = 0;
        std::int16_t orientation = 0;
        std::string flags;
        if (!in.readI16(font.height) || !in.readI16(width) || !in.readI16(escapement) ||
            !in.readI16(orientation) || !in.readI16(font.weight) || !in.readBytes(8, flags)) {
            return false;
        }
        font.italic = flags[0] != 0;
        font.underline = flags[1] != 0;
        font.strikeOut = flags[2] != 0;
        font.charSet = static_cast<std::uint8_t>(flags[3]);
        std::string face;
        in.readBytes(std::min(kMaxFaceNameBytes, 2 * in.remaining()), face);
        font.face = face.substr(0, face.find('\0'));
        font.height = static_cast<std::int16_t>(
            std::clamp<int>(font.height, -kMaxFontHeight, kMaxFontHeight));
        return addObject(std::move(font));
    }

    bool selectObject(WordReader& in) {
        std::uint16_t index = 0;
        if (!in.readU16(index) || index >= m_objects.size()) {
            return false;
        }
        const Object& object = m_objects[index];
        if (const auto* pen = std::get_if<LogPen>(&object)) {
            m_dc.pen = *pen;
        } else if (const auto* brush = std::get_if<LogBrush>(&object)) {
            m_dc.brush = *brush;
        } else if (const auto* font = std::get_if<LogFontState>(&object)) {
            m_dc.font = *font;
        } else {
            return false;
        }
        return true;
    }

    // Logical to picture coordinates. Extents are never zero and the frame is at most
    // 65535 units, so the scales are finite; coordinates are clamped near the frame.
    double scaleX() const {
        const double sx = m_frameWidth / m_dc.windowExtX;
        if (m_dc.mapMode == kMmIsotropic) {
            return std::copysign(std::min(std::abs(sx), std::abs(m_frameHeight / m_dc.windowExtY)),
                                 sx);
        }
        return sx;
    }
    double scaleY() const {
        const double sy = m_frameHeight / m_dc.windowExtY;
        if (m_dc.mapMode == kMmIsotropic) {
            return std::copysign(std::min(std::abs(sy), std::abs(m_frameWidth / m_dc.windowExtX)),
                                 sy);
        }
        return sy;
    }
    PointF toPicture(double x, double y) const {
        const double px = (x - m_dc.windowOrgX) * scaleX();
        const double py = (y - m_dc.windowOrgY) * scaleY();
        return {
            std::clamp(px, -kCoordinateSlack * m_frameWidth, (1 + kCoordinateSlack) * m_frameWidth),
            std::clamp(py, -kCoordinateSlack * m_frameHeight,
                       (1 + kCoordinateSlack) * m_frameHeight)};
    }

    Pen pen() const {
        const double width = std::abs(m_dc.pen.width * scaleX());
        return Pen{penStyle(m_dc.pen.style), std::min(width, m_maxExtent), m_dc.pen.color};
    }

    Brush brush() const {
        switch (m_dc.brush.style) {
            case kBsSolid:
                return Brush{BrushStyle::Solid, m_dc.brush.color, 0};
            case kBsHatched:
                return Brush{BrushStyle::Hatched, m_dc.brush.color, m_dc.brush.hatch};
            default:  // hollow, and pattern brushes this player does not draw
                return Brush{BrushStyle::None, m_dc.brush.color, 0};
        }
    }

    Font font() const {
        const LogFontState& f = m_dc.font;
        Font out;
        out.face = f.face;
        out.sizeIsCell = f.height > 0;
        out.size = f.height == 0 ? m_metafile.placeable.inch * kDefaultFontPoints / 72.0
                                 : std::abs(f.height * scaleY());
        out.size = std::min(out.size, 4 * m_maxExtent);
        out.weight = std::clamp<int>(f.weight, 0, 1000);
        out.italic = f.italic;
        out.underline = f.underline;
        out.strikeOut = f.strikeOut;
        out.charSet = f.charSet;
        return out;
    }

    bool readPoint(WordReader& in, double& x, double& y) {
        std::int16_t py = 0;
        std::int16_t px = 0;
        if (!in.readI16(py) || !in.readI16(px)) {
            return false;
        }
        x = px;
        y = py;
        return true;
    }

    bool lineTo(WordReader& in) {
        double x = 0;
        double y = 0;
        if (!readPoint(in, x, y)) {
            return false;
        }
        const PointF points[] = {toPicture(m_dc.currentX, m_dc.currentY), toPicture(x, y)};
        m_canvas.drawPolyline(points, pen());
        m_dc.currentX = x;
        m_dc.currentY = y;
        return true;
    }

    bool readPoints(WordReader& in, std::size_t count, std::vector<PointF>& out) {
        if (count > kMaxPoints || count * 2 > in.remaining()) {
            return false;
        }
        out.clear();
        out.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            std::int16_t x = 0;
            std::int16_t y = 0;
            in.readI16(x);
            in.readI16(y);
            out.push_back(toPicture(x, y));
        }
        return true;
    }

    FillRule fillRule() const {
        return m_dc.fillMode == kWinding ? FillRule::Winding : FillRule::Alternate;
    }

    bool poly(WordReader& in, bool closed) {
        std::uint16_t count = 0;
        std::vector<PointF> points;
        if (!in.readU16(count) || count < 2 || !readPoints(in, count, points)) {
            return false;
        }
        if (closed) {
            m_canvas.drawPolygons(std::span(&points, 1), pen(), brush(), fillRule());
        } else {
            m_canvas.drawPolyline(points, pen());
        }
        return true;
    }

    bool polyPolygon(WordReader& in) {
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
        if (total > kMaxPoints) {
            return false;
        }
        std::vector<std::vector<PointF>> shapes(polygons);
        for (std::size_t i = 0; i < polygons; ++i) {
            if (!readPoints(in, counts[i], shapes[i])) {
                return false;
            }
        }
        m_canvas.drawPolygons(shapes, pen(), brush(), fillRule());
        return true;
    }

    bool readRect(WordReader& in, RectF& out, bool bottomFirst) {
        std::int16_t a = 0;
        std::int16_t b = 0;
        std::int16_t c = 0;
        std::int16_t d = 0;
        if (!in.readI16(a) || !in.readI16(b) || !in.readI16(c) || !in.readI16(d)) {
            return false;
        }
        // Shapes store bottom, right, top, left; text rectangles left, top, right, bottom.
        const PointF topLeft = bottomFirst ? toPicture(d, c) : toPicture(a, b);
        const PointF bottomRight = bottomFirst ? toPicture(b, a) : toPicture(c, d);
        out = RectF{std::min(topLeft.x, bottomRight.x), std::min(topLeft.y, bottomRight.y),
                    std::max(topLeft.x, bottomRight.x), std::max(topLeft.y, bottomRight.y)};
        return true;
    }

    bool box(WordReader& in, bool ellipse) {
        RectF r;
        if (!readRect(in, r, true)) {
            return false;
        }
        if (ellipse) {
            m_canvas.drawEllipse(r, pen(), brush());
        } else {
            const std::vector<PointF> corners = {
                {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
            m_canvas.drawPolygons(std::span(&corners, 1), pen(), brush(), fillRule());
        }
        return true;
    }

    void drawText(double x, double y, std::string bytes, std::vector<double> advances,
                  std::optional<RectF> opaqueRect, std::optional<RectF> clipRect) {
        const bool updateCp = (m_dc.textAlign & kTaUpdateCp) != 0;
        TextRun run;
        run.font = font();
        run.bytes = std::move(bytes);
        run.advances = std::move(advances);
        run.reference = updateCp ? toPicture(m_dc.currentX, m_dc.currentY) : toPicture(x, y);
        run.align = m_dc.textAlign;
        run.color = m_dc.textColor;
        if (m_dc.bkMode == kOpaque) {
            run.background = m_dc.bkColor;
        }
        if (opaqueRect) {
            run.opaqueRect = opaqueRect;
            run.background = m_dc.bkColor;
        }
        run.clipRect = clipRect;
        const double advance = m_canvas.drawText(run);
        if (updateCp && std::isfinite(advance)) {
            const double dx = advance / scaleX();
            m_dc.currentX = std::clamp(m_dc.currentX + dx, -32768.0, 32767.0);
        }
    }

    bool textOut(WordReader& in) {
        std::int16_t length = 0;
        std::string bytes;
        double x = 0;
        double y = 0;
        if (!in.readI16(length) || length < 0 ||
            static_cast<std::size_t>(length) > kMaxTextLength ||
            !in.readBytes(static_cast<std::size_t>(length), bytes) || !readPoint(in, x, y)) {
            return false;
        }
        drawText(x, y, std::move(bytes), {}, std::nullopt, std::nullopt);
        return true;
    }

    bool extTextOut(WordReader& in) {
        double x = 0;
        double y = 0;
        std::int16_t length = 0;
        std::uint16_t options = 0;
        if (!readPoint(in, x, y) || !in.readI16(length) || !in.readU16(options) || length < 0 ||
            static_cast<std::size_t>(length) > kMaxTextLength) {
            return false;
        }
        std::optional<RectF> rect;
        if ((options & (kEtoOpaque | kEtoClipped)) != 0) {
            RectF r;
            if (!readRect(in, r, false)) {
                return false;
            }
            rect = r;
        }
        std::string bytes;
        if (!in.readBytes(static_cast<std::size_t>(length), bytes)) {
            return false;
        }
        // The dx array may be missing or shorter than the string; what is there is used.
        std::vector<double> advances;
        const double sx = scaleX();
        for (std::size_t i = 0; i < bytes.size() && in.remaining() > 0; ++i) {
            std::int16_t dx = 0;
            in.readI16(dx);
            advances.push_back(dx * sx);
        }
        drawText(x, y, std::move(bytes), std::move(advances),
                 (options & kEtoOpaque) != 0 ? rect : std::nullopt,
                 (options & kEtoClipped) != 0 ? rect : std::nullopt);
        return true;
    }

    const Metafile& m_metafile;
    Canvas& m_canvas;
    DeviceContext m_dc;
    std::vector<DeviceContext> m_saved;
    std::vector<Object> m_objects;
    double m_frameWidth = 1;
    double m_frameHeight = 1;
    double m_frameLeft = 0;
    double m_frameTop = 0;
    double m_maxExtent = 1;
};

}  // namespace

PlayReport play(const Metafile& metafile, Canvas& canvas, const PlayLimits& limits) {
    PlayReport report;
    Player player(metafile, canvas);
    const auto deadline = std::chrono::steady_clock::now() + limits.maxTime;
    for (const Record& record : metafile.records) {
        if (report.recordsPlayed + report.recordsIgnored >= limits.maxRecords ||
            std::chrono::steady_clock::now() > deadline) {
            report.stoppedEarly = true;
            break;
        }
        if (player.playRecord(record)) {
            ++report.recordsPlayed;
        } else {
            ++report.recordsIgnored;
        }
    }
    return report;
}

}  // namespace quintrel::wmf
