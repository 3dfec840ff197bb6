// Load, read and draw one formula picture into a QImage the size of the main window's picture
// box (8415 × 2775 twips) at 96 and at 192 dpi; the same for a bitmap-heavy picture made by
// the project's writer. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <span>

#include "metafile/format/wmf_reader.h"
#include "metafile/format/wmf_writer.h"
#include "metafile/player/wmf_frame.h"
#include "metafile/qt/qt_canvas.h"
#include "metafile/qt/wmf_painter.h"

namespace {

// A 10 × 4 inch picture (576 units an inch, as the formula pictures) of bitmaps: a 640 × 256
// photograph-like gradient over the whole frame, forty 32 × 32 icons and a patterned band.
std::vector<std::uint8_t> bitmapPicture() {
    using namespace quintrel::wmf;
    MetafileWriter writer({0, 0, 5760, 2304}, 576);
    std::vector<std::uint32_t> photo(640 * 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 640; ++x) {
            photo[static_cast<std::size_t>(y * 640 + x)] =
                static_cast<std::uint32_t>((x * 255 / 639) << 16 | y << 8 | ((x ^ y) & 0xFF));
        }
    }
    writer.dibStretchBlt({0, 0, 5760, 2304}, {0, 0, 640, 256}, kSrcCopy, packDib(640, 256, photo));
    std::vector<std::uint32_t> icon(32 * 32);
    for (std::size_t i = 0; i < icon.size(); ++i) {
        icon[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    }
    const std::vector<std::uint8_t> iconDib = packDib(32, 32, icon);
    for (int i = 0; i < 40; ++i) {
        const auto x = static_cast<std::int16_t>(100 + (i % 10) * 560);
        const auto y = static_cast<std::int16_t>(200 + (i / 10) * 500);
        writer.dibStretchBlt(
            {x, y, static_cast<std::int16_t>(x + 288), static_cast<std::int16_t>(y + 288)},
            {0, 0, 32, 32}, kSrcCopy, iconDib);
    }
    const std::uint32_t checker[] = {0xFFFFFF, 0x000080, 0x000080, 0xFFFFFF};
    writer.selectObject(writer.createDibPatternBrush(packDib(2, 2, checker)));
    writer.selectObject(writer.createPen(kPsNull, 0, 0));
    writer.rectangle({0, 2000, 5760, 2304});
    return writer.finish();
}

// Reads `bytes` and draws them over the whole of `image`, as the picture box paints.
quintrel::wmf::PlayReport readAndDraw(std::span<const std::uint8_t> bytes, QImage& image,
                                      quintrel::wmf::FontCache& fonts) {
    const auto result = quintrel::wmf::readPicture(bytes);
    image.fill(Qt::white);
    QPainter painter(&image);
    const quintrel::wmf::PlayReport report = quintrel::wmf::drawMetafile(
        painter, result.metafile, QRectF(QPointF(0, 0), QSizeF(image.size())), {}, &fonts);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
    return report;
}

// The most rectangles a region holds, 64 × 64 cells over the 5760 × 2304 frame.
std::vector<quintrel::wmf::Rect16> gridRectangles() {
    std::vector<quintrel::wmf::Rect16> cells;
    for (int row = 0; row < 64; ++row) {
        for (int column = 0; column < 64; ++column) {
            const auto x = static_cast<std::int16_t>(column * 90);
            const auto y = static_cast<std::int16_t>(row * 36);
            cells.push_back(
                {x, y, static_cast<std::int16_t>(x + 80), static_cast<std::int16_t>(y + 30)});
        }
    }
    return cells;
}

// Makes the grid of gridRectangles() the clip; returns its region's index.
std::uint16_t clipToGrid(quintrel::wmf::MetafileWriter& w) {
    w.createBrush(quintrel::wmf::kBsSolid, 0);  // takes index 0, which selects no region
    const std::uint16_t region = w.createRegion(gridRectangles());
    w.selectClipRegion(region);
    return region;
}

// Pictures made to cost as much as they can, one per kind of work; the player's work bound
// must stop each well inside a second. Each is within the reader's limits.
std::vector<std::uint8_t> costlyPicture(int kind) {
    using namespace quintrel::wmf;
    MetafileWriter w({0, 0, 5760, 2304}, 576);
    switch (kind) {
        case 0:  // whole-frame rectangles
            w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
            for (int i = 0; i < 100'000; ++i) {
                w.rectangle({-100, -100, 5900, 2400});
            }
            break;
        case 1:  // hatched ellipses
            w.selectObject(w.createBrush(kBsHatched, rgb(255, 0, 0), 5));
            for (int i = 0; i < 100'000; ++i) {
                w.ellipse({-100, -100, 5900, 2400});
            }
            break;
        case 2: {  // self-crossing polygons of 16 000 random points
            std::vector<Point16> points(16'000);
            for (std::size_t i = 0; i < points.size(); ++i) {
                points[i] = {static_cast<std::int16_t>((i * 2654435761u) % 5760),
                             static_cast<std::int16_t>((i * 40503u) % 2304)};
            }
            w.selectObject(w.createBrush(kBsSolid, rgb(0, 0, 255)));
            for (int i = 0; i < 50; ++i) {
                w.polygon(points);
            }
            break;
        }
        case 3: {  // long runs of large text
            LogFont font;
            font.height = -2000;
            font.faceName = "Arial";
            w.selectObject(w.createFont(font));
            const std::string text(4000, 'W');
            for (int i = 0; i < 900; ++i) {
                w.textOut(0, 2000, text);
            }
            break;
        }
        case 4: {  // a region of 4000 strips, filled again and again
            std::vector<Rect16> strips;
            for (int i = 0; i < 4000; ++i) {
                strips.push_back(
                    {static_cast<std::int16_t>(i), 0, static_cast<std::int16_t>(i + 1), 2304});
            }
            const std::uint16_t region = w.createRegion(strips);
            const std::uint16_t brush = w.createBrush(kBsSolid, rgb(0, 255, 0));
            for (int i = 0; i < 1000; ++i) {
                const std::uint16_t p[] = {brush, region};
                w.record(static_cast<std::uint16_t>(Function::FillRegion), p);
            }
            break;
        }
        case 6:    // a clip of 4096 rectangles, moved to and fro
        case 7:    // the same, saved and restored
        case 8: {  // the same, selected again and again
            const std::uint16_t region = clipToGrid(w);
            const std::uint16_t toAndFro[2][2] = {{1, 1}, {0xFFFF, 0xFFFF}};
            for (int i = 0; i < 20'000; ++i) {
                if (kind == 6) {
                    w.record(static_cast<std::uint16_t>(Function::OffsetClipRgn), toAndFro[i % 2]);
                } else if (kind == 7) {
                    w.saveDc();
                    w.restoreDc(-1);
                } else {
                    w.selectClipRegion(region);
                }
            }
            break;
        }
        case 9:  // whole-frame rectangles under that clip
            clipToGrid(w);
            w.selectObject(w.createBrush(kBsSolid, rgb(255, 0, 0)));
            for (int i = 0; i < 100'000; ++i) {
                w.rectangle({-100, -100, 5900, 2400});
            }
            break;
        default: {  // megapixel bitmaps, smoothly scaled
            const std::vector<std::uint32_t> pixels(1000 * 1000, 0x336699);
            const std::vector<std::uint8_t> dib = packDib(1000, 1000, pixels);
            const std::uint16_t halftone[] = {kStretchHalftone};
            w.record(static_cast<std::uint16_t>(Function::SetStretchBltMode), halftone);
            for (int i = 0; i < 2; ++i) {
                w.dibStretchBlt({0, 0, 5760, 2304}, {0, 0, 1000, 1000}, kSrcCopy, dib);
            }
            break;
        }
    }
    return w.finish();
}

void worstCase(benchmark::State& state) {
    QImage image(8415 * 192 / 1440, 2775 * 192 / 1440, QImage::Format_ARGB32_Premultiplied);
    quintrel::wmf::FontCache fonts;
    const std::vector<std::uint8_t> bytes = costlyPicture(static_cast<int>(state.range(0)));
    quintrel::wmf::PlayReport report;
    for (auto _ : state) {
        report = readAndDraw(bytes, image, fonts);
    }
    // How far the play got before the work bound stopped it.
    state.counters["file_kB"] = static_cast<double>(bytes.size()) / 1024;
    state.counters["records"] = static_cast<double>(report.recordsPlayed + report.recordsIgnored);
    state.counters["stopped"] = report.stoppedEarly ? 1 : 0;
}

void loadAndDrawBitmaps(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    const QSize box(8415 * dpi / 1440, 2775 * dpi / 1440);
    QImage image(box, QImage::Format_ARGB32_Premultiplied);
    quintrel::wmf::FontCache fonts;
    const std::vector<std::uint8_t> bytes = bitmapPicture();
    state.counters["file_kB"] = static_cast<double>(bytes.size()) / 1024;
    for (auto _ : state) {
        readAndDraw(bytes, image, fonts);
    }
}

void loadAndDraw(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    const QSize box(8415 * dpi / 1440, 2775 * dpi / 1440);
    QImage image(box, QImage::Format_ARGB32_Premultiplied);
    quintrel::wmf::FontCache fonts;  // as the picture box keeps one
    int k = 0;
    for (auto _ : state) {
        k = k % 8 + 1;
        QFile file(QStringLiteral(QUINTREL_DATA_DIR "/transforms%1.wmf").arg(k));
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        readAndDraw(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size())),
                    image, fonts);
    }
}

void readOnly(benchmark::State& state) {
    QFile file(QStringLiteral(QUINTREL_DATA_DIR "/transforms5.wmf"));
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        const auto result = quintrel::wmf::readMetafile(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size())));
        benchmark::DoNotOptimize(result.metafile.records.data());
    }
}

}  // namespace

BENCHMARK(loadAndDraw)->Arg(96)->Arg(192)->Unit(benchmark::kMillisecond);
BENCHMARK(readOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadAndDrawBitmaps)->Arg(96)->Arg(192)->Unit(benchmark::kMillisecond);
// 0 rectangles, 1 hatched ellipses, 2 crossing polygons, 3 text, 4 region strips, 5 bitmaps,
// 6 clip moves, 7 clip restores, 8 clip selections, 9 rectangles under a clip.
BENCHMARK(worstCase)->DenseRange(0, 9)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
