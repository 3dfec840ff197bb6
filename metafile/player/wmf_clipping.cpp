// The clip region and the region records. Clips are kept in picture units, as GDI keeps them
// in device units: a later change of mapping does not move them.
#include <algorithm>
#include <span>
#include <utility>
#include <vector>

#include "metafile/player/wmf_player.h"

namespace quintrel::wmf {

namespace {

// What a clip of `rects` makes the canvas do. Rasterising an outline sorts the edges that
// cross each line, so a line crossed c times costs about c², far more than c lines crossed
// once; an average over the clip's height would miss a dense band.
struct ClipLoad {
    double squaredCrossings = 0;  // the sum of c² over the lines, picture units high
    double maxCrossings = 0;      // the most edges crossing one line
    double height = 0;            // the rectangles' total height, picture units
};

ClipLoad clipLoad(std::span<const RectF> rects) {
    ClipLoad load;
    std::vector<std::pair<double, int>> edges;  // where the crossings change, by how many
    edges.reserve(2 * rects.size());
    for (const RectF& r : rects) {
        edges.emplace_back(r.top, 2);
        edges.emplace_back(r.bottom, -2);
        load.height += r.bottom - r.top;
    }
    std::sort(edges.begin(), edges.end());  // at one height, ends before starts
    double crossings = 0;
    double y = edges.empty() ? 0 : edges.front().first;
    for (const auto& [at, change] : edges) {
        load.squaredCrossings += crossings * crossings * (at - y);
        y = at;
        crossings += change;
        load.maxCrossings = std::max(load.maxCrossings, crossings);
    }
    return load;
}

}  // namespace

std::optional<Region> Player::pictureRegion(const Region& logical) {
    if (!spend(static_cast<double>(logical.rects().size()))) {
        return std::nullopt;
    }
    Region out;
    for (const RectF& r : logical.rects()) {
        out.add(pictureRect(r.left, r.top, r.right, r.bottom));
    }
    return out;
}

RectF Player::reach() const {
    return {-kCoordinateSlack * m_frameWidth, -kCoordinateSlack * m_frameHeight,
            (1 + kCoordinateSlack) * m_frameWidth, (1 + kCoordinateSlack) * m_frameHeight};
}

// The clip keeps any offset, as GDI's does (it may move away and back); the canvas gets only
// the part within the reach of drawing coordinates. The canvas rebuilds its clip from every
// rectangle each time.
bool Player::applyClip() {
    if (!m_dc.clip) {
        if (!spend(kCallWork)) {
            return false;
        }
        m_clipHeight = m_clipCrossings = 0;
        m_canvas.setClip(std::nullopt);
        return true;
    }
    Region shown = *m_dc.clip;
    shown.intersect(reach());
    const ClipLoad load = clipLoad(shown.rects());
    // Rasterised antialiased, as one outline of all the rectangles: charged as spendOn charges
    // the outline of a fill, line by line.
    const double units = kCallWork + static_cast<double>(m_dc.clip->rects().size()) +
                         kClipRectWork * static_cast<double>(shown.rects().size()) +
                         kFrameWork * load.squaredCrossings / (40 * m_frameHeight);
    if (!spend(units)) {
        return false;
    }
    m_clipHeight = load.height;
    m_clipCrossings = load.maxCrossings;
    m_canvas.setClip(shown.rects());
    return true;
}

// Every line drawn under the clip walks the clip's spans on that line.
double Player::clipDrawCost(const RectF& bounds) const {
    const double lines =
        std::clamp(bounds.bottom, 0.0, m_frameHeight) - std::clamp(bounds.top, 0.0, m_frameHeight);
    return kClipLineWork * std::min(m_clipHeight, m_clipCrossings / 2 * std::abs(lines)) /
           m_frameHeight;
}

// INTERSECTCLIPRECT and EXCLUDECLIPRECT store bottom, right, top, left. Excluding from no
// clip at all excludes from everything the picture can show.
bool Player::clipRect(WordReader& in, bool exclude) {
    RectF r;
    if (!readRect(in, r, true) || !spend(kCallWork)) {
        return false;
    }
    Region clip = m_dc.clip.value_or(
        Region({-4 * m_frameWidth, -4 * m_frameHeight, 5 * m_frameWidth, 5 * m_frameHeight}));
    if (exclude ? !clip.subtract(r) : !clip.intersect(r)) {
        return false;
    }
    m_dc.clip = std::move(clip);
    return applyClip();
}

bool Player::offsetClip(WordReader& in) {
    double x = 0;
    double y = 0;
    if (!readPoint(in, x, y)) {
        return false;
    }
    if (!m_dc.clip) {
        return true;
    }
    m_dc.clip->offset(x * m_dc.mapping.scaleX(), y * m_dc.mapping.scaleY());
    return applyClip();
}

// Index 0 stands for no region: the clip is lifted, as GDI does for a NULL region.
bool Player::selectClipRegion(WordReader& in) {
    std::uint16_t index = 0;
    if (!in.readU16(index)) {
        return false;
    }
    if (index == 0) {
        m_dc.clip.reset();
        return applyClip();
    }
    const Region* region = objectAt<Region>(index);
    return region != nullptr && clipTo(*region);
}

bool Player::clipTo(const Region& logical) {
    std::optional<Region> clip = pictureRegion(logical);
    if (!clip) {
        return false;
    }
    m_dc.clip = std::move(clip);
    return applyClip();
}

// FILLREGION stores brush, region; FRAMEREGION height, width, brush, region; INVERTREGION
// and PAINTREGION the region alone.
bool Player::regionRecord(Function function, WordReader& in) {
    std::uint16_t words[4] = {};
    const std::size_t count = function == Function::FrameRegion  ? 4
                              : function == Function::FillRegion ? 2
                                                                 : 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (!in.readU16(words[i])) {
            return false;
        }
    }
    const Region* logical = objectAt<Region>(words[count - 1]);
    if (logical == nullptr) {
        return false;
    }
    std::optional<Region> region = pictureRegion(*logical);
    if (!region) {
        return false;
    }
    Brush fill;
    BlitOp op = BlitOp::Copy;
    switch (function) {
        case Function::InvertRegion:
            op = BlitOp::Invert;
            break;
        case Function::PaintRegion:
            fill = brush();
            break;
        default: {
            const LogBrush* log = objectAt<LogBrush>(words[count - 2]);
            if (log == nullptr) {
                return false;
            }
            fill = brushOf(*log);
            break;
        }
    }
    if (function == Function::FrameRegion) {
        const double width = toPictureWidth(static_cast<std::int16_t>(words[1]));
        const double height = toPictureHeight(static_cast<std::int16_t>(words[0]));
        const double n = static_cast<double>(region->rects().size());
        if (!spend(4 * n * n) || !region->frame(width, height)) {
            return false;
        }
    }
    // A rectangle of a region costs about what four points of a polygon cost.
    if (!spendOn(region->bounds(), 4 * region->rects().size(), &fill)) {
        return false;
    }
    m_canvas.fillRects(region->rects(), fill, op);
    return true;
}

}  // namespace quintrel::wmf
