// Playing records: coordinate mapping, the object table, DC save/restore, text and the
// defences against hostile records.
#include <gtest/gtest.h>

#include <cmath>

#include "metafile/format/wmf_writer.h"
#include "tests/metafile/recording_canvas.h"

namespace quintrel::wmf {
namespace {

// A 1000 × 500 frame whose window is 2000 × 1000 logical units from (100, 100):
// picture = (logical - 100) / 2.
MetafileWriter scaledWriter() {
    MetafileWriter writer({0, 0, 1000, 500}, 1000);
    writer.setWindowOrg(100, 100);
    writer.setWindowExt(2000, 1000);
    return writer;
}

TEST(WmfPlay, MapsTheWindowOntoTheFrame) {
    MetafileWriter writer = scaledWriter();
    writer.moveTo(100, 100);
    writer.lineTo(2100, 1100);
    writer.setWindowExt(0, 1000);  // singular: ignored, the 2000 × 1000 extent stays
    writer.lineTo(1100, 600);
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_DOUBLE_EQ(canvas.lines[0].points[0].x, 0);
    EXPECT_DOUBLE_EQ(canvas.lines[0].points[1].x, 1000);
    EXPECT_DOUBLE_EQ(canvas.lines[0].points[1].y, 500);
    EXPECT_DOUBLE_EQ(canvas.lines[1].points[1].x, 500);
    EXPECT_DOUBLE_EQ(canvas.lines[1].points[1].y, 250);
}

TEST(WmfPlay, WithoutAWindowUsesTheBoundingBox) {
    MetafileWriter writer({-50, -20, 950, 480}, 1000);
    const Point16 points[] = {{-50, -20}, {950, 480}};
    writer.polyline(points);
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(canvas.lines[0].points[0].x, 0);
    EXPECT_DOUBLE_EQ(canvas.lines[0].points[1].x, 1000);
    EXPECT_DOUBLE_EQ(canvas.lines[0].points[1].y, 500);
}

TEST(WmfPlay, IsotropicModeKeepsOneScale) {
    MetafileWriter writer({0, 0, 1000, 500}, 1000);
    writer.setMapMode(kMmIsotropic);
    writer.setWindowExt(100, 100);  // 10 per unit across, 5 down: 5 is used for both
    const Point16 points[] = {{0, 0}, {100, 100}};
    writer.polyline(points);
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.lines.size(), 1u);
    EXPECT_DOUBLE_EQ(canvas.lines[0].points[1].x, 500);
    EXPECT_DOUBLE_EQ(canvas.lines[0].points[1].y, 500);
}

TEST(WmfPlay, ObjectTableTakesTheLowestFreeIndex) {
    MetafileWriter writer = scaledWriter();
    writer.createPen(kPsSolid, 2, rgb(1, 0, 0));  // 0
    writer.createPen(kPsSolid, 4, rgb(2, 0, 0));  // 1
    writer.createPen(kPsSolid, 6, rgb(3, 0, 0));  // 2
    writer.deleteObject(1);
    writer.createPen(kPsDash, 8, rgb(4, 0, 0));  // takes 1 again
    writer.selectObject(1);
    writer.lineTo(200, 200);
    writer.selectObject(7);  // out of range: ignored, pen 1 stays
    writer.deleteObject(1);  // deleting the selected pen does not unselect it
    writer.lineTo(300, 300);
    writer.selectObject(1);  // a freed slot: ignored
    writer.lineTo(400, 400);
    PlayReport report;
    const RecordingCanvas canvas = playBytes(writer.finish(), &report);
    ASSERT_EQ(canvas.lines.size(), 3u);
    for (const auto& line : canvas.lines) {
        EXPECT_EQ(line.pen.color, (Rgb{4, 0, 0}));
        EXPECT_EQ(line.pen.style, PenStyle::Solid);  // dashed, but wider than one unit
        EXPECT_DOUBLE_EQ(line.pen.width, 4);         // 8 logical units at half scale
    }
    EXPECT_EQ(report.recordsIgnored, 2u);
}

TEST(WmfPlay, ObjectTableIsCapped) {
    MetafileWriter writer = scaledWriter();
    for (std::size_t i = 0; i < kMaxObjects; ++i) {
        writer.createBrush(kBsSolid, rgb(0, 0, 0));
    }
    writer.createPen(kPsSolid, 10, rgb(9, 9, 9));  // no slot left: not created
    writer.selectObject(static_cast<std::uint16_t>(kMaxObjects));
    writer.lineTo(200, 200);
    PlayReport report;
    const RecordingCanvas canvas = playBytes(writer.finish(), &report);
    ASSERT_EQ(canvas.lines.size(), 1u);
    EXPECT_EQ(canvas.lines[0].pen.color, (Rgb{0, 0, 0}));  // the default black pen
    EXPECT_EQ(report.recordsIgnored, 2u);
}

TEST(WmfPlay, SaveAndRestoreDc) {
    MetafileWriter writer = scaledWriter();
    writer.setTextColor(rgb(1, 1, 1));
    writer.saveDc();  // level 1: colour 1
    writer.setTextColor(rgb(2, 2, 2));
    writer.saveDc();  // level 2: colour 2
    writer.setTextColor(rgb(3, 3, 3));
    writer.saveDc();  // level 3: colour 3
    writer.setTextColor(rgb(4, 4, 4));
    writer.textOut(0, 0, "a");  // 4
    writer.restoreDc(-1);
    writer.textOut(0, 0, "b");  // 3, levels 1 and 2 left
    writer.restoreDc(-5);       // deeper than saved: ignored
    writer.textOut(0, 0, "c");  // 3
    writer.restoreDc(1);        // absolute: back to level 1, nothing left
    writer.textOut(0, 0, "d");  // 1
    writer.restoreDc(-1);       // nothing saved: ignored
    writer.textOut(0, 0, "e");  // 1
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.texts.size(), 5u);
    const std::uint8_t expected[] = {4, 3, 3, 1, 1};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(canvas.texts[i].color.r, expected[i]) << canvas.texts[i].bytes;
    }
}

TEST(WmfPlay, SaveDepthIsCapped) {
    MetafileWriter writer = scaledWriter();
    for (std::size_t i = 0; i < kMaxSaveDepth + 10; ++i) {
        writer.saveDc();
    }
    PlayReport report;
    playBytes(writer.finish(), &report);
    EXPECT_EQ(report.recordsIgnored, 10u);
}

TEST(WmfPlay, ExtTextOutCarriesFontDxAndRectangle) {
    MetafileWriter writer = scaledWriter();
    LogFont font;
    font.height = -200;
    font.weight = 700;
    font.italic = true;
    font.charSet = kSymbolCharset;
    font.faceName = "Symbol";
    writer.selectObject(writer.createFont(font));
    writer.setTextAlign(kTaBaseline | kTaCenter);
    writer.setBkMode(kTransparent);
    const std::int16_t dx[] = {40, 60, 80};
    writer.extTextOut(300, 500, kEtoClipped, {100, 100, 500, 300}, "pDS", dx);
    const std::int16_t shortDx[] = {40};
    writer.extTextOut(300, 500, 0, {}, "abc", shortDx);
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.texts.size(), 2u);
    const TextRun& run = canvas.texts[0];
    EXPECT_EQ(run.bytes, "pDS");
    EXPECT_EQ(run.font.face, "Symbol");
    EXPECT_EQ(run.font.charSet, kSymbolCharset);
    EXPECT_DOUBLE_EQ(run.font.size, 100);
    EXPECT_FALSE(run.font.sizeIsCell);
    EXPECT_EQ(run.font.weight, 700);
    EXPECT_TRUE(run.font.italic);
    EXPECT_EQ(run.advances, (std::vector<double>{20, 30, 40}));
    EXPECT_DOUBLE_EQ(run.reference.x, 100);
    EXPECT_DOUBLE_EQ(run.reference.y, 200);
    EXPECT_EQ(run.align, kTaBaseline | kTaCenter);
    EXPECT_FALSE(run.background.has_value());
    ASSERT_TRUE(run.clipRect.has_value());
    EXPECT_DOUBLE_EQ(run.clipRect->right, 200);
    EXPECT_FALSE(run.opaqueRect.has_value());
    // A dx array shorter than the string: the canvas gets what there is.
    EXPECT_EQ(canvas.texts[1].advances, (std::vector<double>{20}));
}

TEST(WmfPlay, TextOutWithUpdateCpMovesTheCurrentPosition) {
    MetafileWriter writer = scaledWriter();
    writer.setTextAlign(kTaUpdateCp);
    writer.moveTo(300, 300);
    writer.textOut(0, 0, "ab");
    writer.textOut(0, 0, "c");
    RecordingCanvas canvas;
    canvas.advance = 25;  // picture units: 50 logical units
    const ReadResult result = readPicture(writer.finish());
    play(result.metafile, canvas);
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_DOUBLE_EQ(canvas.texts[0].reference.x, 100);
    EXPECT_DOUBLE_EQ(canvas.texts[1].reference.x, 125);
}

TEST(WmfPlay, NeverActsOnEscapes) {
    MetafileWriter writer = scaledWriter();
    const std::uint16_t escape[] = {0x000F, 4, 0x4141, 0x4141};  // MFCOMMENT
    writer.record(static_cast<std::uint16_t>(Function::Escape), escape);
    writer.record(0x0999, escape);  // unknown function
    PlayReport report;
    const RecordingCanvas canvas = playBytes(writer.finish(), &report);
    EXPECT_TRUE(canvas.texts.empty());
    EXPECT_TRUE(canvas.lines.empty());
    EXPECT_EQ(report.recordsIgnored, 2u);
}

TEST(WmfPlay, SkipsRecordsThatClaimMoreThanTheyHold) {
    MetafileWriter writer = scaledWriter();
    const std::uint16_t polyline[] = {500, 0, 0, 10, 10};  // 500 points, 2 given
    writer.record(static_cast<std::uint16_t>(Function::Polyline), polyline);
    const std::uint16_t text[] = {0, 0, 40, 0, 0x4141};  // 40 bytes, 2 given
    writer.record(static_cast<std::uint16_t>(Function::ExtTextOut), text);
    const std::uint16_t textOut[] = {0xFFFF, 0x4141};  // negative length
    writer.record(static_cast<std::uint16_t>(Function::TextOut), textOut);
    const std::uint16_t polyPolygon[] = {3, 3, 3};  // counts cut short
    writer.record(static_cast<std::uint16_t>(Function::PolyPolygon), polyPolygon);
    writer.record(static_cast<std::uint16_t>(Function::CreateFontIndirect), {});
    writer.record(static_cast<std::uint16_t>(Function::LineTo), {});
    const Point16 fine[] = {{100, 100}, {300, 300}};
    writer.polyline(fine);
    PlayReport report;
    const RecordingCanvas canvas = playBytes(writer.finish(), &report);
    EXPECT_EQ(report.recordsIgnored, 6u);
    ASSERT_EQ(canvas.lines.size(), 1u);  // the well-formed record after them still plays
    EXPECT_TRUE(canvas.texts.empty());
}

TEST(WmfPlay, ClampsHostileSizes) {
    MetafileWriter writer({0, 0, 100, 100}, 1000);
    writer.setWindowExt(1, 1);  // 100 picture units per logical unit
    writer.selectObject(writer.createPen(kPsSolid, 32767, 0));
    LogFont font;
    font.height = -32768;
    writer.selectObject(writer.createFont(font));
    writer.lineTo(32767, -32768);
    writer.textOut(0, 0, "x");
    const RecordingCanvas canvas = playBytes(writer.finish());
    ASSERT_EQ(canvas.lines.size(), 1u);
    EXPECT_LE(canvas.lines[0].pen.width, 100);
    EXPECT_LE(canvas.lines[0].points[1].x, 500);  // within a few frames of the picture
    EXPECT_GE(canvas.lines[0].points[1].y, -400);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_LE(canvas.texts[0].font.size, 400);
    EXPECT_TRUE(std::isfinite(canvas.texts[0].font.size));
}

TEST(WmfPlay, StopsAtTheRecordLimit) {
    MetafileWriter writer = scaledWriter();
    for (int i = 0; i < 100; ++i) {
        writer.lineTo(static_cast<std::int16_t>(i), 0);
    }
    const ReadResult result = readPicture(writer.finish());
    RecordingCanvas canvas;
    PlayLimits limits;
    limits.maxRecords = 10;
    const PlayReport report = play(result.metafile, canvas, limits);
    EXPECT_TRUE(report.stoppedEarly);
    EXPECT_EQ(report.recordsPlayed + report.recordsIgnored, 10u);
}

}  // namespace
}  // namespace quintrel::wmf
