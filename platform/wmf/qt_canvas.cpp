#include "platform/wmf/qt_canvas.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "platform/wmf/font_faces.h"
#include "platform/wmf/symbol_encoding.h"
#include "platform/wmf/wmf_format.h"

namespace quintrel::wmf {

namespace {

// Fonts are resolved once at this size; runs scale the raw font to their own size.
constexpr int kReferencePixels = 256;
// Text smaller than this (picture units) is not drawn at all.
constexpr double kMinEm = 1e-3;

QColor toQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QPen toQPen(const Pen& pen) {
    if (pen.style == PenStyle::None) {
        return Qt::NoPen;
    }
    QPen out(toQColor(pen.color));
    out.setWidthF(pen.width);  // 0 is Qt's cosmetic one-pixel pen, as in GDI
    out.setCapStyle(Qt::RoundCap);
    out.setJoinStyle(Qt::RoundJoin);
    switch (pen.style) {
        case PenStyle::Dash:
            out.setStyle(Qt::DashLine);
            break;
        case PenStyle::Dot:
            out.setStyle(Qt::DotLine);
            break;
        case PenStyle::DashDot:
            out.setStyle(Qt::DashDotLine);
            break;
        case PenStyle::DashDotDot:
            out.setStyle(Qt::DashDotDotLine);
            break;
        default:
            break;
    }
    return out;
}

QBrush toQBrush(const Brush& brush) {
    switch (brush.style) {
        case BrushStyle::None:
            return Qt::NoBrush;
        case BrushStyle::Solid:
            return QBrush(toQColor(brush.color));
        case BrushStyle::Hatched: {
            static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                          Qt::FDiagPattern, Qt::BDiagPattern,
                                                          Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(toQColor(brush.color),
                          brush.hatch < 6 ? kHatches[brush.hatch] : Qt::SolidPattern);
        }
    }
    return Qt::NoBrush;
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

QFont::Weight qtWeight(int weight) {
    const int rounded = std::clamp((weight + 50) / 100 * 100, 100, 900);
    return static_cast<QFont::Weight>(rounded);
}

// QFontInfo names a face with its foundry when several foundries share a family name:
// "Standard Symbols PS [URW ]".
bool isFamily(const QString& resolved, const QString& wanted) {
    const qsizetype bracket = resolved.indexOf(QLatin1String(" ["));
    const QString bare = bracket < 0 ? resolved : resolved.left(bracket);
    return bare.compare(wanted, Qt::CaseInsensitive) == 0;
}

bool hasAllGlyphs(const QRawFont& raw, const QString& text) {
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    return glyphs.size() == text.size() &&
           std::none_of(glyphs.begin(), glyphs.end(), [](quint32 g) { return g == 0; });
}

}  // namespace

namespace {

QString familyOf(const Font& font) {
    return QString::fromStdString(twinFace(font.face.empty() ? "Arial" : font.face));
}

}  // namespace

FontCache::Key FontCache::keyOf(const Font& font) {
    return {font.face, font.weight, font.italic, font.charSet == kSymbolCharset};
}

const FontCache::ResolvedFont& FontCache::resolve(const Font& font) {
    Key key = keyOf(font);
    if (auto it = m_fonts.find(key); it != m_fonts.end()) {
        return it->second;
    }
    const bool symbol = key.symbol;
    const QString family = familyOf(font);

    ResolvedFont resolved;
    resolved.font = QFont(family);
    resolved.font.setPixelSize(kReferencePixels);
    resolved.font.setWeight(qtWeight(font.weight));
    resolved.font.setItalic(font.italic);
    resolved.font.setHintingPreference(QFont::PreferNoHinting);
    resolved.font.setKerning(false);
    // Only the face itself is drawn from (QRawFont takes the primary engine); without merging Qt
    // also skips building the fallback chain, a costly fontconfig sort at the first paint.
    resolved.font.setStyleStrategy(QFont::NoFontMerging);
    resolved.raw = QRawFont::fromFont(resolved.font);

    if (symbol) {
        // A Symbol-encoded font keeps the exact widths the picture was laid out with; use it
        // only when it really is the face asked for, not a substitute Qt picked.
        const bool installed = isFamily(QFontInfo(resolved.font).family(), family);
        if (installed && hasAllGlyphs(resolved.raw, QStringLiteral("pDS\u00A5\u00F2"))) {
            resolved.encoding = Encoding::Latin1;
        } else if (installed &&
                   hasAllGlyphs(resolved.raw, QString(QChar(0xF070)) + QChar(0xF044))) {
            resolved.encoding = Encoding::SymbolPrivate;
        } else {
            resolved.encoding = Encoding::SymbolUnicode;
            resolved.font = QFont(QString::fromUtf8(kSerifTwin.data(), kSerifTwin.size()));
            resolved.font.setPixelSize(kReferencePixels);
            resolved.font.setStyleStrategy(QFont::NoFontMerging);
            resolved.raw = QRawFont::fromFont(resolved.font);
        }
    }
    return m_fonts.emplace(std::move(key), std::move(resolved)).first->second;
}

QRawFont FontCache::sized(const Font& font, double em) {
    std::pair<Key, double> sizedKey{keyOf(font), em};
    if (auto it = m_sized.find(sizedKey); it != m_sized.end()) {
        return it->second;
    }
    QRawFont raw = resolve(font).raw;
    raw.setPixelSize(em);
    return m_sized.emplace(std::move(sizedKey), raw).first->second;
}

void QtCanvas::drawPolyline(std::span<const PointF> points, const Pen& pen) {
    if (pen.style == PenStyle::None || points.size() < 2) {
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
    for (const auto& polygon : polygons) {
        if (polygon.size() >= 2) {
            path.addPolygon(toPolygon(polygon));
            path.closeSubpath();
        }
    }
    m_painter.setPen(toQPen(pen));
    m_painter.setBrush(toQBrush(brush));
    m_painter.drawPath(path);
}

void QtCanvas::drawEllipse(const RectF& bounds, const Pen& pen, const Brush& brush) {
    m_painter.setPen(toQPen(pen));
    m_painter.setBrush(toQBrush(brush));
    m_painter.drawEllipse(toQRect(bounds));
}

double QtCanvas::drawText(const TextRun& run) {
    if (run.opaqueRect) {
        m_painter.fillRect(toQRect(*run.opaqueRect),
                           toQColor(run.background.value_or(Rgb{255, 255, 255})));
    }
    if (run.bytes.empty()) {
        return 0;
    }
    const FontCache::ResolvedFont& resolved = m_fonts.resolve(run.font);
    if (!resolved.raw.isValid()) {
        return 0;
    }
    const double cell = (resolved.raw.ascent() + resolved.raw.descent()) / kReferencePixels;
    const double em = run.font.sizeIsCell && cell > 0 ? run.font.size / cell : run.font.size;
    if (!(em > kMinEm) || !std::isfinite(em)) {
        return 0;
    }
    const QRawFont raw = m_fonts.sized(run.font, em);

    QString text;
    text.reserve(static_cast<qsizetype>(run.bytes.size()));
    for (char byte : run.bytes) {
        const auto code = static_cast<std::uint8_t>(byte);
        switch (resolved.encoding) {
            case FontCache::Encoding::Latin1:
                text.append(QChar(code));
                break;
            case FontCache::Encoding::SymbolPrivate:
                text.append(QChar(0xF000 + code));
                break;
            case FontCache::Encoding::SymbolUnicode: {
                const char32_t u = symbolToUnicode(code);
                text.append(QChar(u == 0 ? char16_t(0xFFFD) : static_cast<char16_t>(u)));
                break;
            }
        }
    }
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    if (glyphs.size() != text.size()) {
        return 0;
    }
    const QList<QPointF> natural = raw.advancesForGlyphIndexes(glyphs);

    // Pen positions: the dx array where the file has one, the font's own advances after it.
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    double x = 0;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        positions.append(QPointF(x, 0));
        const auto index = static_cast<std::size_t>(i);
        x += index < run.advances.size() ? run.advances[index] : natural.value(i).x();
    }
    const double width = x;

    double originX = run.reference.x;
    switch (run.align & kTaHorizontalMask) {
        case kTaRight:
            originX -= width;
            break;
        case kTaCenter:
            originX -= width / 2;
            break;
        default:
            break;
    }
    double baseline = run.reference.y;
    switch (run.align & kTaVerticalMask) {
        case kTaBaseline:
            break;
        case kTaBottom:
            baseline -= raw.descent();
            break;
        default:  // top
            baseline += raw.ascent();
            break;
    }

    m_painter.save();
    if (run.clipRect) {
        m_painter.setClipRect(toQRect(*run.clipRect), Qt::IntersectClip);
    }
    if (run.background && !run.opaqueRect) {
        m_painter.fillRect(QRectF(std::min(originX, originX + width), baseline - raw.ascent(),
                                  std::abs(width), raw.ascent() + raw.descent()),
                           toQColor(*run.background));
    }
    m_painter.setPen(toQColor(run.color));

    // Characters the face lacks go through QPainter::drawText, which falls back to
    // another installed face; the rest are one glyph run at exact positions.
    QList<quint32> present;
    QList<QPointF> presentPositions;
    QFont fallback = resolved.font;
    fallback.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        if (glyphs[i] != 0) {
            present.append(glyphs[i]);
            presentPositions.append(positions[i]);
        } else if (!text[i].isSpace()) {
            m_painter.setFont(fallback);
            m_painter.drawText(QPointF(originX + positions[i].x(), baseline), QString(text[i]));
        }
    }
    if (!present.isEmpty()) {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(raw);
        glyphRun.setGlyphIndexes(present);
        glyphRun.setPositions(presentPositions);
        m_painter.drawGlyphRun(QPointF(originX, baseline), glyphRun);
    }
    const double thickness = std::max(raw.lineThickness(), em / 20);
    if (run.font.underline) {
        m_painter.fillRect(QRectF(originX, baseline + raw.underlinePosition(), width, thickness),
                           toQColor(run.color));
    }
    if (run.font.strikeOut) {
        m_painter.fillRect(QRectF(originX, baseline - raw.xHeight() / 2, width, thickness),
                           toQColor(run.color));
    }
    m_painter.restore();
    return width;
}

}  // namespace quintrel::wmf
