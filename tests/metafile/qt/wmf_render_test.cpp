// What the QPainter player draws, pixel by pixel, for one small generated picture per
// capability: clips, regions, bitmaps, patterns, hatches, arcs, pens and text layout. The
// pictures are 100 × 100 units drawn at 100 × 100 pixels, so a unit is a pixel.
#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <functional>

#include "metafile/decode/text_decoding.h"
#include "metafile/format/wmf_writer.h"
#include "metafile/player/wmf_frame.h"
#include "metafile/qt/wmf_painter.h"
#include "tests/metafile/qt/picture_checks.h"

namespace quintrel::wmf {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

QImage renderBytes(const std::vector<std::uint8_t>& bytes, int size = 100) {
    const ReadResult result = readPicture(bytes);
    EXPECT_TRUE(result.ok());
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawMetafile(painter, result.metafile, QRectF(0, 0, size, size));
    return image;
}

QImage render(const std::function<void(MetafileWriter&)>& draw) {
    MetafileWriter writer({0, 0, 100, 100}, 100);
    writer.selectObject(writer.createPen(kPsNull, 0, 0));
    draw(writer);
    return renderBytes(writer.finish());
}

void fillAll(MetafileWriter& w, std::uint32_t color) {
    w.selectObject(w.createBrush(kBsSolid, color));
    w.rectangle({0, 0, 100, 100});
}

struct Probe {
    int x;
    int y;
    QRgb color;
};

struct PixelCase {
    const char* name;
    std::function<void(MetafileWriter&)> draw;
    std::vector<Probe> probes;
};

TEST(WmfRender, ClipsAndRegions) {
    const Rect16 two[] = {{10, 10, 30, 30}, {60, 60, 90, 90}};
    const PixelCase cases[] = {
        {"intersect",
         [](MetafileWriter& w) {
             w.intersectClipRect({20, 20, 60, 60});
             w.intersectClipRect({40, 0, 100, 100});
             fillAll(w, rgb(255, 0, 0));
         },
         {{50, 50, kRed}, {30, 50, kWhite}, {70, 50, kWhite}, {50, 10, kWhite}}},
        {"exclude",
         [](MetafileWriter& w) {
             w.excludeClipRect({20, 20, 60, 60});
             fillAll(w, rgb(255, 0, 0));
         },
         {{40, 40, kWhite}, {10, 10, kRed}, {70, 30, kRed}, {59, 59, kWhite}, {60, 60, kRed}}},
        {"restore dc restores the clip",
         [](MetafileWriter& w) {
             w.saveDc();
             w.intersectClipRect({0, 0, 10, 10});
             w.restoreDc(-1);
             fillAll(w, rgb(255, 0, 0));
         },
         {{50, 50, kRed}, {5, 5, kRed}}},
        {"region clip, offset, then lifted by region 0",
         [&two](MetafileWriter& w) {
             const std::uint16_t region = w.createRegion(two);
             w.selectClipRegion(region);
             const std::uint16_t p[] = {5, 5};  // y, x
             w.record(static_cast<std::uint16_t>(Function::OffsetClipRgn), p);
             fillAll(w, rgb(255, 0, 0));
             w.selectClipRegion(0);
             w.selectObject(w.createBrush(kBsSolid, rgb(0, 0, 255)));
             w.rectangle({0, 0, 10, 10});
         },
         {{20, 20, kRed},
          {12, 12, kWhite},
          {32, 32, kRed},
          {93, 93, kRed},
          {50, 50, kWhite},
          {5, 5, kBlue}}},
        {"fill, frame, invert and paint regions",
         [](MetafileWriter& w) {
             const Rect16 a[] = {{0, 0, 20, 20}};
             const Rect16 b[] = {{40, 0, 80, 40}};
             const Rect16 c[] = {{0, 60, 20, 80}};
             const std::uint16_t red = w.createBrush(kBsSolid, rgb(255, 0, 0));
             const std::uint16_t ra = w.createRegion(a);
             const std::uint16_t rb = w.createRegion(b);
             const std::uint16_t rc = w.createRegion(c);
             const std::uint16_t fill[] = {red, ra};  // brush, region
             w.record(static_cast<std::uint16_t>(Function::FillRegion), fill);
             const std::uint16_t frame[] = {4, 2, red, rb};  // height, width, brush, region
             w.record(static_cast<std::uint16_t>(Function::FrameRegion), frame);
             const std::uint16_t invert[] = {rc};
             w.record(static_cast<std::uint16_t>(Function::InvertRegion), invert);
             w.selectObject(w.createBrush(kBsSolid, rgb(0, 0, 255)));
             const std::uint16_t paint[] = {ra};
             w.record(static_cast<std::uint16_t>(Function::PaintRegion), paint);
         },
         {{10, 10, kBlue},
          {40, 20, kRed},
          {41, 20, kRed},
          {42, 20, kWhite},
          {60, 3, kRed},
          {60, 4, kWhite},
          {60, 38, kRed},
          {10, 70, 0xFF000000},
          {30, 70, kWhite}}},
    };
    for (const PixelCase& c : cases) {
        const QImage image = render(c.draw);
        for (const Probe& p : c.probes) {
            EXPECT_EQ(image.pixel(p.x, p.y), p.color) << c.name << " at " << p.x << "," << p.y;
        }
    }
}

TEST(WmfRender, ShapesPensAndPixels) {
    const PixelCase cases[] = {
        {"pie goes counter-clockwise from the start ray to the end ray",
         [](MetafileWriter& w) {
             w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
             w.arc(Function::Pie, {10, 10, 90, 90}, {90, 50}, {50, 0});
         },
         {{70, 30, kRed}, {30, 30, kWhite}, {70, 70, kWhite}, {30, 70, kWhite}}},
        {"chord from the left ray round to the right one takes the lower half",
         [](MetafileWriter& w) {
             w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
             w.arc(Function::Chord, {10, 10, 90, 90}, {0, 50}, {100, 50});
         },
         {{50, 70, kRed}, {50, 30, kWhite}}},
        {"coinciding rays draw the whole ellipse",
         [](MetafileWriter& w) {
             w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
             w.arc(Function::Pie, {10, 10, 90, 90}, {90, 50}, {95, 50});
         },
         {{30, 30, kRed}, {70, 70, kRed}, {50, 12, kRed}}},
        {"rounded rectangle leaves its corners",
         [](MetafileWriter& w) {
             w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
             w.roundRect({10, 10, 90, 90}, 40, 40);
         },
         {{12, 12, kWhite}, {50, 12, kRed}, {12, 50, kRed}, {88, 88, kWhite}}},
        {"set pixel",
         [](MetafileWriter& w) { w.setPixel(42, 17, rgb(255, 0, 0)); },
         {{42, 17, kRed}, {43, 17, kWhite}, {42, 18, kWhite}}},
        {"inside-frame pen stays in the box",
         [](MetafileWriter& w) {
             w.selectObject(w.createPen(kPsInsideFrame, 10, rgb(0, 0, 255)));
             w.selectObject(w.createBrush(kBsNull, 0));
             w.rectangle({20, 20, 80, 80});
         },
         {{18, 50, kWhite}, {22, 50, kBlue}, {28, 50, kBlue}, {32, 50, kWhite}, {78, 50, kBlue}}},
        {"wide dashed pen draws solid, flat caps stop at the end",
         [](MetafileWriter& w) {
             w.selectObject(w.createPen(kPsDash | kPsEndCapFlat, 4, rgb(0, 0, 255)));
             w.moveTo(10, 50);
             w.lineTo(90, 50);
         },
         {{15, 50, kBlue},
          {25, 50, kBlue},
          {35, 50, kBlue},
          {45, 50, kBlue},
          {8, 50, kWhite},
          {92, 50, kWhite}}},
        {"polygon fill modes",
         [](MetafileWriter& w) {
             // Two overlapping squares drawn as one polygon: the overlap is inside only with
             // the winding rule.
             const Point16 both[] = {{10, 10}, {60, 10}, {60, 60}, {10, 60}, {10, 10},
                                     {40, 40}, {90, 40}, {90, 90}, {40, 90}, {40, 40}};
             w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
             w.polygon(both);
         },
         {{50, 50, kWhite}, {20, 20, kRed}, {80, 80, kRed}}},
    };
    for (const PixelCase& c : cases) {
        const QImage image = render(c.draw);
        for (const Probe& p : c.probes) {
            EXPECT_EQ(image.pixel(p.x, p.y), p.color) << c.name << " at " << p.x << "," << p.y;
        }
    }
    // The winding rule fills the overlap.
    const QImage winding = render([](MetafileWriter& w) {
        const Point16 both[] = {{10, 10}, {60, 10}, {60, 60}, {10, 60}, {10, 10},
                                {40, 40}, {90, 40}, {90, 90}, {40, 90}, {40, 40}};
        w.setPolyFillMode(kWinding);
        w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
        w.polygon(both);
    });
    EXPECT_EQ(winding.pixel(50, 50), kRed);
    // A thin dashed pen keeps its gaps.
    const QImage thin = render([](MetafileWriter& w) {
        w.selectObject(w.createPen(kPsDash, 1, rgb(0, 0, 255)));
        w.moveTo(0, 50);
        w.lineTo(100, 50);
    });
    int gaps = 0;
    for (int x = 0; x < 100; ++x) {
        gaps += thin.pixel(x, 50) == kWhite;
    }
    EXPECT_GT(gaps, 10);
}

TEST(WmfRender, PatternFillsWithoutABitmap) {
    auto patBlt = [](MetafileWriter& w, std::uint32_t rop, Rect16 r) {
        const std::uint16_t p[] = {static_cast<std::uint16_t>(rop & 0xFFFF),
                                   static_cast<std::uint16_t>(rop >> 16),
                                   static_cast<std::uint16_t>(r.bottom - r.top),
                                   static_cast<std::uint16_t>(r.right - r.left),
                                   static_cast<std::uint16_t>(r.top),
                                   static_cast<std::uint16_t>(r.left)};
        w.record(static_cast<std::uint16_t>(Function::PatBlt), p);
    };
    const QImage image = render([&patBlt](MetafileWriter& w) {
        w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
        patBlt(w, 0x00F00021, {0, 0, 50, 50});      // PATCOPY
        patBlt(w, 0x00550009, {25, 25, 75, 75});    // DSTINVERT
        patBlt(w, 0x00000042, {80, 80, 100, 100});  // BLACKNESS
        // A DIBBITBLT with no bitmap: rop, y and x source, a reserved word, height, width,
        // y, x.
        const std::uint16_t dibBitBlt[] = {0x0021, 0x00F0, 0, 0, 0, 10, 10, 0, 80};
        w.record(static_cast<std::uint16_t>(Function::DibBitBlt), dibBitBlt);
    });
    EXPECT_EQ(image.pixel(10, 10), kRed);
    EXPECT_EQ(image.pixel(40, 40), 0xFF00FFFF);  // red inverted
    EXPECT_EQ(image.pixel(60, 60), 0xFF000000);  // white inverted
    EXPECT_EQ(image.pixel(90, 90), 0xFF000000);
    EXPECT_EQ(image.pixel(85, 5), kRed);
    EXPECT_EQ(image.pixel(95, 5), kWhite);
}

TEST(WmfRender, BitmapsAndPatterns) {
    // 4 × 2 pixels, each a colour of its own, stretched to 40 × 20 units.
    const std::uint32_t pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000,
                                    0xFFFF00, 0x00FFFF, 0xFF00FF, 0x808080};
    const std::vector<std::uint8_t> dib = packDib(4, 2, pixels);
    const QImage plain = render([&dib](MetafileWriter& w) {
        w.dibStretchBlt({10, 10, 50, 30}, {0, 0, 4, 2}, kSrcCopy, dib);
        // Mirrored: a negative target width.
        w.dibStretchBlt({90, 50, 50, 70}, {0, 0, 4, 2}, kSrcCopy, dib);
    });
    for (int i = 0; i < 8; ++i) {
        const int column = i % 4;
        const int row = i / 4;
        const QRgb expected = 0xFF000000 | pixels[i];
        EXPECT_EQ(plain.pixel(15 + 10 * column, 15 + 10 * row), expected) << i;
        EXPECT_EQ(plain.pixel(85 - 10 * column, 55 + 10 * row), expected) << "mirrored " << i;
    }
    EXPECT_EQ(plain.pixel(5, 5), kWhite);

    // XOR with what is there: red over red is black, red over white is cyan.
    const std::uint32_t red[] = {0xFF0000};
    const std::vector<std::uint8_t> redDib = packDib(1, 1, red);
    const QImage xored = render([&redDib](MetafileWriter& w) {
        w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
        w.rectangle({0, 0, 50, 100});
        w.dibStretchBlt({0, 0, 100, 100}, {0, 0, 1, 1}, 0x00660046, redDib);
    });
    EXPECT_EQ(xored.pixel(25, 50), 0xFF000000);
    EXPECT_EQ(xored.pixel(75, 50), 0xFF00FFFF);

    // A 2 × 2 pattern brush tiles in device pixels from the device origin.
    const std::uint32_t checker[] = {0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000};
    const std::vector<std::uint8_t> patternDib = packDib(2, 2, checker);
    const QImage pattern = render([&patternDib](MetafileWriter& w) {
        w.selectObject(w.createDibPatternBrush(patternDib));
        w.rectangle({10, 10, 30, 30});
    });
    for (int y = 10; y < 30; ++y) {
        for (int x = 10; x < 30; ++x) {
            ASSERT_EQ(pattern.pixel(x, y), (x + y) % 2 == 0 ? kRed : kBlue) << x << "," << y;
        }
    }

    // Hatches: lines of the brush colour every eighth row; the background colour between
    // them in opaque mode, nothing in transparent mode.
    for (const bool opaque : {true, false}) {
        const QImage hatched = render([opaque](MetafileWriter& w) {
            w.setBkMode(opaque ? kOpaque : kTransparent);
            w.setBkColor(rgb(0, 0, 255));
            w.selectObject(w.createBrush(kBsHatched, rgb(255, 0, 0), 0));  // HS_HORIZONTAL
            w.rectangle({0, 0, 100, 100});
        });
        for (int y = 8; y < 16; ++y) {
            EXPECT_EQ(hatched.pixel(50, y), y == 11 ? kRed : opaque ? kBlue : kWhite) << y;
        }
    }
}

TEST(WmfRender, TextLayout) {
    auto text = [](std::int16_t escapement, std::int16_t extra, std::int16_t justify,
                   std::uint8_t charSet, std::string bytes) {
        MetafileWriter writer({0, 0, 400, 400}, 100);
        LogFont font;
        font.height = -40;
        font.escapement = escapement;
        font.charSet = charSet;
        font.faceName = "Arial";
        writer.selectObject(writer.createFont(font));
        writer.setBkMode(kTransparent);
        writer.setTextAlign(kTaBaseline);
        writer.setTextCharExtra(extra);
        writer.setTextJustification(justify, 1);
        writer.textOut(200, 200, bytes);
        return inkBounds(renderBytes(writer.finish(), 400));
    };
    // The opaque rectangle is filled in the background colour; the clipped one cuts the text.
    MetafileWriter boxed({0, 0, 400, 400}, 100);
    LogFont big;
    big.height = -100;
    big.faceName = "Arial";
    boxed.selectObject(boxed.createFont(big));
    boxed.setBkColor(rgb(0, 0, 255));
    boxed.extTextOut(10, 10, kEtoOpaque, {0, 0, 50, 50}, "", {});
    boxed.extTextOut(100, 100, kEtoClipped, {100, 100, 130, 400}, "WWWW", {});
    const QImage boxes = renderBytes(boxed.finish(), 400);
    EXPECT_EQ(boxes.pixel(25, 25), kBlue);
    const QRect clipped = inkBounds(boxes.copy(60, 60, 340, 340));
    EXPECT_GE(clipped.left() + 60, 100);
    EXPECT_LE(clipped.right() + 60, 129);

    const QRect flat = text(0, 0, 0, kAnsiCharset, "HHHH");
    const QRect turned = text(900, 0, 0, kAnsiCharset, "HHHH");
    // A quarter turn counter-clockwise: the run goes up from the reference point.
    EXPECT_NEAR(turned.width(), flat.height(), 2);
    EXPECT_NEAR(turned.height(), flat.width(), 2);
    EXPECT_LE(turned.bottom(), 200);
    EXPECT_NEAR(turned.right(), 200, 2);
    // Ten units more after each character; forty more at the one break.
    EXPECT_NEAR(text(0, 10, 0, kAnsiCharset, "HHHH").width(), flat.width() + 30, 1);
    EXPECT_NEAR(text(0, 0, 40, kAnsiCharset, "HH HH").width(),
                text(0, 0, 0, kAnsiCharset, "HH HH").width() + 40, 1);

    // GB2312 bytes read as Chinese: two full-width characters, an em each, not the four
    // Latin-1 letters the bytes would be.
    const std::string zhongwen = "\xD6\xD0\xCE\xC4";
    const QRect chinese = text(0, 0, 0, kGb2312Charset, zhongwen);
    const QRect latin = text(0, 0, 0, kAnsiCharset, zhongwen);
    EXPECT_EQ(decodeText(zhongwen, kGb2312Charset), U"\u4E2D\u6587");
    EXPECT_NEAR(chinese.width(), 2 * 40, 10);
    EXPECT_NE(chinese, latin);
    EXPECT_GT(chinese.height(), 25);
}

}  // namespace
}  // namespace quintrel::wmf
