// The QPainter player: fitting a picture, the symbol faces, the font cache and mutated pictures;
// and the widths the generator lays out with against the fonts the pictures are drawn in.
#include "metafile/qt/wmf_painter.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <random>

#include "metafile/format/wmf_writer.h"
#include "metafile/player/wmf_frame.h"
#include "metafile/qt/qt_canvas.h"
#include "platform/fonts/outline_face.h"
#include "tests/metafile/qt/picture_checks.h"
#include "tools/font_widths.h"

namespace quintrel {
namespace {

wmf::Metafile validPicture(const std::vector<std::uint8_t>& bytes) {
    wmf::ReadResult result = wmf::readPicture(bytes);
    EXPECT_TRUE(result.ok());
    return std::move(result.metafile);
}

QImage render(const wmf::Metafile& metafile, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    wmf::drawMetafile(painter, metafile, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

TEST(WmfPainter, FittedRectKeepsTheAspectRatio) {
    const wmf::Metafile m = validPicture(fileBytes(dataPicture(3)));
    const QRectF wide = wmf::fittedRect(m, QRectF(0, 0, 1000, 100));
    EXPECT_DOUBLE_EQ(wide.height(), 100);
    EXPECT_DOUBLE_EQ(wide.width(), 250);
    EXPECT_DOUBLE_EQ(wide.left(), 375);
    const QRectF tall = wmf::fittedRect(m, QRectF(10, 10, 100, 1000));
    EXPECT_DOUBLE_EQ(tall.width(), 100);
    EXPECT_DOUBLE_EQ(tall.height(), 40);
    EXPECT_DOUBLE_EQ(tall.top(), 490);
}

TEST(WmfPainter, SymbolTextUsesTheSymbolFontsOwnGlyphs) {
    // "p" in a SYMBOL_CHARSET font is π: drawn from Standard Symbols PS it must look like
    // that font's π, not like a Latin p.
    auto picture = [](std::uint8_t charSet, const char* face) {
        wmf::MetafileWriter writer({0, 0, 400, 400}, 1440);
        wmf::LogFont font;
        font.height = -300;
        font.charSet = charSet;
        font.faceName = face;
        writer.selectObject(writer.createFont(font));
        writer.setTextAlign(wmf::kTaBaseline);
        writer.textOut(50, 300, "p");
        return validPicture(writer.finish());
    };
    const QImage symbol = render(picture(wmf::kSymbolCharset, "Symbol"), QSize(400, 400));
    const QImage latin = render(picture(wmf::kAnsiCharset, "Times New Roman"), QSize(400, 400));
    // Without a Symbol-encoded face the bytes go through the Adobe Symbol table to Unicode.
    const QImage mapped =
        render(picture(wmf::kSymbolCharset, "No Such Symbol Face"), QSize(400, 400));
    // The Latin p has a descender; π sits on the baseline (y = 300).
    EXPECT_LE(inkBounds(symbol).bottom(), 305);
    EXPECT_LE(inkBounds(mapped).bottom(), 308);
    EXPECT_GT(inkBounds(latin).bottom(), 330);
    // And it is exactly the glyph of the Symbol-encoded face at the byte's code point.
    QFont reference(QStringLiteral("Standard Symbols PS"));
    reference.setPixelSize(300);
    QImage expected(400, 400, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        QRawFont raw = QRawFont::fromFont(reference);
        raw.setPixelSize(300);
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(raw.glyphIndexesForString(QStringLiteral("p")));
        run.setPositions({QPointF(0, 0)});
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::black);
        painter.drawGlyphRun(QPointF(50, 300), run);
    }
    const QRect a = inkBounds(symbol);
    const QRect b = inkBounds(expected);
    EXPECT_LE(std::abs(a.left() - b.left()), 1);
    EXPECT_LE(std::abs(a.width() - b.width()), 1);
    EXPECT_LE(std::abs(a.height() - b.height()), 1);
}

// The compiled-in widths the generator lays out with must be the widths of the glyphs the painter
// draws for the pictures' faces: the faces themselves where the system has them, else their twins.
TEST(FormulaFonts, WidthTablesMatchTheFacesDrawn) {
    struct Face {
        const char* face;  // as the pictures name it
        int weight;
        bool italic;
        const char* twin;
        int unitsPerEm;
        const std::uint16_t* widths;
        int first;
        int count;
    };
    const Face faces[] = {
        {"Arial", 700, false, "Liberation Sans", 2048,
         formula_pictures::kLiberationSansBoldWidths.data(), 0x20, 95},
        {"Times New Roman", 400, false, "Liberation Serif", 2048,
         formula_pictures::kLiberationSerifRegularWidths.data(), 0x20, 95},
        {"Times New Roman", 400, true, "Liberation Serif", 2048,
         formula_pictures::kLiberationSerifItalicWidths.data(), 0x20, 95},
        {"Symbol", 400, false, "Standard Symbols PS", 1000,
         formula_pictures::kStandardSymbolsWidths.data(), 0x20, 223},
    };
    wmf::FontCache cache;
    for (const Face& face : faces) {
        wmf::Font font;
        font.face = face.face;
        font.weight = face.weight;
        font.italic = face.italic;
        font.charSet = face.face == std::string_view("Symbol") ? wmf::kSymbolCharset : 0;
        const wmf::FontCache::ResolvedFont& resolved = cache.resolve(font);
        ASSERT_TRUE(resolved.face.isValid()) << face.face;
        const QString family = resolved.face.familyName();
        ASSERT_TRUE(family.startsWith(QLatin1String(face.face)) ||
                    family.startsWith(QLatin1String(face.twin)))
            << face.face << " drawn as " << family.toStdString();
        const wmf::TextFace raw = resolved.face.withPixelSize(face.unitsPerEm);
        // A symbol face's bytes are looked up as the painter does: as they stand, or in the
        // face's private area at 0xF000.
        const char32_t base =
            resolved.encoding == wmf::FontCache::Encoding::SymbolPrivate ? 0xF000 : 0;
        int checked = 0;
        for (int i = 0; i < face.count; ++i) {
            const char32_t code = base + static_cast<char32_t>(face.first + i);
            const QList<quint32> glyphs = raw.glyphIndexes(std::u32string(1, code));
            if (face.widths[i] == 0 || glyphs.value(0) == 0) {
                continue;  // no glyph at this code in either
            }
            const double advance = raw.advances(glyphs).value(0);
            EXPECT_NEAR(advance, face.widths[i], 0.5) << face.face << " code " << face.first + i;
            ++checked;
        }
        EXPECT_GT(checked, 90) << face.face;
    }
}

#ifndef _WIN32
// A face read from its file keeps the metrics Qt's engine gives the same face (the pictures'
// layout must not move) and draws its glyphs where Qt draws them, as bitmaps at text sizes and
// as filled outlines at large ones. (Windows keeps no face files for the pictures: Qt's own
// fonts draw their text there.)
TEST(FaceFiles, DrawAndMeasureAsQtDoes) {
    struct Face {
        const char* family;
        int weight;
        bool italic;
    };
    const Face faces[] = {{"Liberation Sans", 700, false},
                          {"Liberation Serif", 400, false},
                          {"Liberation Serif", 400, true},
                          {"Standard Symbols PS", 400, false}};
    for (const Face& face : faces) {
        std::unique_ptr<OutlineFace> outline =
            openOutlineFace(QString::fromLatin1(face.family), face.weight, face.italic);
        ASSERT_TRUE(outline) << face.family;
        QFont font(QString::fromLatin1(face.family));
        font.setPixelSize(256);
        font.setWeight(static_cast<QFont::Weight>(face.weight));
        font.setItalic(face.italic);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setStyleStrategy(QFont::NoFontMerging);
        QRawFont raw = QRawFont::fromFont(font);
        ASSERT_TRUE(raw.isValid()) << face.family;
        EXPECT_NEAR(outline->ascent() * 256, raw.ascent(), 0.05) << face.family;
        EXPECT_NEAR(outline->descent() * 256, raw.descent(), 0.05) << face.family;
        EXPECT_NEAR(outline->xHeight() * 256, raw.xHeight(), 0.5) << face.family;

        const QString text = QStringLiteral("Hgp");
        QList<quint32> glyphs;
        for (QChar c : text) {
            glyphs.append(outline->glyphIndex(c.unicode()));
        }
        EXPECT_EQ(glyphs, raw.glyphIndexesForString(text)) << face.family;
        for (const double em : {24.0, 700.0}) {
            raw.setPixelSize(em);
            QList<QPointF> positions;
            double x = 0;
            for (quint32 g : glyphs) {
                positions.append(QPointF(x, 0));
                x += outline->advance(g) * em;
            }
            double qtWidth = 0;
            for (const QPointF& advance : raw.advancesForGlyphIndexes(glyphs)) {
                qtWidth += advance.x();
            }
            EXPECT_NEAR(x, qtWidth, 0.1 * em / 24);
            const QSize size(static_cast<int>(2.5 * em), static_cast<int>(1.6 * em));
            const QPointF origin(0.1 * em, 1.1 * em);
            QImage ours(size, QImage::Format_RGB32);
            ours.fill(Qt::white);
            {
                QPainter painter(&ours);
                outline->draw(painter, origin, std::span(glyphs.constData(), glyphs.size()),
                              std::span(positions.constData(), positions.size()), em, Qt::black);
            }
            QImage qts(size, QImage::Format_RGB32);
            qts.fill(Qt::white);
            {
                QPainter painter(&qts);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(Qt::black);
                QGlyphRun run;
                run.setRawFont(raw);
                run.setGlyphIndexes(glyphs);
                run.setPositions(positions);
                painter.drawGlyphRun(origin, run);
            }
            const QRect a = inkBounds(ours);
            const QRect b = inkBounds(qts);
            ASSERT_FALSE(a.isEmpty()) << face.family << " at " << em;
            const int slack = 1 + static_cast<int>(em / 200);
            EXPECT_NEAR(a.left(), b.left(), slack) << face.family << " at " << em;
            EXPECT_NEAR(a.right(), b.right(), slack) << face.family << " at " << em;
            EXPECT_NEAR(a.top(), b.top(), slack) << face.family << " at " << em;
            EXPECT_NEAR(a.bottom(), b.bottom(), slack) << face.family << " at " << em;
        }
    }
}
#endif

// A picture may give every text run a size of its own; the sized faces kept stay bounded.
TEST(WmfPainter, FontCacheKeepsBoundedSizes) {
    wmf::FontCache fonts;
    wmf::Font font;
    font.face = "Arial";
    for (int em = 1; em <= 3 * static_cast<int>(wmf::FontCache::kMaxSizedFonts); ++em) {
        EXPECT_DOUBLE_EQ(fonts.sized(font, em).pixelSize(), em);
        EXPECT_LE(fonts.sizedCount(), wmf::FontCache::kMaxSizedFonts);
    }
}

// Mutated copies of a real picture: each must load or fail cleanly and draw in bounded time.
// The work bound is the picture's own work, so the mutations that make it costlier are
// stopped by the bound.
TEST(WmfPainter, SurvivesMutatedPictures) {
    const std::vector<std::uint8_t> original = fileBytes(dataPicture(5));
    QImage image(300, 120, QImage::Format_RGB32);
    QPainter originalPainter(&image);
    wmf::PlayLimits limits;
    limits.maxWork =
        wmf::drawMetafile(originalPainter, validPicture(original), QRectF(0, 0, 300, 120)).work;
    originalPainter.end();
    std::mt19937 random(20240607);
    int played = 0;
    int stoppedByTheBound = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::uint8_t> bytes = original;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            // Leave the headers alone most of the time so the records get exercised.
            const std::size_t at = 40 + random() % (bytes.size() - 40);
            bytes[at] = static_cast<std::uint8_t>(random());
        }
        const wmf::ReadResult result = wmf::readPicture(bytes);
        image.fill(Qt::white);
        QPainter painter(&image);
        const wmf::PlayReport report =
            wmf::drawMetafile(painter, result.metafile, QRectF(0, 0, 300, 120), limits);
        played += static_cast<int>(report.recordsPlayed > 0);
        EXPECT_LE(report.work, limits.maxWork) << "round " << round;
        if (!report.stoppedEarly) {  // every record played or refused
            EXPECT_EQ(report.recordsPlayed + report.recordsIgnored, result.metafile.records.size());
        }
        stoppedByTheBound += static_cast<int>(report.stoppedEarly);
    }
    EXPECT_GT(played, 300);
    EXPECT_GT(stoppedByTheBound, 0);
}

}  // namespace
}  // namespace quintrel

int main(int argc, char** argv) {
    // Drawn offscreen, also when the test list is discovered at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
