#include "tools/formula_layout.h"

#include <algorithm>
#include <cmath>

#include "tools/font_widths.h"

namespace quintrel::formula_pictures {

namespace {

// Vertical extents of Times New Roman text used for layout, per mille of the em: the cap
// height with a little room, and the depth of descenders.
constexpr int kTextAscent = 683;
constexpr int kTextDescent = 217;
// Italic letters lean out of their advance; upright glyphs after them get this much room.
constexpr int kItalicCorrection = 30;
// The maths axis (the height of the minus sign's middle) and fraction geometry, per mille.
constexpr int kAxis = 266;
constexpr int kRuleThickness = 45;
constexpr int kFractionGap = 90;
constexpr int kFractionPad = 60;

int perMille(int size, int value) {
    return static_cast<int>(std::lround(size * value / 1000.0));
}

}  // namespace

int unitsPerEm(Face face) {
    return face == Face::Symbol ? 1000 : 2048;
}

int advanceUnits(Face face, std::uint8_t code) {
    if (face == Face::Symbol) {
        return (code >= 0x20 && code < 0xFF) ? kStandardSymbolsWidths[code - 0x20] : 0;
    }
    if (code < 0x20 || code > 0x7E) {
        return 0;
    }
    const std::size_t i = code - 0x20;
    switch (face) {
        case Face::Heading:
            return kLiberationSansBoldWidths[i];
        case Face::Roman:
            return kLiberationSerifRegularWidths[i];
        case Face::Italic:
            return kLiberationSerifItalicWidths[i];
        case Face::Symbol:
            break;
    }
    return 0;
}

std::vector<int> glyphEdges(Face face, int size, std::string_view text) {
    std::vector<int> edges{0};
    const std::int64_t units = unitsPerEm(face);
    std::int64_t sum = 0;
    for (char c : text) {
        sum += advanceUnits(face, static_cast<std::uint8_t>(c));
        // Round half up, in integers, so every machine gets the same dx array.
        edges.push_back(static_cast<int>((2 * sum * size + units) / (2 * units)));
    }
    return edges;
}

Box text(Face face, int size, std::string_view bytes) {
    Box box;
    box.width = glyphEdges(face, size, bytes).back();
    if (face == Face::Symbol) {
        int low = 0;
        int high = 0;
        for (char c : bytes) {
            const auto code = static_cast<std::uint8_t>(c);
            if (code >= 0x20 && code < 0xFF) {
                low = std::min<int>(low, kStandardSymbolsExtents[code - 0x20][0]);
                high = std::max<int>(high, kStandardSymbolsExtents[code - 0x20][1]);
            }
        }
        box.ascent = perMille(size, high);
        box.descent = perMille(size, -low);
    } else {
        box.ascent = perMille(size, kTextAscent);
        box.descent = perMille(size, kTextDescent);
    }
    box.runs.push_back(GlyphRun{face, size, 0, 0, std::string(bytes)});
    if (face == Face::Italic) {
        box.width += perMille(size, kItalicCorrection);
    }
    return box;
}

Box space(int width) {
    Box box;
    box.width = width;
    return box;
}

namespace {

void place(Box& into, const Box& part, int dx, int dy) {
    for (GlyphRun run : part.runs) {
        run.x += dx;
        run.y += dy;
        into.runs.push_back(std::move(run));
    }
    for (Bar bar : part.bars) {
        bar.x += dx;
        bar.top += dy;
        into.bars.push_back(bar);
    }
    into.ascent = std::max(into.ascent, part.ascent - dy);
    into.descent = std::max(into.descent, part.descent + dy);
}

}  // namespace

Box row(std::initializer_list<Box> boxes) {
    Box out;
    for (const Box& box : boxes) {
        place(out, box, out.width, 0);
        out.width += box.width;
    }
    return out;
}

Box scripts(Box base, std::optional<Box> sup, int supShift, std::optional<Box> sub, int subShift) {
    Box out;
    place(out, base, 0, 0);
    int width = 0;
    if (sup) {
        place(out, *sup, base.width, -supShift);
        width = std::max(width, sup->width);
    }
    if (sub) {
        place(out, *sub, base.width, subShift);
        width = std::max(width, sub->width);
    }
    out.width = base.width + width;
    return out;
}

Box overlay(Box base, const Box& part, int dx, int dy) {
    Box out = std::move(base);
    place(out, part, dx, dy);
    out.width = std::max(out.width, dx + part.width);
    return out;
}

Box limits(Box op, Box upper, Box lower, int gap) {
    Box out;
    const int width = std::max({op.width, upper.width, lower.width});
    place(out, op, (width - op.width) / 2, 0);
    place(out, upper, (width - upper.width) / 2, -(op.ascent + gap + upper.descent));
    place(out, lower, (width - lower.width) / 2, op.descent + gap + lower.ascent);
    out.width = width;
    return out;
}

Box fraction(Box numerator, Box denominator, int size) {
    Box out;
    const int pad = perMille(size, kFractionPad);
    const int thickness = std::max(1, perMille(size, kRuleThickness));
    const int gap = perMille(size, kFractionGap);
    const int width = std::max(numerator.width, denominator.width) + 2 * pad;
    const int barTop = -perMille(size, kAxis) - thickness / 2;
    out.bars.push_back(Bar{0, barTop, width, thickness});
    place(out, numerator, (width - numerator.width) / 2, barTop - gap - numerator.descent);
    place(out, denominator, (width - denominator.width) / 2,
          barTop + thickness + gap + denominator.ascent);
    out.width = width;
    return out;
}

BoxEmitter::BoxEmitter(wmf::MetafileWriter& writer) : m_writer(writer) {}

std::uint16_t BoxEmitter::fontFor(Face face, int size) {
    const auto key = std::make_pair(face, size);
    if (auto it = m_fonts.find(key); it != m_fonts.end()) {
        return it->second;
    }
    wmf::LogFont font;
    font.height = static_cast<std::int16_t>(-size);  // negative: the em height
    font.outPrecision = 4;                           // OUT_TT_PRECIS
    font.quality = 2;                                // PROOF_QUALITY
    switch (face) {
        case Face::Heading:
            font.faceName = "Arial";
            font.weight = 700;
            font.pitchAndFamily = 0x22;  // variable pitch, swiss
            break;
        case Face::Roman:
        case Face::Italic:
            font.faceName = "Times New Roman";
            font.italic = face == Face::Italic;
            font.pitchAndFamily = 0x12;  // variable pitch, roman
            break;
        case Face::Symbol:
            font.faceName = "Symbol";
            font.charSet = wmf::kSymbolCharset;
            font.pitchAndFamily = 0x52;  // variable pitch, decorative
            break;
    }
    const std::uint16_t index = m_writer.createFont(font);
    m_fonts.emplace(key, index);
    return index;
}

void BoxEmitter::emit(const Box& box, int x, int baseline) {
    for (const GlyphRun& run : box.runs) {
        const std::uint16_t font = fontFor(run.face, run.size);
        if (m_selectedFont != font) {
            m_writer.selectObject(font);
            m_selectedFont = font;
        }
        const std::vector<int> edges = glyphEdges(run.face, run.size, run.bytes);
        std::vector<std::int16_t> dx;
        for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
            dx.push_back(static_cast<std::int16_t>(edges[i + 1] - edges[i]));
        }
        m_writer.extTextOut(static_cast<std::int16_t>(x + run.x),
                            static_cast<std::int16_t>(baseline + run.y), 0, {}, run.bytes, dx);
    }
    for (const Bar& bar : box.bars) {
        const int left = x + bar.x;
        const int top = baseline + bar.top;
        m_writer.rectangle(wmf::Rect16{static_cast<std::int16_t>(left),
                                       static_cast<std::int16_t>(top),
                                       static_cast<std::int16_t>(left + bar.width),
                                       static_cast<std::int16_t>(top + bar.thickness)});
    }
}

}  // namespace quintrel::formula_pictures
