// The clip region and the region records. Clips are kept in picture units, as GDI keeps them
// in device units: a later change of mapping does not move them.
#include <algorithm>

#include "platform/wmf/wmf_player.h"

namespace quintrel::wmf {

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
// the part within the reach of drawing coordinates.
void Player::applyClip() {
    if (m_dc.clip) {
        Region shown = *m_dc.clip;
        shown.intersect(reach());
        m_canvas.setClip(shown.rects());
    } else {
        m_canvas.setClip(std::nullopt);
    }
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
    applyClip();
    return true;
}

bool Player::offsetClip(WordReader& in) {
    double x = 0;
    double y = 0;
    if (!readPoint(in, x, y)) {
        return false;
    }
    if (m_dc.clip) {
        m_dc.clip->offset(x * m_dc.mapping.scaleX(), y * m_dc.mapping.scaleY());
        applyClip();
    }
    return true;
}

// Index 0 stands for no region: the clip is lifted, as GDI does for a NULL region.
bool Player::selectClipRegion(WordReader& in) {
    std::uint16_t index = 0;
    if (!in.readU16(index)) {
        return false;
    }
    if (index == 0) {
        m_dc.clip.reset();
        applyClip();
        return true;
    }
    const Region* region = objectAt<Region>(index);
    if (region == nullptr) {
        return false;
    }
    std::optional<Region> clip = pictureRegion(*region);
    if (!clip) {
        return false;
    }
    m_dc.clip = std::move(clip);
    applyClip();
    return true;
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
