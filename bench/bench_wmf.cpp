// Load, read and draw one formula picture into a QImage the size of the main window's picture
// box (8415 × 2775 twips) at 96 and at 192 dpi. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <span>

#include "platform/wmf/qt_canvas.h"
#include "platform/wmf/wmf_painter.h"
#include "platform/wmf/wmf_reader.h"

namespace {

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
        const auto result = quintrel::wmf::readMetafile(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size())));
        image.fill(Qt::white);
        QPainter painter(&image);
        quintrel::wmf::drawMetafile(painter, result.metafile, QRectF(QPointF(0, 0), QSizeF(box)),
                                    {}, &fonts);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
