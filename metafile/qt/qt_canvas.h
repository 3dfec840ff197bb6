// The Canvas that draws with QPainter: fonts resolved to installed faces, text placed by dx,
// clipping, patterns in device pixels, bitmaps with raster operations.
#pragma once

#include <QFont>
#include <QPainterPath>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "metafile/player/wmf_canvas.h"

class QPainter;
class QBrush;
class QPen;

namespace quintrel {
class OutlineFace;
}

namespace quintrel::wmf {

// A resolved face at one size (`pixelSize` painter units to the em): the installed face file
// drawn directly where the platform has one, else Qt's raw font of the face.
class TextFace {
  public:
    TextFace() = default;
    explicit TextFace(QRawFont raw) : m_raw(std::move(raw)) {}
    TextFace(std::shared_ptr<const OutlineFace> outline, double em)
        : m_outline(std::move(outline)), m_em(em) {}

    bool isValid() const;
    bool isOutline() const { return m_outline != nullptr; }
    double pixelSize() const;
    QString familyName() const;
    double ascent() const;
    double descent() const;
    double underlinePosition() const;
    double lineThickness() const;
    double xHeight() const;

    // One glyph per character, 0 where the face has none.
    QList<quint32> glyphIndexes(std::u32string_view text) const;
    // The face's own advances, in painter units.
    QList<double> advances(const QList<quint32>& glyphs) const;
    // The same face at another size; the raw font is cloned, which makes a font engine.
    TextFace withPixelSize(double em) const;
    // Glyphs at `origin` plus `positions` in `color`.
    void draw(QPainter& painter, QPointF origin, const QList<quint32>& glyphs,
              const QList<QPointF>& positions, QColor color) const;

  private:
    QRawFont m_raw;
    std::shared_ptr<const OutlineFace> m_outline;
    double m_em = 0;
};

// Fonts resolved to installed faces, kept across draws: resolving a face and cloning it to a
// size are the costly parts of drawing text. One cache per widget, GUI thread only. A picture
// may give every run a size of its own, and each sized face holds a font engine with its glyph
// caches: past kMaxSizedFonts the sized faces are let go and made again as runs need them.
class FontCache {
  public:
    // How the bytes of a run reach glyphs of the resolved font.
    enum class Encoding {
        Latin1,         // a symbol font whose own cmap maps byte b to U+00b
        SymbolPrivate,  // a Windows symbol font: byte b is U+F0b
        Decoded         // the bytes are decoded to Unicode by character set or symbol face
    };

    struct ResolvedFont {
        QFont font;     // at the reference pixel size, for what the face lacks
        TextFace face;  // the same face, for glyph runs; invalid when nothing matched
        Encoding encoding = Encoding::Decoded;
    };

    static constexpr std::size_t kMaxSizedFonts = 64;

    const ResolvedFont& resolve(const Font& font);
    // The resolved face of `font` at em size `em`.
    TextFace sized(const Font& font, double em);
    std::size_t sizedCount() const { return m_sized.size(); }

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
    std::map<std::pair<Key, double>, TextFace> m_sized;
};

class QtCanvas : public Canvas {
  public:
    // Draws in the painter's current coordinates (picture units); whatever clip the painter
    // has now bounds every clip the metafile sets.
    QtCanvas(QPainter& painter, FontCache& fonts);

    void setClip(const std::optional<std::vector<RectF>>& rects) override;
    void drawPolyline(std::span<const PointF> points, const Pen& pen) override;
    void drawPolygons(std::span<const std::vector<PointF>> polygons, const Pen& pen,
                      const Brush& brush, FillRule rule) override;
    void drawEllipse(const RectF& bounds, const Pen& pen, const Brush& brush) override;
    void drawArc(const ArcShape& arc, const Pen& pen, const Brush& brush) override;
    void drawRoundRect(const RectF& bounds, PointF corner, const Pen& pen,
                       const Brush& brush) override;
    void fillRects(std::span<const RectF> rects, const Brush& brush, BlitOp op) override;
    void setPixel(PointF at, Rgb color) override;
    void drawImage(const RectF& target, const PixelImage& image, const RectF& source, BlitOp op,
                   bool smooth) override;
    double drawText(const TextRun& run) override;

  private:
    class Jagged;
    QBrush toQBrush(const Brush& brush) const;
    // Fills and strokes `path`; a dashed pen with a gap colour first strokes solid in it.
    void paintPath(const QPainterPath& path, const Pen& pen, const Brush& brush);

    QPainter& m_painter;
    FontCache& m_fonts;
    bool m_hasBaseClip = false;
    QPainterPath m_baseClip;
};

}  // namespace quintrel::wmf
