// Text for the QPainter canvas: faces resolved once and kept, bytes decoded by character set
// or symbol face, glyphs placed at the file's spacing, rotated by the escapement.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "metafile/decode/font_faces.h"
#include "metafile/decode/text_decoding.h"
#include "metafile/format/wmf_format.h"
#include "metafile/qt/qt_canvas.h"

namespace quintrel::wmf {

namespace {

// Fonts are resolved once at this size; runs scale the raw font to their own size.
constexpr int kReferencePixels = 256;
// Text smaller than this (picture units) is not drawn at all.
constexpr double kMinEm = 1e-3;

QColor toQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QRectF toQRect(const RectF& r) {
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

QFont::Weight qtWeight(int weight) {
    const int rounded = std::clamp((weight + 50) / 100 * 100, 100, 900);
    return static_cast<QFont::Weight>(rounded);
}

// Qt names a face with its foundry when several foundries share a family name:
// "Standard Symbols PS [URW ]".
bool isFamily(const QString& resolved, const QString& wanted) {
    const qsizetype bracket = resolved.indexOf(QLatin1String(" ["));
    const QString bare = bracket < 0 ? resolved : resolved.left(bracket);
    return bare.compare(wanted, Qt::CaseInsensitive) == 0;
}

// Whether a face of that very family is installed, not one the system would put in its place
// (fontconfig answers "Arial" with Liberation Sans). Read from the font database's list, which
// the first text of the window has filled already: asking a QFontInfo would make a font engine
// at another size for each face, with a fontconfig match of its own.
bool isInstalled(const QString& family) {
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(),
                       [&](const QString& installed) { return isFamily(installed, family); });
}

bool hasAllGlyphs(const QRawFont& raw, const QString& text) {
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    return glyphs.size() == text.size() &&
           std::none_of(glyphs.begin(), glyphs.end(), [](quint32 g) { return g == 0; });
}

bool sameName(const std::string& a, const char* b) {
    return QString::fromStdString(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// Faces whose bytes are glyph numbers of their own rather than characters of a code page.
bool isSymbolic(const Font& font) {
    return font.charSet == kSymbolCharset || sameName(font.face, "Symbol") ||
           sameName(font.face, "Wingdings") || sameName(font.face, "MT Extra");
}

// One character of a run: where its glyph goes along the baseline and how it is drawn.
struct Placed {
    char32_t code = 0;
    quint32 glyph = 0;  // 0: the face lacks it; drawn through Qt's font fallback
    double x = 0;
};

}  // namespace

FontCache::Key FontCache::keyOf(const Font& font) {
    return {font.face, font.weight, font.italic, isSymbolic(font)};
}

const FontCache::ResolvedFont& FontCache::resolve(const Font& font) {
    Key key = keyOf(font);
    if (auto it = m_fonts.find(key); it != m_fonts.end()) {
        return it->second;
    }
    // The face the picture names where the system has it (Windows has Arial, Times New Roman and
    // Symbol), its metric twin otherwise.
    const std::string asked = font.face.empty() ? std::string("Arial") : font.face;
    QString family = QString::fromStdString(asked);
    if (!isInstalled(family)) {
        family = QString::fromStdString(twinFace(asked));
    }

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

    if (key.symbol) {
        // A symbol-encoded font keeps the exact widths the picture was laid out with; use it
        // only when it really is the face asked for, not a substitute Qt picked.
        const bool installed = isFamily(QFontInfo(resolved.font).family(), family);
        if (installed && hasAllGlyphs(resolved.raw, QStringLiteral("pDS\u00A5\u00F2"))) {
            resolved.encoding = Encoding::Latin1;
        } else if (installed &&
                   hasAllGlyphs(resolved.raw, QString(QChar(0xF070)) + QChar(0xF044))) {
            resolved.encoding = Encoding::SymbolPrivate;
        } else {
            // Decoded to Unicode and drawn from the serif twin, or a face that has the glyph.
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
    if (m_sized.size() >= kMaxSizedFonts) {
        m_sized.clear();  // the sizes in use now come back at once; stale ones stay gone
    }
    return m_sized.emplace(std::move(sizedKey), raw).first->second;
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

    // Characters, each with the offset of its first byte: a two-byte character owns two
    // entries of the spacing array.
    DecodedText decoded;
    switch (resolved.encoding) {
        case FontCache::Encoding::Latin1:
        case FontCache::Encoding::SymbolPrivate: {
            const char32_t base = resolved.encoding == FontCache::Encoding::Latin1 ? 0 : 0xF000;
            for (std::size_t i = 0; i < run.bytes.size(); ++i) {
                decoded.text.push_back(base + static_cast<std::uint8_t>(run.bytes[i]));
                decoded.byteOffsets.push_back(i);
            }
            break;
        }
        case FontCache::Encoding::Decoded:
            decoded = decodeFaceTextMapped(run.bytes, run.font.charSet, run.font.face);
            break;
    }
    const QString text =
        QString::fromUcs4(decoded.text.data(), static_cast<qsizetype>(decoded.text.size()));
    QList<quint32> glyphs = raw.glyphIndexesForString(text);
    if (glyphs.size() != static_cast<qsizetype>(decoded.text.size())) {
        // Characters outside the basic plane: one lookup per character.
        glyphs.clear();
        for (char32_t c : decoded.text) {
            glyphs.append(raw.glyphIndexesForString(QString::fromUcs4(&c, 1)).value(0));
        }
    }
    // The face's own advances are needed only past the end of the file's spacing array; asking
    // for them loads every glyph's metrics, so they are fetched once and only then.
    std::optional<QList<QPointF>> natural;
    const auto naturalAdvance = [&](std::size_t i) {
        if (!natural) {
            natural = raw.advancesForGlyphIndexes(glyphs);
        }
        return natural->value(static_cast<qsizetype>(i)).x();
    };

    // Characters the face lacks come from Qt's fallback faces, drawn at the reference size
    // and scaled, so small and fractional sizes keep their proportions.
    // Their metrics load a font engine of their own, so they are made only when a run needs them.
    QFont fallback = resolved.font;
    fallback.setStyleStrategy(QFont::PreferDefault);
    const double fallbackScale = em / kReferencePixels;
    std::optional<QFontMetricsF> fallbackMetrics;
    const auto fallbackAdvance = [&](const QString& characters) {
        if (!fallbackMetrics) {
            fallbackMetrics.emplace(fallback);
        }
        return fallbackMetrics->horizontalAdvance(characters) * fallbackScale;
    };

    // Hebrew and Arabic are stored in reading order: Qt's text layout puts them in display
    // order and joins the Arabic letters, as the system's renderer does; the run keeps its
    // natural width then.
    const bool rightToLeft = std::any_of(decoded.text.begin(), decoded.text.end(), [](char32_t c) {
        const QChar::Direction direction = QChar::direction(c);
        return direction == QChar::DirR || direction == QChar::DirAL;
    });

    // Pen positions: the dx array where the file has one, the font's own advances after it,
    // plus the character extra and the justification's share for each break character.
    std::vector<Placed> placed(rightToLeft ? 0 : decoded.text.size());
    double x = rightToLeft ? fallbackAdvance(text) : 0;
    const double perBreak = run.breakCount > 0 ? run.breakExtra / run.breakCount : 0;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const char32_t code = decoded.text[i];
        placed[i] = {code, glyphs.value(static_cast<qsizetype>(i)), x};
        const std::size_t first = decoded.byteOffsets[i];
        const std::size_t last =
            i + 1 < placed.size() ? decoded.byteOffsets[i + 1] : run.bytes.size();
        double advance = 0;
        if (first < run.advances.size()) {
            for (std::size_t b = first; b < last && b < run.advances.size(); ++b) {
                advance += run.advances[b];
            }
        } else if (placed[i].glyph != 0) {
            advance = naturalAdvance(i);
        } else {
            advance = fallbackAdvance(QString::fromUcs4(&code, 1));
        }
        advance += run.charExtra;
        if (code == U' ') {
            advance += perBreak;
        }
        x += advance;
    }
    const double width = x;

    m_painter.save();
    if (run.clipRect) {
        m_painter.setClipRect(toQRect(*run.clipRect), Qt::IntersectClip);
    }
    // Rotated text is laid out at the origin of a turned coordinate system.
    QPointF anchor(run.reference.x, run.reference.y);
    if (run.angle != 0) {
        m_painter.translate(anchor);
        m_painter.rotate(-run.angle);
        anchor = QPointF(0, 0);
    }
    double originX = anchor.x();
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
    double baseline = anchor.y();
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
    if (run.background && !run.opaqueRect) {
        m_painter.fillRect(QRectF(std::min(originX, originX + width), baseline - raw.ascent(),
                                  std::abs(width), raw.ascent() + raw.descent()),
                           toQColor(*run.background));
    }
    m_painter.setPen(toQColor(run.color));

    QList<quint32> present;
    QList<QPointF> presentPositions;
    m_painter.setFont(fallback);
    if (rightToLeft) {
        m_painter.save();
        m_painter.translate(originX, baseline);
        m_painter.scale(fallbackScale, fallbackScale);
        m_painter.drawText(QPointF(0, 0), text);
        m_painter.restore();
    }
    for (const Placed& p : placed) {
        if (p.glyph != 0) {
            present.append(p.glyph);
            presentPositions.append(QPointF(p.x, 0));
        } else if (!QChar::isSpace(p.code)) {
            m_painter.save();
            m_painter.translate(originX + p.x, baseline);
            m_painter.scale(fallbackScale, fallbackScale);
            m_painter.drawText(QPointF(0, 0), QString::fromUcs4(&p.code, 1));
            m_painter.restore();
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
