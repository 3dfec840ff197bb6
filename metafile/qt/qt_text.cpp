// Text for the QPainter canvas: faces resolved once and kept, bytes decoded by character set
// or symbol face, glyphs placed at the file's spacing, rotated by the escapement.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string_view>

#include "metafile/decode/font_faces.h"
#include "metafile/decode/text_decoding.h"
#include "metafile/format/wmf_format.h"
#include "metafile/qt/qt_canvas.h"
#include "platform/fonts/outline_face.h"

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

bool hasAllGlyphs(const TextFace& face, std::u32string_view text) {
    const QList<quint32> glyphs = face.glyphIndexes(text);
    return std::none_of(glyphs.begin(), glyphs.end(), [](quint32 g) { return g == 0; });
}

// The face at the reference size: its file drawn directly where the platform opens one (no font
// engine to make), else Qt's raw font of `font`.
TextFace referenceFace(const QFont& font, int weight) {
    if (std::unique_ptr<OutlineFace> outline =
            openOutlineFace(font.family(), weight, font.italic())) {
        return TextFace(std::shared_ptr<const OutlineFace>(std::move(outline)), kReferencePixels);
    }
    return TextFace(QRawFont::fromFont(font));
}

// Face names compared as Windows compares them for these ASCII names: case aside.
bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
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

bool TextFace::isValid() const {
    return m_outline != nullptr || m_raw.isValid();
}

double TextFace::pixelSize() const {
    return m_outline ? m_em : m_raw.pixelSize();
}

QString TextFace::familyName() const {
    return m_outline ? m_outline->familyName() : m_raw.familyName();
}

double TextFace::ascent() const {
    return m_outline ? m_outline->ascent() * m_em : m_raw.ascent();
}

double TextFace::descent() const {
    return m_outline ? m_outline->descent() * m_em : m_raw.descent();
}

double TextFace::underlinePosition() const {
    return m_outline ? m_outline->underlinePosition() * m_em : m_raw.underlinePosition();
}

double TextFace::lineThickness() const {
    // At least one unit, as Qt's engines give it.
    return m_outline ? std::max(1.0, m_outline->lineThickness() * m_em) : m_raw.lineThickness();
}

double TextFace::xHeight() const {
    return m_outline ? m_outline->xHeight() * m_em : m_raw.xHeight();
}

QList<quint32> TextFace::glyphIndexes(std::u32string_view text) const {
    QList<quint32> glyphs;
    if (m_outline) {
        glyphs.reserve(static_cast<qsizetype>(text.size()));
        for (char32_t c : text) {
            glyphs.append(m_outline->glyphIndex(c));
        }
        return glyphs;
    }
    glyphs = m_raw.glyphIndexesForString(
        QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())));
    if (glyphs.size() != static_cast<qsizetype>(text.size())) {
        // Characters outside the basic plane: one lookup per character.
        glyphs.clear();
        for (char32_t c : text) {
            glyphs.append(m_raw.glyphIndexesForString(QString::fromUcs4(&c, 1)).value(0));
        }
    }
    return glyphs;
}

QList<double> TextFace::advances(const QList<quint32>& glyphs) const {
    QList<double> result;
    result.reserve(glyphs.size());
    if (m_outline) {
        for (quint32 g : glyphs) {
            result.append(m_outline->advance(g) * m_em);
        }
    } else {
        for (const QPointF& a : m_raw.advancesForGlyphIndexes(glyphs)) {
            result.append(a.x());
        }
    }
    return result;
}

TextFace TextFace::withPixelSize(double em) const {
    if (m_outline) {
        return TextFace(m_outline, em);
    }
    QRawFont raw = m_raw;
    raw.setPixelSize(em);
    return TextFace(std::move(raw));
}

void TextFace::draw(QPainter& painter, QPointF origin, const QList<quint32>& glyphs,
                    const QList<QPointF>& positions, QColor color) const {
    if (m_outline) {
        m_outline->draw(painter, origin, std::span(glyphs.constData(), glyphs.size()),
                        std::span(positions.constData(), positions.size()), m_em, color);
        return;
    }
    QGlyphRun glyphRun;
    glyphRun.setRawFont(m_raw);
    glyphRun.setGlyphIndexes(glyphs);
    glyphRun.setPositions(positions);
    painter.save();
    painter.setPen(color);
    painter.drawGlyphRun(origin, glyphRun);
    painter.restore();
}

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
    resolved.face = referenceFace(resolved.font, qtWeight(font.weight));

    if (key.symbol) {
        // A symbol-encoded font keeps the exact widths the picture was laid out with; use it
        // only when it really is the face asked for, not a substitute Qt picked (a face file
        // opens only for the very family asked for).
        const bool installed = resolved.face.isOutline() ||
                               isFamily(QFontInfo(resolved.font).family(), family);
        if (installed && hasAllGlyphs(resolved.face, U"pDS\u00A5\u00F2")) {
            resolved.encoding = Encoding::Latin1;
        } else if (installed && hasAllGlyphs(resolved.face, U"\uF070\uF044")) {
            resolved.encoding = Encoding::SymbolPrivate;
        } else {
            // Decoded to Unicode and drawn from the serif twin, or a face that has the glyph.
            resolved.font = QFont(QString::fromUtf8(kSerifTwin.data(), kSerifTwin.size()));
            resolved.font.setPixelSize(kReferencePixels);
            resolved.font.setStyleStrategy(QFont::NoFontMerging);
            resolved.face = referenceFace(resolved.font, QFont::Normal);
        }
    }
    return m_fonts.emplace(std::move(key), std::move(resolved)).first->second;
}

TextFace FontCache::sized(const Font& font, double em) {
    const TextFace& reference = resolve(font).face;
    if (reference.isOutline()) {
        return reference.withPixelSize(em);  // a face file serves every size as it is
    }
    std::pair<Key, double> sizedKey{keyOf(font), em};
    if (auto it = m_sized.find(sizedKey); it != m_sized.end()) {
        return it->second;
    }
    TextFace sizedFace = reference.withPixelSize(em);
    if (m_sized.size() >= kMaxSizedFonts) {
        m_sized.clear();  // the sizes in use now come back at once; stale ones stay gone
    }
    return m_sized.emplace(std::move(sizedKey), std::move(sizedFace)).first->second;
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
    if (!resolved.face.isValid()) {
        return 0;
    }
    const double cell = (resolved.face.ascent() + resolved.face.descent()) / kReferencePixels;
    const double em = run.font.sizeIsCell && cell > 0 ? run.font.size / cell : run.font.size;
    if (!(em > kMinEm) || !std::isfinite(em)) {
        return 0;
    }
    const TextFace face = m_fonts.sized(run.font, em);

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
    const QList<quint32> glyphs = face.glyphIndexes(decoded.text);
    // The face's own advances are needed only past the end of the file's spacing array; asking
    // for them loads every glyph's metrics, so they are fetched once and only then.
    std::optional<QList<double>> natural;
    const auto naturalAdvance = [&](std::size_t i) {
        if (!natural) {
            natural = face.advances(glyphs);
        }
        return natural->value(static_cast<qsizetype>(i));
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
            baseline -= face.descent();
            break;
        default:  // top
            baseline += face.ascent();
            break;
    }
    if (run.background && !run.opaqueRect) {
        m_painter.fillRect(QRectF(std::min(originX, originX + width), baseline - face.ascent(),
                                  std::abs(width), face.ascent() + face.descent()),
                           toQColor(*run.background));
    }
    m_painter.setPen(toQColor(run.color));

    QList<quint32> present;
    QList<QPointF> presentPositions;
    if (rightToLeft) {
        m_painter.setFont(fallback);
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
            m_painter.setFont(fallback);
            m_painter.save();
            m_painter.translate(originX + p.x, baseline);
            m_painter.scale(fallbackScale, fallbackScale);
            m_painter.drawText(QPointF(0, 0), QString::fromUcs4(&p.code, 1));
            m_painter.restore();
        }
    }
    if (!present.isEmpty()) {
        face.draw(m_painter, QPointF(originX, baseline), present, presentPositions,
                  toQColor(run.color));
    }
    const double thickness = std::max(face.lineThickness(), em / 20);
    if (run.font.underline) {
        m_painter.fillRect(QRectF(originX, baseline + face.underlinePosition(), width, thickness),
                           toQColor(run.color));
    }
    if (run.font.strikeOut) {
        m_painter.fillRect(QRectF(originX, baseline - face.xHeight() / 2, width, thickness),
                           toQColor(run.color));
    }
    m_painter.restore();
    return width;
}

}  // namespace quintrel::wmf
