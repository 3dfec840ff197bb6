// A small box-model typesetter for the formula pictures: text boxes in the four picture
// faces, rows, scripts, stacked limits and fractions, emitted as metafile records.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "metafile/format/wmf_writer.h"

namespace quintrel::formula_pictures {

enum class Face {
    Heading,  // Arial bold
    Roman,    // Times New Roman
    Italic,   // Times New Roman italic
    Symbol,   // Symbol, bytes in the Adobe Symbol encoding
};

// Advance of byte `code` in `face`, in font units; 0 for a code the face does not have.
int advanceUnits(Face face, std::uint8_t code);
int unitsPerEm(Face face);

// Pixel positions of each glyph edge of `text` set at em size `size` (logical units):
// positions[i] is where glyph i starts, positions.back() the run's width. Rounded once from
// exact sums, so the dx array never drifts.
std::vector<int> glyphEdges(Face face, int size, std::string_view text);

struct GlyphRun {
    Face face;
    int size;  // em height, logical units
    int x;     // left edge, relative to the box origin
    int y;     // baseline, relative to the box baseline, down positive
    std::string bytes;
};

struct Bar {  // a filled rule, such as a fraction bar
    int x;
    int top;  // relative to the box baseline, down positive
    int width;
    int thickness;
};

// Everything is relative to the left end of the box's baseline.
struct Box {
    int width = 0;
    int ascent = 0;   // above the baseline
    int descent = 0;  // below the baseline
    std::vector<GlyphRun> runs;
    std::vector<Bar> bars;
};

Box text(Face face, int size, std::string_view bytes);
Box space(int width);
Box row(std::initializer_list<Box> boxes);
// `base` with an optional superscript raised by `supShift` and subscript lowered by `subShift`.
Box scripts(Box base, std::optional<Box> sup, int supShift, std::optional<Box> sub, int subShift);
// `base` with `part` laid over it, its origin at (dx, dy) from the base's (dy down).
Box overlay(Box base, const Box& part, int dx, int dy);
// An operator with limits centred above and below it.
Box limits(Box op, Box upper, Box lower, int gap);
// A built-up fraction on the maths axis of a `size` font.
Box fraction(Box numerator, Box denominator, int size);

// Writes boxes into a metafile: creates each (face, size) font once, selects it as needed and
// sets every run with EXTTEXTOUT and its dx array; bars become filled rectangles.
class BoxEmitter {
  public:
    explicit BoxEmitter(wmf::MetafileWriter& writer);
    void emit(const Box& box, int x, int baseline);

  private:
    std::uint16_t fontFor(Face face, int size);

    wmf::MetafileWriter& m_writer;
    std::map<std::pair<Face, int>, std::uint16_t> m_fonts;
    std::optional<std::uint16_t> m_selectedFont;
};

}  // namespace quintrel::formula_pictures
