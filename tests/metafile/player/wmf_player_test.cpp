// The player's decisions before anything is painted: GDI's mapping modes, files without a
// placeable header, records ignored on purpose, the work bound, bitmap limits, text runs.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "metafile/decode/dib.h"
#include "metafile/format/wmf_writer.h"
#include "metafile/player/wmf_region.h"
#include "tests/metafile/recording_canvas.h"

namespace quintrel::wmf {
namespace {

// Where the logical point (300, 200) lands after `setup`, in a 1000 × 1000 frame at 1000
// units per inch whose host window is the frame itself.
PointF mapped(const std::function<void(MetafileWriter&)>& setup) {
    MetafileWriter writer({0, 0, 1000, 1000}, 1000);
    setup(writer);
    writer.moveTo(300, 200);
    writer.lineTo(300, 200);
    const RecordingCanvas canvas = playBytes(writer.finish());
    EXPECT_EQ(canvas.lines.size(), 1u);
    return canvas.lines.empty() ? PointF{} : canvas.lines[0].points[1];
}

TEST(WmfMapping, CombinesModesOriginsAndExtentsAsGdiDoes) {
    struct Case {
        const char* name;
        std::function<void(MetafileWriter&)> setup;
        double x;
        double y;
    };
    auto raw = [](MetafileWriter& w, Function f, std::initializer_list<std::uint16_t> p) {
        w.record(static_cast<std::uint16_t>(f), std::vector<std::uint16_t>(p));
    };
    const Case cases[] = {
        {"host mapping", [](MetafileWriter&) {}, 300, 200},
        {"text mode ignores window extents",
         [](MetafileWriter& w) {
             w.setMapMode(kMmText);
             w.setWindowExt(10, 10);
         },
         300, 200},
        // 1000 picture units per inch, y up from the window origin.
        {"lometric", [](MetafileWriter& w) { w.setMapMode(kMmLoMetric); }, 300 * 1000 / 254.0,
         -200 * 1000 / 254.0},
        {"himetric", [](MetafileWriter& w) { w.setMapMode(kMmHiMetric); }, 300 * 1000 / 2540.0,
         -200 * 1000 / 2540.0},
        {"loenglish", [](MetafileWriter& w) { w.setMapMode(kMmLoEnglish); }, 3000, -2000},
        {"hienglish", [](MetafileWriter& w) { w.setMapMode(kMmHiEnglish); }, 300, -200},
        {"twips with origins",
         [](MetafileWriter& w) {
             w.setMapMode(kMmTwips);
             w.setWindowOrg(60, 0);
             w.setViewportOrg(10, 500);
         },
         10 + 240 * 1000 / 1440.0, 500 - 200 * 1000 / 1440.0},
        {"anisotropic viewport",
         [](MetafileWriter& w) {
             w.setMapMode(kMmAnisotropic);
             w.setWindowExt(100, 100);
             w.setViewportExt(200, -400);
             w.setViewportOrg(0, 1000);
         },
         600, 200},
        {"isotropic shrinks the larger scale",
         [](MetafileWriter& w) {
             w.setMapMode(kMmIsotropic);
             w.setWindowExt(1000, 2000);  // 1 across, 0.5 down: 0.5 both ways
         },
         150, 100},
        {"offsets and scales",
         [&raw](MetafileWriter& w) {
             raw(w, Function::OffsetWindowOrg, {10, 100});  // y, x
             raw(w, Function::OffsetViewportOrg, {0, 50});
             raw(w, Function::ScaleViewportExt, {1, 1, 1, 2});  // y 1/1, x 2/1
             raw(w, Function::ScaleWindowExt, {2, 1, 1, 1});    // y 1/2
         },
         2 * 200 + 50, 2 * 190},
        {"scaling an extent to zero is ignored",
         [&raw](MetafileWriter& w) {
             raw(w, Function::ScaleWindowExt, {1, 1, 2000, 1});
         },
         300, 200},
    };
    for (const Case& c : cases) {
        const PointF p = mapped(c.setup);
        EXPECT_NEAR(p.x, c.x, 1e-9) << c.name;
        EXPECT_NEAR(p.y, c.y, 1e-9) << c.name;
    }
}

TEST(WmfStandardFile, FrameComesFromWindowRecordsOrWhatIsDrawn) {
    MetafileWriter windowed({0, 0, 1, 1}, 1440);
    windowed.setMapMode(kMmAnisotropic);
    windowed.setWindowOrg(100, 50);
    windowed.setWindowExt(400, -200);
    windowed.rectangle({100, 50, 500, -150});
    const ReadResult a = readPicture(windowed.finishStandard());
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a.metafile.frameSource, FrameSource::WindowRecords);
    EXPECT_EQ(a.metafile.placeable.left, 100);
    EXPECT_EQ(a.metafile.placeable.top, -150);
    EXPECT_EQ(a.metafile.placeable.right, 500);
    EXPECT_EQ(a.metafile.placeable.bottom, 50);
    const RecordingCanvas aCanvas = playBytes(windowed.finishStandard());
    ASSERT_EQ(aCanvas.shapes.size(), 1u);
    EXPECT_DOUBLE_EQ(aCanvas.shapes[0].polygons[0][0].x, 0);
    EXPECT_DOUBLE_EQ(aCanvas.shapes[0].polygons[0][2].y, 200);

    // A viewport extent wins: the window maps onto it, and it is what the picture shows.
    MetafileWriter viewport({0, 0, 1, 1}, 1440);
    viewport.setMapMode(kMmAnisotropic);
    viewport.setWindowOrg(-100, -100);
    viewport.setWindowExt(200, 200);
    viewport.setViewportOrg(50, 0);
    viewport.setViewportExt(300, 200);
    viewport.ellipse({-100, -100, 100, 100});
    const ReadResult v = readPicture(viewport.finishStandard());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(v.metafile.frameSource, FrameSource::ViewportRecords);
    EXPECT_EQ(v.metafile.placeable.left, 50);
    EXPECT_EQ(v.metafile.placeable.right, 350);
    const RecordingCanvas vCanvas = playBytes(viewport.finishStandard());
    ASSERT_EQ(vCanvas.ellipses.size(), 1u);
    EXPECT_DOUBLE_EQ(vCanvas.ellipses[0].left, 0);
    EXPECT_DOUBLE_EQ(vCanvas.ellipses[0].right, 300);
    EXPECT_DOUBLE_EQ(vCanvas.ellipses[0].bottom, 200);

    // No window: the frame is the drawn extent, pen width included, in device units.
    MetafileWriter drawn({0, 0, 1, 1}, 1440);
    drawn.setMapMode(kMmLoEnglish);  // 0.96 device units a logical unit, y up
    drawn.selectObject(drawn.createPen(kPsSolid, 0, 0));
    drawn.moveTo(100, -100);
    drawn.lineTo(600, -300);
    const ReadResult b = readPicture(drawn.finishStandard());
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b.metafile.frameSource, FrameSource::DrawnExtent);
    EXPECT_EQ(b.metafile.placeable.left, 96);
    EXPECT_EQ(b.metafile.placeable.top, 96);
    EXPECT_EQ(b.metafile.placeable.right, 576);
    EXPECT_EQ(b.metafile.placeable.bottom, 288);
    EXPECT_EQ(b.metafile.placeable.inch, kStandardInch);
    const RecordingCanvas bCanvas = playBytes(drawn.finishStandard());
    ASSERT_EQ(bCanvas.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(bCanvas.lines[0].points[0].x, 0);
    EXPECT_DOUBLE_EQ(bCanvas.lines[0].points[1].y, 192);

    // Nothing drawn and no window: no frame.
    MetafileWriter empty({0, 0, 1, 1}, 1440);
    empty.setTextColor(0);
    const std::vector<std::uint8_t> emptyBytes = empty.finishStandard();
    const ReadResult c = readPicture(emptyBytes);
    ASSERT_FALSE(c.ok());
    EXPECT_EQ(c.error->code, ErrorCode::EmptyBounds);
    EXPECT_EQ(c.error->record, 1u);  // at META_EOF, the last 6 bytes
    EXPECT_EQ(c.error->byteOffset, emptyBytes.size() - 6);
    // The reader alone reads such a file whole and leaves the frame to readPicture.
    const ReadResult unframed = readMetafile(emptyBytes);
    EXPECT_TRUE(unframed.ok());
    EXPECT_EQ(unframed.metafile.frameSource, FrameSource::Unframed);
}

TEST(WmfPlay, RecordsIgnoredOnPurposeChangeNothing) {
    auto play = [](bool withIgnored) {
        MetafileWriter writer({0, 0, 100, 100}, 100);
        if (withIgnored) {
            const std::uint16_t palette[] = {0x0300, 1, 0, 0};  // version, one entry
            writer.record(static_cast<std::uint16_t>(Function::CreatePalette), palette);
            const std::uint16_t zero[] = {0};
            writer.record(static_cast<std::uint16_t>(Function::SelectPalette), zero);
            writer.record(static_cast<std::uint16_t>(Function::RealizePalette), {});
            const std::uint16_t copyPen[] = {kR2CopyPen};
            writer.record(static_cast<std::uint16_t>(Function::SetRop2), copyPen);
            const std::uint16_t relative[] = {2};
            writer.record(static_cast<std::uint16_t>(Function::SetRelAbs), relative);
            const std::uint16_t comment[] = {0x000F, 4, 0x4141, 0x4141};  // MFCOMMENT
            writer.record(static_cast<std::uint16_t>(Function::Escape), comment);
            const std::uint16_t abortProc[] = {0x0009, 4, 0xDEAD, 0xBEEF};  // SETABORTPROC
            writer.record(static_cast<std::uint16_t>(Function::Escape), abortProc);
        }
        // The palette took slot 0 (when there is one): the pen lands after it.
        const std::uint16_t pen = writer.createPen(kPsSolid, 2, rgb(9, 8, 7));
        writer.selectObject(withIgnored ? pen + 1 : pen);
        writer.lineTo(50, 50);
        PlayReport report;
        RecordingCanvas canvas = playBytes(writer.finish(), &report);
        return std::pair{canvas, report};
    };
    const auto [plain, plainReport] = play(false);
    const auto [noisy, noisyReport] = play(true);
    ASSERT_EQ(noisy.lines.size(), 1u);
    EXPECT_EQ(noisy.lines[0].pen.color, plain.lines[0].pen.color);
    EXPECT_EQ(noisy.lines[0].points[1].x, plain.lines[0].points[1].x);
    EXPECT_EQ(noisyReport.recordsIgnored, 2u);  // the two escapes
    EXPECT_EQ(noisyReport.recordsPlayed, plainReport.recordsPlayed + 5);
}

TEST(WmfPlay, WorkBoundIsDeterministic) {
    MetafileWriter writer({0, 0, 100, 100}, 100);
    writer.selectObject(writer.createBrush(kBsSolid, rgb(1, 2, 3)));
    for (int i = 0; i < 50; ++i) {
        writer.rectangle({0, 0, 100, 100});  // each covers the frame
    }
    const ReadResult result = readPicture(writer.finish());
    PlayLimits limits;
    limits.maxWork = static_cast<std::size_t>(10 * (kFrameWork + kCallWork + 4));
    RecordingCanvas first;
    RecordingCanvas second;
    const PlayReport a = play(result.metafile, first, limits);
    const PlayReport b = play(result.metafile, second, limits);
    EXPECT_TRUE(a.stoppedEarly);
    EXPECT_EQ(first.shapes.size(), 10u);
    EXPECT_EQ(second.shapes.size(), first.shapes.size());
    EXPECT_EQ(a.work, b.work);
    EXPECT_EQ(a.recordsPlayed, b.recordsPlayed);
    // Without the limit all fifty are drawn, well inside the default bound.
    RecordingCanvas all;
    const PlayReport full = play(result.metafile, all);
    EXPECT_FALSE(full.stoppedEarly);
    EXPECT_EQ(all.shapes.size(), 50u);
}

// A clip of many rectangles costs the canvas dearly each time it is rebuilt or drawn under:
// 20,000 records of each kind stop at the work bound after a few, with the record that found
// the bound spent refused.
TEST(WmfPlay, ClipsOfManyRectanglesSpendTheWorkBound) {
    std::vector<Rect16> cells;  // the most a region holds: 64 × 64 over the frame
    for (int i = 0; i < 4096; ++i) {
        const auto x = static_cast<std::int16_t>(i % 64 * 90);
        const auto y = static_cast<std::int16_t>(i / 64 * 36);
        cells.push_back(
            {x, y, static_cast<std::int16_t>(x + 80), static_cast<std::int16_t>(y + 30)});
    }
    const std::uint16_t toAndFro[2][2] = {{1, 1}, {0xFFFF, 0xFFFF}};  // y, x
    struct Case {
        const char* name;
        std::function<void(MetafileWriter&, std::uint16_t region, int i)> repeat;
        std::size_t maxPlayed;
    };
    const Case cases[] = {
        {"OFFSETCLIPRGN",
         [&](MetafileWriter& w, std::uint16_t, int i) {
             w.record(static_cast<std::uint16_t>(Function::OffsetClipRgn), toAndFro[i % 2]);
         },
         20},
        {"SAVEDC, RESTOREDC",
         [](MetafileWriter& w, std::uint16_t, int) {
             w.saveDc();
             w.restoreDc(-1);
         },
         40},
        {"SELECTCLIPREGION", [](MetafileWriter& w, std::uint16_t r, int) { w.selectClipRegion(r); },
         20},
        {"RECTANGLE",
         [](MetafileWriter& w, std::uint16_t, int) {
             w.rectangle({0, 0, 5760, 2304});
         },
         1000},
    };
    for (const Case& c : cases) {
        MetafileWriter writer({0, 0, 5760, 2304}, 576);
        writer.createBrush(kBsSolid, 0);  // takes index 0, which selects no clip region
        const std::uint16_t region = writer.createRegion(cells);
        writer.selectClipRegion(region);
        for (int i = 0; i < 20'000; ++i) {
            c.repeat(writer, region, i);
        }
        PlayReport report;
        playBytes(writer.finish(), &report);
        EXPECT_TRUE(report.stoppedEarly) << c.name;
        EXPECT_EQ(report.recordsIgnored, 1u) << c.name;
        EXPECT_LT(report.recordsPlayed, c.maxPlayed) << c.name;
        EXPECT_LE(report.work, kMaxPlayWork) << c.name;
    }
}

TEST(WmfPlay, BitmapsAreBoundedByThePicturesSize) {
    // A frame allows four bitmap pixels a unit, and never fewer than a million: 1500 × 1000
    // pixels fit a 1000 × 1000 frame but not a 100 × 100 one. A header claiming far more
    // pixels than its data holds is refused before anything is allocated.
    auto blit = [](std::int16_t frame, std::int32_t width, std::int32_t height,
                   std::size_t dataPixels) {
        std::vector<std::uint32_t> pixels(dataPixels, 0x123456);
        std::vector<std::uint8_t> dib = packDib(1, static_cast<int>(dataPixels), pixels);
        for (int i = 0; i < 4; ++i) {
            dib[4 + i] = static_cast<std::uint8_t>(width >> (8 * i));
            dib[8 + i] = static_cast<std::uint8_t>(height >> (8 * i));
        }
        MetafileWriter writer({0, 0, frame, frame}, 1000);
        writer.dibStretchBlt(
            {0, 0, frame, frame},
            {0, 0, static_cast<std::int16_t>(width), static_cast<std::int16_t>(height)}, kSrcCopy,
            dib);
        return playBytes(writer.finish());
    };
    const RecordingCanvas fits = blit(1000, 1500, 1000, 1500 * 1000);
    ASSERT_EQ(fits.images.size(), 1u);
    EXPECT_EQ(fits.images[0].image.width, 1500);
    EXPECT_EQ(fits.images[0].image.pixels[0], 0xFF123456u);
    EXPECT_TRUE(blit(100, 1500, 1000, 1500 * 1000).images.empty());
    EXPECT_TRUE(blit(1000, 20000, 20000, 16).images.empty());
}

TEST(WmfPlay, BitmapRecordsPlaceTheirSource) {
    MetafileWriter writer({0, 0, 100, 100}, 100);
    writer.setTextColor(rgb(255, 0, 0));
    writer.setBkColor(rgb(0, 0, 255));
    // STRETCHDIB of the bottom row of a 2 × 4 bottom-up DIB: its source y counts from the
    // bottom, as StretchDIBits counts it. Stored: rop, colour use, source height, width, y,
    // x, target height, width, y, x, then the DIB.
    const std::uint32_t column[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<std::uint8_t> dib = packDib(2, 4, column);
    std::vector<std::uint16_t> stretch = {0x0020, 0x00CC, 0, 1, 2, 0, 0, 10, 20, 0, 0};
    for (std::size_t i = 0; i < dib.size(); i += 2) {
        stretch.push_back(static_cast<std::uint16_t>(dib[i] | (dib[i + 1] << 8)));
    }
    writer.record(static_cast<std::uint16_t>(Function::StretchDib), stretch);
    // BITBLT of a monochrome device bitmap, 8 × 1: its 0 bits take the text colour, its 1
    // bits the background colour. Stored: rop, source y, x, height, width, target y, x, then
    // type, width, height, bytes a row, planes and bits a pixel, and the row.
    const std::uint16_t bitBlt[] = {0x0020, 0x00CC, 0, 0, 1, 8, 50, 50, 0, 8, 1, 2, 0x0101, 0x000F};
    writer.record(static_cast<std::uint16_t>(Function::BitBlt), bitBlt);
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.images.size(), 2u);
    const auto& stretched = canvas.images[0];
    EXPECT_DOUBLE_EQ(stretched.source.top, 3);
    EXPECT_DOUBLE_EQ(stretched.source.bottom, 4);
    EXPECT_DOUBLE_EQ(stretched.target.right, 20);
    EXPECT_EQ(stretched.image.pixels[6], 0xFF000007u);  // top-down now: row 3 is the last
    const auto& mono = canvas.images[1];
    ASSERT_EQ(mono.image.pixels.size(), 8u);
    EXPECT_EQ(mono.image.pixels[0], 0xFFFF0000u);  // bit 0: text colour
    EXPECT_EQ(mono.image.pixels[4], 0xFF0000FFu);  // bit 1: background colour
    EXPECT_DOUBLE_EQ(mono.target.left, 50);
    EXPECT_DOUBLE_EQ(mono.target.right, 58);
}

TEST(WmfPlay, TextRunsCarrySpacingAndRotation) {
    MetafileWriter writer({0, 0, 1000, 500}, 1000);
    writer.setWindowExt(2000, 1000);  // half a picture unit a logical unit
    LogFont font;
    font.height = -100;
    font.escapement = 450;
    writer.selectObject(writer.createFont(font));
    writer.setTextCharExtra(6);
    writer.setTextJustification(40, 2);
    writer.setTextAlign(kTaUpdateCp | kTaRight);
    writer.moveTo(400, 400);
    writer.textOut(0, 0, "a b");
    writer.textOut(0, 0, "c");
    writer.setMapMode(kMmLoEnglish);  // y up: the escapement turns the other way on the picture
    writer.setTextAlign(kTaLeft);
    writer.textOut(0, 0, "d");
    RecordingCanvas canvas;
    canvas.advance = 10;
    play(readPicture(writer.finish()).metafile, canvas);
    ASSERT_EQ(canvas.texts.size(), 3u);
    const TextRun& run = canvas.texts[0];
    EXPECT_DOUBLE_EQ(run.angle, 45);
    EXPECT_DOUBLE_EQ(run.charExtra, 3);
    EXPECT_DOUBLE_EQ(run.breakExtra, 20);
    EXPECT_EQ(run.breakCount, 2);
    EXPECT_DOUBLE_EQ(run.reference.x, 200);
    // Right-aligned text moves the position back along the turned baseline.
    const double step = 10 * std::sqrt(0.5);
    EXPECT_NEAR(canvas.texts[1].reference.x, 200 - step, 1e-9);
    EXPECT_NEAR(canvas.texts[1].reference.y, 200 + step, 1e-9);
    EXPECT_DOUBLE_EQ(canvas.texts[2].angle, -45);
}

TEST(WmfPlay, PensCarryTheirFlags) {
    MetafileWriter writer({0, 0, 100, 100}, 100);
    writer.setBkMode(kOpaque);
    writer.setBkColor(rgb(0, 0, 255));
    writer.selectObject(writer.createPen(kPsDot, 1, rgb(255, 0, 0)));
    writer.lineTo(10, 10);
    writer.selectObject(writer.createPen(kPsSolid | kPsEndCapSquare | kPsJoinMiter, 5, 0));
    writer.lineTo(20, 20);
    writer.selectObject(writer.createPen(kPsNull, 5, 0));
    writer.lineTo(30, 30);
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.lines.size(), 3u);
    EXPECT_EQ(canvas.lines[0].pen.style, PenStyle::Dot);
    EXPECT_EQ(canvas.lines[0].pen.gapColor, (Rgb{0, 0, 255}));
    EXPECT_EQ(canvas.lines[1].pen.cap, LineCap::Square);
    EXPECT_EQ(canvas.lines[1].pen.join, LineJoin::Miter);
    EXPECT_FALSE(canvas.lines[1].pen.gapColor.has_value());
    EXPECT_EQ(canvas.lines[2].pen.style, PenStyle::None);
}

TEST(WmfPlay, OffsetClipsMoveAwayAndBack) {
    MetafileWriter writer({0, 0, 100, 100}, 100);
    writer.intersectClipRect({0, 0, 50, 50});
    const std::uint16_t right[] = {0, 120};  // y, x
    for (int i = 0; i < 5; ++i) {
        writer.record(static_cast<std::uint16_t>(Function::OffsetClipRgn), right);
    }
    const std::uint16_t back[] = {0, static_cast<std::uint16_t>(-600)};
    writer.record(static_cast<std::uint16_t>(Function::OffsetClipRgn), back);
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.clips.size(), 7u);
    for (const auto& clip : canvas.clips) {
        ASSERT_TRUE(clip.has_value());
        for (const RectF& r : *clip) {
            EXPECT_LE(r.right, 500);  // the canvas never gets more than four frames out
        }
    }
    EXPECT_TRUE(canvas.clips[5]->empty());   // 600 units out: nothing can be drawn
    ASSERT_EQ(canvas.clips[6]->size(), 1u);  // and back where it started
    EXPECT_DOUBLE_EQ((*canvas.clips[6])[0].right, 50);
}

TEST(WmfRegion, SubtractAndFrame) {
    Region region({0, 0, 10, 10});
    ASSERT_TRUE(region.subtract(RectF{3, 3, 6, 6}));
    double area = 0;
    for (const RectF& r : region.rects()) {
        area += (r.right - r.left) * (r.bottom - r.top);
    }
    EXPECT_DOUBLE_EQ(area, 100 - 9);
    Region frame({0, 0, 10, 10});
    ASSERT_TRUE(frame.frame(2, 1));
    area = 0;
    for (const RectF& r : frame.rects()) {
        area += (r.right - r.left) * (r.bottom - r.top);
    }
    EXPECT_DOUBLE_EQ(area, 100 - 6 * 8);
    // A region that would need more rectangles than the limit is left as it was.
    Region comb;
    for (int i = 0; i < 2100; ++i) {
        ASSERT_TRUE(comb.add({double(2 * i), 0, double(2 * i + 1), 10}));
    }
    EXPECT_FALSE(comb.subtract(RectF{-1, 4, 5000, 5}));
    EXPECT_EQ(comb.rects().size(), 2100u);
}

}  // namespace
}  // namespace quintrel::wmf
