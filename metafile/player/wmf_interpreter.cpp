#include "metafile/player/wmf_interpreter.h"

#include <algorithm>
#include <cmath>

#include "metafile/format/wmf_format.h"
#include "metafile/player/wmf_player.h"

namespace quintrel::wmf {

namespace {

bool readColorInto(WordReader& in, Rgb& out) {
    bool ok = false;
    const Rgb color = readColor(in, ok);
    if (ok) {
        out = color;
    }
    return ok;
}

bool frameInDeviceUnits(const Metafile& metafile) {
    return metafile.frameSource == FrameSource::ViewportRecords ||
           metafile.frameSource == FrameSource::DrawnExtent;
}

PointF frameCorner(const Metafile& metafile) {
    const PlaceableHeader& p = metafile.placeable;
    return {static_cast<double>(std::min(p.left, p.right)),
            static_cast<double>(std::min(p.top, p.bottom))};
}

// The mapping a host sets up before it plays. A placeable header's box (or a window found in
// the records) is in logical units: its corner is the window origin. A box in device units
// leaves the file's mapping alone; the player moves the picture to its corner instead.
Mapping hostMapping(const Metafile& metafile) {
    const PlaceableHeader& p = metafile.placeable;
    // A file that could not be read whole may have no frame yet: one unit keeps every scale
    // finite.
    const PointF extent{std::max(1.0, std::abs(static_cast<double>(p.right) - p.left)),
                        std::max(1.0, std::abs(static_cast<double>(p.bottom) - p.top))};
    const double inch = p.inch > 0 ? p.inch : kStandardInch;
    if (frameInDeviceUnits(metafile)) {
        return Mapping({0, 0}, {0, 0}, extent, inch);
    }
    return Mapping(frameCorner(metafile), {0, 0}, extent, inch);
}

}  // namespace

Player::Player(const Metafile& metafile, Canvas& canvas, const PlayLimits& limits)
    : m_metafile(metafile), m_canvas(canvas), m_dc(hostMapping(metafile)) {
    const PlaceableHeader& p = metafile.placeable;
    m_frameWidth = std::max(1.0, std::abs(static_cast<double>(p.right) - p.left));
    m_frameHeight = std::max(1.0, std::abs(static_cast<double>(p.bottom) - p.top));
    m_maxExtent = std::max(m_frameWidth, m_frameHeight);
    m_maxWork = static_cast<double>(limits.maxWork);
    if (frameInDeviceUnits(metafile)) {
        m_deviceCorner = frameCorner(metafile);
    }
}

bool Player::playRecord(const Record& record) {
    WordReader in(m_metafile.params(record));
    const auto function = static_cast<Function>(record.function);
    switch (function) {
        case Function::SetWindowOrg:
        case Function::SetWindowExt:
        case Function::SetViewportOrg:
        case Function::SetViewportExt:
        case Function::OffsetWindowOrg:
        case Function::OffsetViewportOrg:
        case Function::ScaleWindowExt:
        case Function::ScaleViewportExt:
        case Function::SetMapMode:
            return mappingRecord(function, in);
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
        case Function::CreateRegion:
            return createRegion(in);
        case Function::CreatePatternBrush:
            return createPatternBrush(in, false);
        case Function::DibCreatePatternBrush:
            return createPatternBrush(in, true);
        case Function::CreatePalette:
            // Colours come from the records themselves (true-colour output): a palette only
            // takes its slot in the object table, which later indices count on.
            return addObject(Placeholder{});
        case Function::SelectPalette:
        case Function::RealizePalette:
        case Function::SetPalEntries:
        case Function::ResizePalette:
        case Function::AnimatePalette:
            // No palette is ever realised on a true-colour device: nothing to do.
            return true;
        case Function::SetRelAbs:
            // Has no effect on Win32 GDI either; kept for old files.
            return true;
        case Function::SetMapperFlags:
        case Function::SetLayout:
            // Font-matching hints and mirrored layout: drawn as the unmirrored, nearest face.
            return true;
        case Function::SetRop2: {
            // R2_COPYPEN is what the canvas always does; the other mixes are not drawn.
            std::uint16_t mode = 0;
            return in.readU16(mode) && mode == kR2CopyPen;
        }
        case Function::SelectObject:
            return selectObject(in);
        case Function::DeleteObject:
            return deleteObject(in);
        case Function::SetTextColor:
            return readColorInto(in, m_dc.textColor);
        case Function::SetBkColor:
            return readColorInto(in, m_dc.bkColor);
        case Function::SetBkMode:
            return in.readU16(m_dc.bkMode);
        case Function::SetTextAlign:
            return in.readU16(m_dc.textAlign);
        case Function::SetPolyFillMode:
            return in.readU16(m_dc.fillMode);
        case Function::SetStretchBltMode:
            return in.readU16(m_dc.stretchMode);
        case Function::SetTextCharExtra: {
            std::int16_t extra = 0;
            if (!in.readI16(extra)) {
                return false;
            }
            m_dc.charExtra = extra;
            return true;
        }
        case Function::SetTextJustification:
            return setTextJustification(in);
        case Function::MoveTo:
            return readPoint(in, m_dc.currentX, m_dc.currentY);
        case Function::LineTo:
            return lineTo(in);
        case Function::Polyline:
        case Function::Polygon:
            return poly(in, function == Function::Polygon);
        case Function::PolyPolygon:
            return polyPolygon(in);
        case Function::Rectangle:
        case Function::Ellipse:
            return box(in, function);
        case Function::Arc:
            return arc(in, ArcKind::Open);
        case Function::Chord:
            return arc(in, ArcKind::Chord);
        case Function::Pie:
            return arc(in, ArcKind::Pie);
        case Function::RoundRect:
            return roundRect(in);
        case Function::SetPixel:
            return setPixel(in);
        case Function::IntersectClipRect:
            return clipRect(in, false);
        case Function::ExcludeClipRect:
            return clipRect(in, true);
        case Function::OffsetClipRgn:
            return offsetClip(in);
        case Function::SelectClipRegion:
            return selectClipRegion(in);
        case Function::FillRegion:
        case Function::FrameRegion:
        case Function::InvertRegion:
        case Function::PaintRegion:
            return regionRecord(function, in);
        case Function::TextOut:
            return textOut(in);
        case Function::ExtTextOut:
            return extTextOut(in);
        case Function::PatBlt:
            return patBlt(in);
        case Function::BitBlt:
        case Function::StretchBlt:
        case Function::DibBitBlt:
        case Function::DibStretchBlt:
        case Function::StretchDib:
            return blit(function, in);
        case Function::SetDibToDev:
            return setDibToDev(in);
        default:
            // META_ESCAPE carries comments and printer commands (and, in SETABORTPROC's
            // case, code addresses): never acted on. Unknown functions neither.
            return false;
    }
}

bool Player::mappingRecord(Function function, WordReader& in) {
    Mapping& mapping = m_dc.mapping;
    if (function == Function::SetMapMode) {
        std::uint16_t mode = 0;
        if (!in.readU16(mode)) {
            return false;
        }
        mapping.setMode(mode);
        return true;
    }
    if (function == Function::ScaleWindowExt || function == Function::ScaleViewportExt) {
        // Stored y denominator first: yDenom, yNum, xDenom, xNum.
        std::int16_t v[4] = {};
        if (!in.readI16s(v)) {
            return false;
        }
        return function == Function::ScaleWindowExt
                   ? mapping.scaleWindowExt(v[3], v[2], v[1], v[0])
                   : mapping.scaleViewportExt(v[3], v[2], v[1], v[0]);
    }
    double x = 0;
    double y = 0;
    if (!readPoint(in, x, y)) {
        return false;
    }
    // Device-space values (viewport) are in picture units already.
    switch (function) {
        case Function::SetWindowOrg:
            mapping.setWindowOrg(x, y);
            return true;
        case Function::SetWindowExt:
            return mapping.setWindowExt(x, y);
        case Function::SetViewportOrg:
            mapping.setViewportOrg(x, y);
            return true;
        case Function::SetViewportExt:
            return mapping.setViewportExt(x, y);
        case Function::OffsetWindowOrg:
            mapping.offsetWindowOrg(x, y);
            return true;
        default:
            mapping.offsetViewportOrg(x, y);
            return true;
    }
}

bool Player::restoreDc(WordReader& in) {
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
    const bool clipChanged = m_dc.clip.has_value() || m_saved[keep].clip.has_value();
    m_dc = m_saved[keep];
    m_saved.erase(m_saved.begin() + static_cast<std::ptrdiff_t>(keep), m_saved.end());
    return !clipChanged || applyClip();
}

// Work that would go past the bound is refused, not done, so it is not counted either.
bool Player::spend(double units) {
    if (!(m_work + units <= m_maxWork)) {
        m_exhausted = true;
        return false;
    }
    m_work += units;
    return true;
}

double Player::areaCost(const RectF& r) const {
    const double width =
        std::clamp(r.right, 0.0, m_frameWidth) - std::clamp(r.left, 0.0, m_frameWidth);
    const double height =
        std::clamp(r.bottom, 0.0, m_frameHeight) - std::clamp(r.top, 0.0, m_frameHeight);
    return kFrameWork * std::abs(width * height) / (m_frameWidth * m_frameHeight);
}

bool Player::spendOn(const RectF& bounds, std::size_t points, const Brush* brush,
                     const EdgeSpan* edges) {
    const bool textured = brush != nullptr && (brush->style == BrushStyle::Hatched ||
                                               brush->style == BrushStyle::Pattern);
    double units =
        kCallWork + static_cast<double>(points) + areaCost(bounds) * (textured ? kTextureWork : 1);
    if (edges != nullptr) {
        // Each edge costs by its height: antialiased, the more the more edges cross a line;
        // past kMaxSmoothCrossings the canvas fills without antialiasing, far more cheaply.
        const double crossings = edges->crossings();
        const double perHeight = crossings > kMaxSmoothCrossings ? 0.16 : crossings / 40;
        units += kFrameWork * edges->sumDy / m_frameHeight * perHeight;
    }
    return spend(units + clipDrawCost(bounds));
}

// Logical to picture coordinates, clamped near the frame.
PointF Player::toPicture(double x, double y) const {
    const PointF device = m_dc.mapping.toDevice(x, y);
    const PointF p{device.x - m_deviceCorner.x, device.y - m_deviceCorner.y};
    return {
        std::clamp(p.x, -kCoordinateSlack * m_frameWidth, (1 + kCoordinateSlack) * m_frameWidth),
        std::clamp(p.y, -kCoordinateSlack * m_frameHeight, (1 + kCoordinateSlack) * m_frameHeight)};
}

double Player::toPictureWidth(double logical) const {
    return std::min(std::abs(logical * m_dc.mapping.scaleX()), 4 * m_maxExtent);
}

double Player::toPictureHeight(double logical) const {
    return std::min(std::abs(logical * m_dc.mapping.scaleY()), 4 * m_maxExtent);
}

bool Player::readPoint(WordReader& in, double& x, double& y) {
    std::int16_t py = 0;
    std::int16_t px = 0;
    if (!in.readI16(py) || !in.readI16(px)) {
        return false;
    }
    x = px;
    y = py;
    return true;
}

bool Player::readPoints(WordReader& in, std::size_t count, std::vector<PointF>& out) {
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

RectF Player::pictureRect(double left, double top, double right, double bottom) const {
    const PointF a = toPicture(left, top);
    const PointF b = toPicture(right, bottom);
    return RectF{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool Player::readRect(WordReader& in, RectF& out, bool bottomFirst) {
    std::int16_t v[4] = {};
    if (!in.readI16s(v)) {
        return false;
    }
    out = bottomFirst ? pictureRect(v[3], v[2], v[1], v[0]) : pictureRect(v[0], v[1], v[2], v[3]);
    return true;
}

PlayReport play(const Metafile& metafile, Canvas& canvas, const PlayLimits& limits) {
    PlayReport report;
    Player player(metafile, canvas, limits);
    for (const Record& record : metafile.records) {
        if (report.recordsPlayed + report.recordsIgnored >= limits.maxRecords) {
            report.stoppedEarly = true;
            break;
        }
        if (player.playRecord(record)) {
            ++report.recordsPlayed;
        } else {
            ++report.recordsIgnored;
        }
        if (player.budgetExhausted()) {
            report.stoppedEarly = true;
            break;
        }
    }
    report.work = player.work();
    return report;
}

}  // namespace quintrel::wmf
