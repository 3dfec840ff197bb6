// The object table: creating, selecting and deleting pens, brushes, fonts and regions, and
// turning the selected ones into what the canvas draws with.
#include <algorithm>
#include <cmath>

#include "metafile/player/wmf_player.h"

namespace quintrel::wmf {

namespace {

// Default font size when a LOGFONT gives height 0: 12 points.
constexpr double kDefaultFontPoints = 12.0;

PenStyle penStyle(std::uint16_t style) {
    switch (style & kPsStyleMask) {
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

LineCap lineCap(std::uint16_t style) {
    switch (style & kPsEndCapMask) {
        case kPsEndCapSquare:
            return LineCap::Square;
        case kPsEndCapFlat:
            return LineCap::Flat;
        default:
            return LineCap::Round;
    }
}

LineJoin lineJoin(std::uint16_t style) {
    switch (style & kPsJoinMask) {
        case kPsJoinBevel:
            return LineJoin::Bevel;
        case kPsJoinMiter:
            return LineJoin::Miter;
        default:
            return LineJoin::Round;
    }
}

std::uint32_t argb(Rgb c) {
    return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

}  // namespace

bool Player::addObject(Object object) {
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

bool Player::createPen(WordReader& in) {
    LogPen pen;
    std::int16_t widthY = 0;
    bool ok = in.readU16(pen.style) && in.readI16(pen.width) && in.readI16(widthY);
    pen.color = readColor(in, ok);
    return ok && addObject(pen);
}

bool Player::createBrush(WordReader& in) {
    LogBrush brush;
    bool ok = in.readU16(brush.style);
    if (ok) {
        brush.color = readColor(in, ok);
    }
    // The hatch word is missing in some files; solid brushes do not need it.
    in.readU16(brush.hatch);
    // A pattern style here has no bitmap to go with it: such a brush draws nothing.
    if (brush.style == kBsPattern || brush.style == kBsDibPattern) {
        brush.style = kBsNull;
    }
    return ok && addObject(brush);
}

bool Player::createFont(WordReader& in) {
    LogFontState font;
    std::int16_t width = 0;
    std::int16_t orientation = 0;
    std::string flags;
    if (!in.readI16(font.height) || !in.readI16(width) || !in.readI16(font.escapement) ||
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
    font.height =
        static_cast<std::int16_t>(std::clamp<int>(font.height, -kMaxFontHeight, kMaxFontHeight));
    return addObject(std::move(font));
}

// A region record: a header, its bounding box, then scans of equal height, each a list of
// left/right pairs. Rectangles are kept in logical units.
bool Player::createRegion(WordReader& in) {
    std::uint16_t header[7] = {};  // next in chain, type, count (2), size, scans, max scan
    for (auto& word : header) {
        if (!in.readU16(word)) {
            return false;
        }
    }
    std::int16_t box[4] = {};
    if (!in.readI16s(box)) {
        return false;
    }
    const std::uint16_t scans = header[5];
    Region region;
    for (std::uint16_t s = 0; s < scans; ++s) {
        std::uint16_t count = 0;
        std::int16_t top = 0;
        std::int16_t bottom = 0;
        if (!in.readU16(count) || !in.readI16(top) || !in.readI16(bottom) || count % 2 != 0 ||
            count > in.remaining() || !spend(count)) {
            return false;
        }
        for (std::uint16_t i = 0; i < count; i += 2) {
            std::int16_t left = 0;
            std::int16_t right = 0;
            in.readI16(left);
            in.readI16(right);
            if (!region.add({double(left), double(top), double(right), double(bottom)})) {
                return false;
            }
        }
        std::uint16_t count2 = 0;
        if (!in.readU16(count2)) {
            return false;
        }
    }
    return addObject(std::move(region));
}

bool Player::selectObject(WordReader& in) {
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
    } else if (const auto* region = std::get_if<Region>(&object)) {
        // Selecting a region makes it the clip, as SelectClipRgn does.
        return clipTo(*region);
    } else {
        return false;
    }
    return true;
}

bool Player::deleteObject(WordReader& in) {
    std::uint16_t index = 0;
    if (!in.readU16(index) || index >= m_objects.size()) {
        return false;
    }
    m_objects[index] = std::monostate{};
    return true;
}

// Dashed and dotted pens wider than one logical unit draw solid, as GDI draws them; an
// inside-frame pen is solid on lines (shapes shrink to fit it, see insideFrame).
Pen Player::pen() const {
    const LogPen& log = m_dc.pen;
    const double width = std::min(std::abs(log.width * m_dc.mapping.scaleX()), m_maxExtent);
    Pen out;
    out.style = penStyle(log.style);
    out.width = width;
    out.color = log.color;
    if (out.style != PenStyle::None && out.style != PenStyle::Solid && std::abs(log.width) > 1) {
        out.style = PenStyle::Solid;
    }
    out.cap = lineCap(log.style);
    out.join = lineJoin(log.style);
    if (out.style != PenStyle::Solid && out.style != PenStyle::None && m_dc.bkMode == kOpaque) {
        out.gapColor = m_dc.bkColor;
    }
    return out;
}

Brush Player::brushOf(const LogBrush& log) {
    switch (log.style) {
        case kBsSolid:
            return Brush{BrushStyle::Solid, log.color, 0, std::nullopt, nullptr};
        case kBsHatched: {
            Brush out{BrushStyle::Hatched, log.color, log.hatch, std::nullopt, nullptr};
            if (m_dc.bkMode == kOpaque) {
                out.background = m_dc.bkColor;
            }
            return out;
        }
        case kBsPattern:
        case kBsDibPattern: {
            if (!log.pattern) {
                break;
            }
            Brush out{BrushStyle::Pattern, log.color, 0, std::nullopt, log.pattern};
            if (log.monochrome) {
                // Black pixels take the text colour, white ones the background colour.
                const double pixels = static_cast<double>(log.pattern->pixels.size());
                if (!spend(pixels / kPixelsPerWork)) {
                    return Brush{BrushStyle::None, log.color, 0, std::nullopt, nullptr};
                }
                auto recoloured = std::make_shared<PixelImage>(*log.pattern);
                for (std::uint32_t& pixel : recoloured->pixels) {
                    pixel = (pixel & 0xFFFFFF) == 0 ? argb(m_dc.textColor) : argb(m_dc.bkColor);
                }
                out.pattern = std::move(recoloured);
            }
            return out;
        }
        default:
            break;
    }
    return Brush{BrushStyle::None, log.color, 0, std::nullopt, nullptr};
}

Font Player::font() const {
    const LogFontState& f = m_dc.font;
    Font out;
    out.face = f.face;
    out.sizeIsCell = f.height > 0;
    const double inch = m_metafile.placeable.inch > 0 ? m_metafile.placeable.inch : kStandardInch;
    out.size = f.height == 0 ? inch * kDefaultFontPoints / 72.0
                             : std::abs(f.height * m_dc.mapping.scaleY());
    out.size = std::min(out.size, 4 * m_maxExtent);
    out.weight = std::clamp<int>(f.weight, 0, 1000);
    out.italic = f.italic;
    out.underline = f.underline;
    out.strikeOut = f.strikeOut;
    out.charSet = f.charSet;
    return out;
}

}  // namespace quintrel::wmf
