// The Canvas that draws with QPainter: fonts resolved to installed faces, text placed by dx.
#pragma once

#include <QFont>
#include <QRawFont>
#include <QString>
#include <map>
#include <string>
#include <utility>

#include "platform/wmf/wmf_canvas.h"

class QPainter;

namespace quintrel::wmf {

// Fonts resolved to installed faces, kept across draws: resolving a face and cloning it to a
// size are the costly parts of drawing text. One cache per widget, GUI thread only.
class FontCache {
  public:
    // How the bytes of a run reach glyphs of the resolved font.
    enum class Encoding {
        Latin1,         // byte b is character U+00b
        SymbolPrivate,  // a Windows Symbol font: byte b is U+F0b
        SymbolUnicode   // no Symbol-encoded font: bytes map through the Adobe Symbol table
    };

    struct ResolvedFont {
        QFont font;    // at the reference pixel size
        QRawFont raw;  // the same face, for glyph runs; invalid when nothing matched
        Encoding encoding = Encoding::Latin1;
    };

    const ResolvedFont& resolve(const Font& font);
    // The resolved face of `font` at em size `em`.
    QRawFont sized(const Font& font, double em);

  private:
    // What picks a face: looked up for every text run, so compared as plain values.
    struct Key {
        std::string face;
        int weight;
        bool italic;
        bool symbol;
        auto operator<=>(const Key&) const = default;
    };
    static Key keyOf(const Font& font);

    std::map<Key, ResolvedFont> m_fonts;
    std::map<std::pair<Key, double>, QRawFont> m_sized;
};

class QtCanvas : public Canvas {
  public:
    QtCanvas(QPainter& painter, FontCache& fonts) : m_painter(painter), m_fonts(fonts) {}

    void drawPolyline(std::span<const PointF> points, const Pen& pen) override;
    void drawPolygons(std::span<const std::vector<PointF>> polygons, const Pen& pen,
                      const Brush& brush, FillRule rule) override;
    void drawEllipse(const RectF& bounds, const Pen& pen, const Brush& brush) override;
    double drawText(const TextRun& run) override;

  private:
    QPainter& m_painter;
    FontCache& m_fonts;
};

}  // namespace quintrel::wmf
