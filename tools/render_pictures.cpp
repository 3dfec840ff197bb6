// Renders metafiles to PNG with the project's own player, for inspecting the pictures:
//   quintrel_render_pictures <out folder> <dpi> <box|full> <file.wmf>...
// "box" draws into the main window's picture box (8415 × 2775 twips), "full" at the
// picture's own size.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <span>

#include "metafile/player/wmf_frame.h"
#include "metafile/qt/wmf_painter.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <out folder> <dpi> <box|full> <file.wmf>...\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const double dpi = std::atof(argv[2]);
    const bool box = std::string(argv[3]) == "box";
    int failures = 0;
    for (int i = 4; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: cannot open\n", argv[i]);
            ++failures;
            continue;
        }
        const QByteArray bytes = file.readAll();
        const auto result = quintrel::wmf::readPicture(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size())));
        if (!result.ok()) {
            std::fprintf(stderr, "%s: %s\n", argv[i],
                         quintrel::wmf::describe(*result.error).c_str());
            ++failures;
            continue;
        }
        const auto& p = result.metafile.placeable;
        const QSize size = box ? QSize(qRound(8415 * dpi / 1440), qRound(2775 * dpi / 1440))
                               : QSize(qRound((p.right - p.left) * dpi / p.inch),
                                       qRound((p.bottom - p.top) * dpi / p.inch));
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        quintrel::wmf::drawMetafile(painter, result.metafile, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        const QString out = folder + "/" + QFileInfo(file).completeBaseName() +
                            QStringLiteral("-%1-%2.png").arg(box ? "box" : "full").arg(dpi);
        if (!image.save(out)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
