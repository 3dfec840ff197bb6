// Outline faces where fontconfig lists the system's fonts: the file is found in the font set
// fontconfig has loaded already (the toolkit loads it for its own font list), and read and
// rasterised with FreeType.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_TYPE1_TABLES_H

#include <dlfcn.h>

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <compare>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/fonts/outline_face.h"

namespace quintrel {

namespace {

// Glyphs up to this many device pixels to the em are rasterised by FreeType; larger ones are
// filled as paths by the painter, as Qt does with large text, so no glyph bitmap is ever larger
// than about this square.
constexpr double kLargestBitmapEm = 512;
// Glyphs up to this many device pixels to the em are kept once rendered, up to about
// kGlyphCacheBytes of them; larger ones are rendered each time they are drawn.
constexpr double kLargestCachedEm = 64;
constexpr std::size_t kGlyphCacheBytes = 4 << 20;
// Pen positions this far out (device pixels) are not drawn: nothing of their glyphs can show.
constexpr double kFarthest = 1 << 24;
// Smaller than this (device pixels to the em) nothing of a glyph can be seen.
constexpr double kSmallestEm = 1.0 / 16;
// OS/2 fsSelection: the typographic ascender and descender are the line metrics.
constexpr FT_UShort kUseTypoMetrics = 0x80;

// FreeType and fontconfig as the toolkit has loaded them, their functions looked up once. They
// are not linked: a library the program names itself comes first in the dynamic loader's search
// order, and each of the twelve thousand symbols looked up at start-up would be looked for in
// these two first (0.9 M instructions, 1 % of start-up). Without them no face opens.
#define QUINTREL_FREETYPE_FUNCTIONS(F) F(FT_Init_FreeType) F(FT_Done_FreeType) F(FT_New_Face) F(FT_Done_Face) F(FT_Set_Charmap) F(FT_Get_Char_Index) F(FT_Get_PS_Font_Info) F(FT_Get_Sfnt_Table) F(FT_Load_Sfnt_Table) F(FT_Get_Advance) F(FT_Load_Glyph) F(FT_Outline_Transform) F(FT_Outline_Translate) F(FT_Outline_Get_CBox) F(FT_Outline_Decompose) F(FT_Render_Glyph)
#define QUINTREL_FONTCONFIG_FUNCTIONS(F) F(FcConfigGetFonts) F(FcPatternGetString) F(FcPatternGetBool) F(FcPatternGetInteger) F(FcPatternGetDouble) F(FcWeightToOpenTypeDouble)

struct Library {
#define QUINTREL_POINTER(name) decltype(&::name) name = nullptr;
    QUINTREL_FREETYPE_FUNCTIONS(QUINTREL_POINTER)
    QUINTREL_FONTCONFIG_FUNCTIONS(QUINTREL_POINTER)
#undef QUINTREL_POINTER
};

std::optional<Library> loadLibrary() {
    // Kept open for the program's life, as the toolkit keeps them.
    void* freetype = dlopen("libfreetype.so.6", RTLD_LAZY | RTLD_LOCAL);
    void* fontconfig = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (freetype == nullptr || fontconfig == nullptr) {
        return std::nullopt;
    }
    Library library;
    bool complete = true;
#define QUINTREL_LOOK_UP(from, name)                                               \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(from, #name)); \
    complete = complete && library.name != nullptr;
#define QUINTREL_FROM_FREETYPE(name) QUINTREL_LOOK_UP(freetype, name)
#define QUINTREL_FROM_FONTCONFIG(name) QUINTREL_LOOK_UP(fontconfig, name)
    QUINTREL_FREETYPE_FUNCTIONS(QUINTREL_FROM_FREETYPE)
    QUINTREL_FONTCONFIG_FUNCTIONS(QUINTREL_FROM_FONTCONFIG)
#undef QUINTREL_FROM_FONTCONFIG
#undef QUINTREL_FROM_FREETYPE
#undef QUINTREL_LOOK_UP
    return complete ? std::optional<Library>(library) : std::nullopt;
}

// Null when the libraries or one of the functions are missing.
const Library* loadedLibrary() {
    static const std::optional<Library> library = loadLibrary();
    return library ? &*library : nullptr;
}

// Only reached once loadedLibrary() answered.
const Library& lib() {
    return *loadedLibrary();
}

// One FreeType library for every face open, released with the last of them.
std::shared_ptr<FT_LibraryRec_> sharedLibrary() {
    static std::weak_ptr<FT_LibraryRec_> shared;
    if (std::shared_ptr<FT_LibraryRec_> library = shared.lock()) {
        return library;
    }
    FT_Library raw = nullptr;
    if (lib().FT_Init_FreeType(&raw) != 0) {
        return nullptr;
    }
    std::shared_ptr<FT_LibraryRec_> library(raw, [](FT_Library l) { lib().FT_Done_FreeType(l); });
    shared = library;
    return library;
}

struct FaceFile {
    std::string path;
    int index = 0;
};

bool hasFamily(FcPattern* pattern, const QString& family, const QByteArray& ascii) {
    FcChar8* name = nullptr;
    for (int n = 0; lib().FcPatternGetString(pattern, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
        const char* text = reinterpret_cast<const char*>(name);
        // Most names are ASCII: compared as bytes, case aside, before any is decoded.
        if (!ascii.isEmpty() ? qstricmp(text, ascii.constData()) == 0
                             : QString::fromUtf8(text).compare(family, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

// The scalable TrueType or CFF file of `family` at the slant asked for and the weight nearest
// to `weight`, when that is within the same hundred; none otherwise (the toolkit would then
// pick another weight or synthesize one).
std::optional<FaceFile> findFaceFile(const QString& family, int weight, bool italic) {
    std::optional<FaceFile> best;
    double bestGap = 100;
    bool bestTrueType = false;
    const QByteArray utf8 = family.toUtf8();
    const bool isAscii = std::all_of(utf8.begin(), utf8.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const QByteArray ascii = isAscii ? utf8 : QByteArray();
    for (FcSetName which : {FcSetSystem, FcSetApplication}) {
        FcFontSet* set = lib().FcConfigGetFonts(nullptr, which);
        for (int i = 0; set != nullptr && i < set->nfont; ++i) {
            FcPattern* pattern = set->fonts[i];
            FcBool outline = FcFalse;
            FcBool variable = FcFalse;
            FcChar8* format = nullptr;
            FcChar8* file = nullptr;
            int index = 0;
            int slant = FC_SLANT_ROMAN;
            double fcWeight = FC_WEIGHT_REGULAR;
            if (!hasFamily(pattern, family, ascii) ||
                lib().FcPatternGetBool(pattern, FC_OUTLINE, 0, &outline) != FcResultMatch || !outline ||
                (lib().FcPatternGetBool(pattern, FC_VARIABLE, 0, &variable) == FcResultMatch &&
                 variable) ||
                lib().FcPatternGetString(pattern, FC_FONTFORMAT, 0, &format) != FcResultMatch ||
                lib().FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch ||
                lib().FcPatternGetInteger(pattern, FC_INDEX, 0, &index) != FcResultMatch) {
                continue;
            }
            const std::string_view kind(reinterpret_cast<const char*>(format));
            if (kind != "TrueType" && kind != "CFF") {
                continue;
            }
            lib().FcPatternGetInteger(pattern, FC_SLANT, 0, &slant);
            if ((slant != FC_SLANT_ROMAN) != italic) {
                continue;
            }
            lib().FcPatternGetDouble(pattern, FC_WEIGHT, 0, &fcWeight);
            const double gap = std::abs(lib().FcWeightToOpenTypeDouble(fcWeight) - weight);
            const bool trueType = kind == "TrueType";
            if (gap < bestGap || (best && gap == bestGap && trueType && !bestTrueType)) {
                best = FaceFile{reinterpret_cast<const char*>(file), index};
                bestGap = gap;
                bestTrueType = trueType;
            }
        }
    }
    return best;
}

bool hasTable(FT_Face face, FT_ULong tag) {
    FT_ULong length = 0;
    return lib().FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) == 0 && length > 0;
}

// Outline callbacks that build a painter path in painter units.
struct PathBuilder {
    QPainterPath* path;
    QPointF origin;
    double scale;  // painter units per font unit
    QPointF at(const FT_Vector* v) const {
        return origin + QPointF(v->x * scale, -v->y * scale);
    }
};

const FT_Outline_Funcs kPathFuncs = {
    [](const FT_Vector* to, void* user) {
        auto* b = static_cast<PathBuilder*>(user);
        b->path->closeSubpath();
        b->path->moveTo(b->at(to));
        return 0;
    },
    [](const FT_Vector* to, void* user) {
        auto* b = static_cast<PathBuilder*>(user);
        b->path->lineTo(b->at(to));
        return 0;
    },
    [](const FT_Vector* control, const FT_Vector* to, void* user) {
        auto* b = static_cast<PathBuilder*>(user);
        b->path->quadTo(b->at(control), b->at(to));
        return 0;
    },
    [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* b = static_cast<PathBuilder*>(user);
        b->path->cubicTo(b->at(c1), b->at(c2), b->at(to));
        return 0;
    },
    0,
    0,
};

// A rendered glyph's coverage, its top-left pixel `offset` from the whole pixel its pen
// position falls in.
struct GlyphImage {
    QPoint offset;
    int width = 0;
    int rows = 0;
    std::vector<unsigned char> alpha;
};

// What a rendered glyph depends on: the glyph, the font-units-to-device matrix (size, the
// painter's scale and turn) and the pen's fraction of a pixel, in quarters as the toolkit's
// glyph cache keeps it.
struct GlyphKey {
    quint32 glyph;
    FT_Fixed xx, xy, yx, yy;
    int quarterX, quarterY;
    auto operator<=>(const GlyphKey&) const = default;
};

// A glyph of the run, with the device pixel its pen position falls in.
struct PlacedGlyph {
    const GlyphImage* image;
    QPoint whole;
};

class FreeTypeFace final : public OutlineFace {
  public:
    FreeTypeFace(std::shared_ptr<FT_LibraryRec_> library, FT_Face face, const QString& family)
        : m_library(std::move(library)), m_face(face) {
        for (int i = 0; i < face->num_charmaps; ++i) {
            FT_CharMap map = face->charmaps[i];
            switch (map->encoding) {
                case FT_ENCODING_UNICODE:
                    m_unicodeMap = map;
                    break;
                case FT_ENCODING_APPLE_ROMAN:
                case FT_ENCODING_ADOBE_LATIN_1:
                    if (m_unicodeMap == nullptr || m_unicodeMap->encoding != FT_ENCODING_UNICODE) {
                        m_unicodeMap = map;
                    }
                    break;
                case FT_ENCODING_ADOBE_CUSTOM:
                case FT_ENCODING_MS_SYMBOL:
                    if (m_symbolMap == nullptr) {
                        m_symbolMap = map;
                    }
                    break;
                default:
                    break;
            }
        }
        lib().FT_Set_Charmap(face, m_unicodeMap);
        // A PostScript face with a custom encoding is a symbol face only by its name.
        m_symbol = m_symbolMap != nullptr;
        PS_FontInfoRec info;
        if (lib().FT_Get_PS_Font_Info(face, &info) == 0) {
            m_symbol = family.contains(QLatin1String("symbol"), Qt::CaseInsensitive);
        }
        readMetrics();
    }

    ~FreeTypeFace() override { lib().FT_Done_Face(m_face); }
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;

    QString familyName() const override { return QString::fromUtf8(m_face->family_name); }
    double ascent() const override { return m_ascent; }
    double descent() const override { return m_descent; }
    double underlinePosition() const override { return m_underlinePosition; }
    double lineThickness() const override { return m_lineThickness; }
    double xHeight() const override { return m_xHeight; }

    quint32 glyphIndex(char32_t code) const override {
        FT_ULong c = code;
        FT_UInt glyph = lib().FT_Get_Char_Index(m_face, c);
        if (glyph == 0 && (c == 0xA0 || c == 0x09)) {
            c = 0x20;  // no-break space and tab show as a space where the face has neither
            glyph = lib().FT_Get_Char_Index(m_face, c);
        }
        if (glyph == 0 && m_symbolMap != nullptr) {
            lib().FT_Set_Charmap(m_face, m_symbolMap);
            glyph = lib().FT_Get_Char_Index(m_face, c);
            lib().FT_Set_Charmap(m_face, m_unicodeMap);
            if (glyph == 0 && m_symbol && c < 0x100) {
                glyph = lib().FT_Get_Char_Index(m_face, c + 0xF000);
            }
        }
        return glyph;
    }

    double advance(quint32 glyph) const override {
        FT_Fixed units = 0;
        if (lib().FT_Get_Advance(m_face, glyph, FT_LOAD_NO_SCALE, &units) != 0) {
            return 0;
        }
        return static_cast<double>(units) / m_face->units_per_EM;
    }

    void draw(QPainter& painter, QPointF origin, std::span<const quint32> glyphs,
              std::span<const QPointF> positions, double em, QColor color) const override {
        const QTransform device = painter.deviceTransform();
        // The em's size on the device, and its longest side there when the painter stretches
        // or shears it.
        const double pixels = em * std::sqrt(std::abs(device.determinant()));
        const double longest = em * std::max(std::hypot(device.m11(), device.m12()),
                                             std::hypot(device.m21(), device.m22()));
        if (!(pixels >= kSmallestEm) || !std::isfinite(longest)) {
            return;
        }
        const std::size_t count = std::min(glyphs.size(), positions.size());
        if (longest > kLargestBitmapEm) {
            fillAsPaths(painter, origin, glyphs.first(count), positions.first(count), em, color);
            return;
        }
        // Font units (y up) to 26.6 device pixels (y up): the painter's linear part, flipped.
        const double k = 64.0 * 65536.0 * em / m_face->units_per_EM;
        const FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(k * device.m11())),
                               static_cast<FT_Fixed>(std::lround(-k * device.m21())),
                               static_cast<FT_Fixed>(std::lround(-k * device.m12())),
                               static_cast<FT_Fixed>(std::lround(k * device.m22()))};
        // Upright text sits on whole pixel rows, as the toolkit's glyph cache places it.
        const bool upright = device.m12() == 0 && device.m21() == 0;
        const bool keep = longest <= kLargestCachedEm;
        if (m_glyphBytes > kGlyphCacheBytes) {
            m_glyphs.clear();
            m_glyphBytes = 0;
        }
        const QRect visible = deviceRect(painter);
        std::vector<PlacedGlyph> placed;
        std::vector<GlyphImage> uncached;  // glyphs too large to keep, drawn once
        uncached.reserve(keep ? 0 : count);
        placed.reserve(count);
        QRect bounds;
        for (std::size_t i = 0; i < count; ++i) {
            const QPointF at = device.map(origin + positions[i]);
            if (!(std::abs(at.x()) < kFarthest) || !(std::abs(at.y()) < kFarthest)) {
                continue;  // also NaN: nothing of it can reach the device
            }
            const double x = std::floor(at.x() * 4 + 0.5) / 4;
            const double y = upright ? std::floor(at.y() + 0.5) : std::floor(at.y() * 4 + 0.5) / 4;
            const QPoint whole(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
            const GlyphKey key{glyphs[i], matrix.xx, matrix.xy, matrix.yx, matrix.yy,
                               static_cast<int>((x - whole.x()) * 4),
                               static_cast<int>((y - whole.y()) * 4)};
            const GlyphImage* image = nullptr;
            if (auto it = m_glyphs.find(key); it != m_glyphs.end()) {
                image = &it->second;
            } else if (std::optional<GlyphImage> made = rasterize(key, whole, visible)) {
                if (keep) {
                    m_glyphBytes += made->alpha.size() + sizeof(GlyphImage) + sizeof(GlyphKey);
                    image = &m_glyphs.emplace(key, std::move(*made)).first->second;
                } else {
                    image = &uncached.emplace_back(std::move(*made));
                }
            }
            if (image != nullptr && image->width > 0) {
                bounds |= QRect(whole + image->offset, QSize(image->width, image->rows));
                placed.push_back({image, whole});
            }
        }
        bounds &= visible;
        if (bounds.isEmpty()) {
            return;
        }
        // Glyphs of one colour laid over each other as source-over draws them one by one.
        std::vector<unsigned char> run(static_cast<std::size_t>(bounds.width()) * bounds.height());
        for (const PlacedGlyph& g : placed) {
            const QPoint topLeft = g.whole + g.image->offset;
            const QRect part = QRect(topLeft, QSize(g.image->width, g.image->rows)) & bounds;
            for (int y = part.top(); y <= part.bottom(); ++y) {
                const unsigned char* from =
                    g.image->alpha.data() +
                    static_cast<std::size_t>(y - topLeft.y()) * g.image->width +
                    (part.left() - topLeft.x());
                unsigned char* to = run.data() +
                                    static_cast<std::size_t>(y - bounds.top()) * bounds.width() +
                                    (part.left() - bounds.left());
                for (int x = 0; x < part.width(); ++x) {
                    to[x] = static_cast<unsigned char>(from[x] + to[x] * (255 - from[x]) / 255);
                }
            }
        }
        QImage image(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) {
            return;  // out of memory: the run is not drawn
        }
        const std::array<QRgb, 256>& shade = shades(color.rgba());
        for (int y = 0; y < bounds.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            const unsigned char* from = run.data() + static_cast<std::size_t>(y) * bounds.width();
            for (int x = 0; x < bounds.width(); ++x) {
                line[x] = shade[from[x]];
            }
        }
        // In device pixels: undo whatever lies between the world and the device (the
        // device pixel ratio, a window and viewport).
        const QTransform world = painter.worldTransform();
        painter.setWorldTransform((world.inverted() * device).inverted());
        painter.drawImage(bounds.topLeft(), image);
        painter.setWorldTransform(world);
    }

  private:
    void readMetrics() {
        const double units = m_face->units_per_EM;
        m_ascent = m_face->ascender / units;
        m_descent = -m_face->descender / units;
        // The system's cell: the horizontal header, overridden by the OS/2 table's Windows
        // (or, when the face asks for them, typographic) ascender and descender.
        const auto* hhea = static_cast<const TT_HoriHeader*>(lib().FT_Get_Sfnt_Table(m_face, FT_SFNT_HHEA));
        if (hhea != nullptr && (hhea->Ascender != 0 || hhea->Descender != 0)) {
            m_ascent = hhea->Ascender / units;
            m_descent = -hhea->Descender / units;
        }
        const auto* os2 = static_cast<const TT_OS2*>(lib().FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
        if (os2 != nullptr && os2->version != 0xFFFF) {
            if ((os2->fsSelection & kUseTypoMetrics) != 0) {
                if (os2->sTypoAscender != 0 || os2->sTypoDescender != 0) {
                    m_ascent = os2->sTypoAscender / units;
                    m_descent = -os2->sTypoDescender / units;
                }
            } else if (os2->usWinAscent != 0 || os2->usWinDescent != 0) {
                m_ascent = os2->usWinAscent / units;
                m_descent = os2->usWinDescent / units;
            }
        }
        m_lineThickness = m_face->underline_thickness / units;
        m_underlinePosition = -m_face->underline_position / units - m_lineThickness / 2;
        if (os2 != nullptr && os2->version != 0xFFFF && os2->version >= 2 && os2->sxHeight != 0) {
            m_xHeight = os2->sxHeight / units;
        } else if (const FT_UInt x = lib().FT_Get_Char_Index(m_face, 'x');
                   x != 0 && lib().FT_Load_Glyph(m_face, x, FT_LOAD_NO_SCALE) == 0) {
            m_xHeight = m_face->glyph->metrics.horiBearingY / units;
        }
    }

    // The premultiplied pixel of `rgba` at each coverage; runs mostly share one colour.
    const std::array<QRgb, 256>& shades(QRgb rgba) const {
        if (!m_shadeValid || m_shadeColor != rgba) {
            for (int a = 0; a < 256; ++a) {
                const int alpha = a * qAlpha(rgba) / 255;
                m_shade[a] = qRgba(qRed(rgba) * alpha / 255, qGreen(rgba) * alpha / 255,
                                   qBlue(rgba) * alpha / 255, alpha);
            }
            m_shadeColor = rgba;
            m_shadeValid = true;
        }
        return m_shade;
    }

    // The device pixels the painter can reach: its device's rectangle, through what lies between
    // the painter's world and the device (a widget's place in its window, the pixel ratio).
    static QRect deviceRect(const QPainter& painter) {
        const QPaintDevice* target = painter.device();
        if (target == nullptr) {
            return {};
        }
        // Widgets count in device-independent pixels, images and pixmaps in their own.
        QSizeF size(target->width(), target->height());
        if (target->devType() != QInternal::Widget) {
            size /= target->devicePixelRatio();
        }
        const QTransform worldToDevice =
            painter.worldTransform().inverted() * painter.deviceTransform();
        return worldToDevice.mapRect(QRectF(QPointF(0, 0), size)).toAlignedRect();
    }

    // The glyph of `key` rendered with its pen at `whole` plus the key's quarters of a pixel;
    // an empty image for a glyph without ink, none when it cannot be loaded or would fall
    // wholly outside `visible`.
    std::optional<GlyphImage> rasterize(const GlyphKey& key, QPoint whole,
                                        const QRect& visible) const {
        if (lib().FT_Load_Glyph(m_face, key.glyph, FT_LOAD_NO_SCALE) != 0 ||
            m_face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
            return std::nullopt;
        }
        FT_Outline* outline = &m_face->glyph->outline;
        FT_Matrix matrix{key.xx, key.xy, key.yx, key.yy};
        lib().FT_Outline_Transform(outline, &matrix);
        lib().FT_Outline_Translate(outline, key.quarterX * 16, -key.quarterY * 16);
        FT_BBox box;
        lib().FT_Outline_Get_CBox(outline, &box);
        const QRect reach(QPoint(whole.x() + static_cast<int>(box.xMin >> 6) - 1,
                                 whole.y() - static_cast<int>(box.yMax >> 6) - 1),
                          QPoint(whole.x() + static_cast<int>(box.xMax >> 6) + 1,
                                 whole.y() - static_cast<int>(box.yMin >> 6) + 1));
        if (!reach.intersects(visible)) {
            return std::nullopt;
        }
        GlyphImage image;
        if (outline->n_points == 0) {
            return image;  // a space
        }
        if (lib().FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            return std::nullopt;
        }
        const FT_Bitmap& bitmap = m_face->glyph->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) {
            return image;
        }
        image.offset = QPoint(m_face->glyph->bitmap_left, -m_face->glyph->bitmap_top);
        image.width = static_cast<int>(bitmap.width);
        image.rows = static_cast<int>(bitmap.rows);
        image.alpha.resize(static_cast<std::size_t>(image.width) * image.rows);
        const int pitch = bitmap.pitch;
        for (int row = 0; row < image.rows; ++row) {
            const unsigned char* from =
                pitch >= 0 ? bitmap.buffer + static_cast<std::ptrdiff_t>(row) * pitch
                           : bitmap.buffer + static_cast<std::ptrdiff_t>(image.rows - 1 - row) * -pitch;
            std::copy(from, from + image.width,
                      image.alpha.begin() + static_cast<std::ptrdiff_t>(row) * image.width);
        }
        return image;
    }

    void fillAsPaths(QPainter& painter, QPointF origin, std::span<const quint32> glyphs,
                     std::span<const QPointF> positions, double em, QColor color) const {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            if (lib().FT_Load_Glyph(m_face, glyphs[i], FT_LOAD_NO_SCALE) != 0 ||
                m_face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
                continue;
            }
            PathBuilder builder{&path, origin + positions[i], em / m_face->units_per_EM};
            lib().FT_Outline_Decompose(&m_face->glyph->outline, &kPathFuncs, &builder);
            path.closeSubpath();
        }
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(path, color);
        painter.restore();
    }

    std::shared_ptr<FT_LibraryRec_> m_library;
    FT_Face m_face;
    FT_CharMap m_unicodeMap = nullptr;
    FT_CharMap m_symbolMap = nullptr;
    bool m_symbol = false;
    double m_ascent = 0;
    double m_descent = 0;
    double m_underlinePosition = 0;
    double m_lineThickness = 0;
    double m_xHeight = 0;
    // Rendered glyphs, for the repeats within a picture and the pictures after it.
    mutable std::map<GlyphKey, GlyphImage> m_glyphs;
    mutable std::size_t m_glyphBytes = 0;
    mutable std::array<QRgb, 256> m_shade{};
    mutable QRgb m_shadeColor = 0;
    mutable bool m_shadeValid = false;
};

}  // namespace

std::unique_ptr<OutlineFace> openOutlineFace(const QString& family, int weight, bool italic) {
    if (loadedLibrary() == nullptr) {
        return nullptr;
    }
    const std::optional<FaceFile> file = findFaceFile(family, weight, italic);
    if (!file) {
        return nullptr;
    }
    std::shared_ptr<FT_LibraryRec_> library = sharedLibrary();
    FT_Face face = nullptr;
    if (!library || lib().FT_New_Face(library.get(), file->path.c_str(), file->index, &face) != 0) {
        return nullptr;
    }
    // Only what the toolkit would draw unchanged: a scalable face with no bitmaps of its own
    // (they come with metrics of their own), bold and italic by design, not synthesized; and
    // none whose outlines need its hinting program to be put together (a "tricky" face).
    const auto* os2 = static_cast<const TT_OS2*>(lib().FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ||
                      (os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass >= 700);
    if (!FT_IS_SFNT(face) || !FT_IS_SCALABLE(face) || FT_IS_TRICKY(face) ||
        face->units_per_EM == 0 ||
        hasTable(face, TTAG_EBLC) || hasTable(face, TTAG_CBLC) || hasTable(face, TTAG_bdat) ||
        (weight >= 700 && !bold) ||
        (italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0)) {
        lib().FT_Done_Face(face);
        return nullptr;
    }
    return std::make_unique<FreeTypeFace>(std::move(library), face, family);
}

}  // namespace quintrel
