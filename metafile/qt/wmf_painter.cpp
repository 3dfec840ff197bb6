#include "metafile/qt/wmf_painter.h"

#include <QPainter>
#include <cmath>

#include "metafile/qt/qt_canvas.h"

namespace quintrel::wmf {

QRectF fittedRect(const Metafile& metafile, const QRectF& target) {
    const PlaceableHeader& p = metafile.placeable;
    const double width = std::abs(static_cast<double>(p.right) - p.left);
    const double height = std::abs(static_cast<double>(p.bottom) - p.top);
    if (width <= 0 || height <= 0 || !target.isValid()) {
        return {};
    }
    const double scale = std::min(target.width() / width, target.height() / height);
    const QSizeF size(width * scale, height * scale);
    return QRectF(target.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

PlayReport drawMetafile(QPainter& painter, const Metafile& metafile, const QRectF& target,
                        const PlayLimits& limits, FontCache* fonts) {
    const QRectF frame = fittedRect(metafile, target);
    if (frame.isEmpty()) {
        return {};
    }
    const PlaceableHeader& p = metafile.placeable;
    const double scale = frame.width() / std::abs(static_cast<double>(p.right) - p.left);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setClipRect(frame, Qt::IntersectClip);
    painter.translate(frame.topLeft());
    painter.scale(scale, scale);
    FontCache localFonts;
    QtCanvas canvas(painter, fonts != nullptr ? *fonts : localFonts);
    const PlayReport report = play(metafile, canvas, limits);
    painter.restore();
    return report;
}

}  // namespace quintrel::wmf
