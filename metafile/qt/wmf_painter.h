// Draws a metafile with QPainter, scaled to fit a rectangle with its aspect ratio kept.
#pragma once

#include <QRectF>

#include "metafile/format/wmf_reader.h"
#include "metafile/player/wmf_interpreter.h"

class QPainter;

namespace quintrel::wmf {

class FontCache;

// The largest rectangle inside `target` with the picture's aspect ratio, centred.
QRectF fittedRect(const Metafile& metafile, const QRectF& target);

// Plays `metafile` into `painter`, scaled to fittedRect(target) and clipped to it. The
// painter's state is restored afterwards. `fonts` may be null; a widget that draws often
// passes its own cache.
PlayReport drawMetafile(QPainter& painter, const Metafile& metafile, const QRectF& target,
                        const PlayLimits& limits = {}, FontCache* fonts = nullptr);

}  // namespace quintrel::wmf
