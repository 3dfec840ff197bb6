// Arbitrary bytes through the metafile reader and the QPainter player into a QImage, on the
// offscreen platform: the drawing code, fonts, clips, patterns and bitmaps under the
// sanitizers. Qt itself is Debian's build (not instrumented); our code around it is.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "metafile/player/wmf_frame.h"
#include "metafile/qt/qt_canvas.h"
#include "metafile/qt/wmf_painter.h"

namespace {

// Both live until the process ends: libFuzzer leaves through exit(), after Qt's own statics
// are gone, so destroying them then would crash in Qt.
QGuiApplication* application = nullptr;
quintrel::wmf::FontCache* fonts = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(*argc, *argv);
    // One cache for all inputs, as the picture box keeps one for all its paints.
    fonts = new quintrel::wmf::FontCache();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const quintrel::wmf::ReadResult result = quintrel::wmf::readPicture(std::span(data, size));
    // A small box as the main window's picture box is, at a scale that makes a picture unit
    // far less than a pixel and, for small frames, far more.
    QImage image(120, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    const quintrel::wmf::PlayReport report =
        quintrel::wmf::drawMetafile(painter, result.metafile, QRectF(0, 0, 120, 48), {}, fonts);
    painter.end();
    if (report.work > quintrel::wmf::kMaxPlayWork) {
        std::abort();  // work that would pass the bound is refused, never done
    }
    return 0;
}
