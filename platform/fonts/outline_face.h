// An installed outline face read straight from its file, for drawing text without making one of
// the toolkit's font engines. Where the system keeps its faces as files behind fontconfig,
// opening a face costs a look-up in the font set the toolkit has loaded already and a FreeType
// face; a toolkit engine costs a full fontconfig substitution and match per face, the larger
// part of drawing the first formula picture. Elsewhere no face opens and callers use the
// toolkit's own fonts. GUI thread only.
#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <memory>
#include <span>

class QPainter;

namespace quintrel {

class OutlineFace {
  public:
    virtual ~OutlineFace() = default;

    // The family the face file gives itself.
    virtual QString familyName() const = 0;

    // Metrics in ems, down positive: the cell above and below the baseline as the system's
    // text metrics give them, the underline (its centre minus half its thickness) and the
    // height of a lower-case x.
    virtual double ascent() const = 0;
    virtual double descent() const = 0;
    virtual double underlinePosition() const = 0;
    virtual double lineThickness() const = 0;
    virtual double xHeight() const = 0;

    // The glyph for a character, looked up as Qt's FreeType engine does for the same face (a
    // symbol face's own character map first); 0 when the face has none.
    virtual quint32 glyphIndex(char32_t code) const = 0;
    // The unhinted advance of a glyph, in ems.
    virtual double advance(quint32 glyph) const = 0;

    // Draws glyphs of `em` painter units at `origin` plus `positions` (painter units, baseline
    // y) in `color`, antialiased and unhinted, through the painter's transform and clip.
    virtual void draw(QPainter& painter, QPointF origin, std::span<const quint32> glyphs,
                      std::span<const QPointF> positions, double em, QColor color) const = 0;
};

// The installed face of exactly `family` (case aside) at `weight` (100 to 900) and slant, as an
// outline file that needs no synthesized bold or italic; null when there is none or the
// platform keeps no such files.
std::unique_ptr<OutlineFace> openOutlineFace(const QString& family, int weight, bool italic);

}  // namespace quintrel
