// TEXTOUT and EXTTEXTOUT: the run handed to the canvas, its spacing, and the current position.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "metafile/player/wmf_player.h"

namespace quintrel::wmf {

namespace {

// ExtTextOut options this player reads beyond opaque and clipped.
constexpr std::uint16_t kEtoPdy = 0x2000;  // the spacing array holds x, y pairs

}  // namespace

bool Player::setTextJustification(WordReader& in) {
    std::int16_t count = 0;
    std::int16_t extra = 0;
    if (!in.readI16(count) || !in.readI16(extra)) {
        return false;
    }
    m_dc.breakCount = std::max<int>(count, 0);
    m_dc.breakExtra = m_dc.breakCount > 0 ? extra : 0;
    return true;
}

void Player::drawText(double x, double y, std::string bytes, std::vector<double> advances,
                      std::optional<RectF> opaqueRect, std::optional<RectF> clipRect) {
    const bool updateCp = (m_dc.textAlign & kTaUpdateCp) != 0;
    const Mapping& mapping = m_dc.mapping;
    TextRun run;
    run.font = font();
    run.bytes = std::move(bytes);
    run.advances = std::move(advances);
    run.reference = updateCp ? toPicture(m_dc.currentX, m_dc.currentY) : toPicture(x, y);
    run.align = m_dc.textAlign;
    run.color = m_dc.textColor;
    if (m_dc.bkMode == kOpaque) {
        run.background = m_dc.bkColor;
    }
    if (opaqueRect) {
        run.opaqueRect = opaqueRect;
        run.background = m_dc.bkColor;
    }
    run.clipRect = clipRect;
    // Escapement turns counter-clockwise as the picture is seen; a mirrored mapping turns it
    // the other way on the picture, as GDI's compatible mode does.
    run.angle = (mapping.mirrored() ? -1.0 : 1.0) * m_dc.font.escapement / 10.0;
    run.charExtra = m_dc.charExtra * std::abs(mapping.scaleX());
    run.breakExtra = m_dc.breakExtra * std::abs(mapping.scaleX());
    run.breakCount = m_dc.breakCount;
    const double size = std::max(run.font.size, 1e-3);
    if (!spendOn({run.reference.x, run.reference.y,
                  run.reference.x + size * static_cast<double>(run.bytes.size()),
                  run.reference.y + size},
                 static_cast<std::size_t>(kCharWork * static_cast<double>(run.bytes.size())))) {
        return;
    }
    const double advance = m_canvas.drawText(run);
    if (!updateCp || !std::isfinite(advance)) {
        return;
    }
    // The position moves past left-aligned text and back before right-aligned text, along
    // the baseline; centred text leaves it where it was.
    double along = 0;
    switch (m_dc.textAlign & kTaHorizontalMask) {
        case kTaLeft:
            along = advance;
            break;
        case kTaRight:
            along = -advance;
            break;
        default:
            break;
    }
    const double radians = run.angle * std::numbers::pi / 180;
    const double dx = along * std::cos(radians) / mapping.scaleX();
    const double dy = -along * std::sin(radians) / mapping.scaleY();
    m_dc.currentX = std::clamp(m_dc.currentX + dx, -32768.0, 32767.0);
    m_dc.currentY = std::clamp(m_dc.currentY + dy, -32768.0, 32767.0);
}

bool Player::textOut(WordReader& in) {
    std::int16_t length = 0;
    std::string bytes;
    double x = 0;
    double y = 0;
    if (!in.readI16(length) || length < 0 || static_cast<std::size_t>(length) > kMaxTextLength ||
        !in.readBytes(static_cast<std::size_t>(length), bytes) || !readPoint(in, x, y)) {
        return false;
    }
    drawText(x, y, std::move(bytes), {}, std::nullopt, std::nullopt);
    return !m_exhausted;
}

bool Player::extTextOut(WordReader& in) {
    double x = 0;
    double y = 0;
    std::int16_t length = 0;
    std::uint16_t options = 0;
    if (!readPoint(in, x, y) || !in.readI16(length) || !in.readU16(options) || length < 0 ||
        static_cast<std::size_t>(length) > kMaxTextLength) {
        return false;
    }
    const auto count = static_cast<std::size_t>(length);
    const std::size_t textWords = (count + 1) / 2;
    std::optional<RectF> rect;
    // Some writers store the rectangle without either option: the record's size tells.
    const std::size_t rest = in.remaining();
    const bool strayRect = rest != textWords + count && rest != textWords &&
                           (rest == 4 + textWords || rest == 4 + textWords + count);
    if ((options & (kEtoOpaque | kEtoClipped)) != 0 || strayRect) {
        RectF r;
        if (!readRect(in, r, false)) {
            return false;
        }
        rect = r;
    }
    std::string bytes;
    if (!in.readBytes(count, bytes)) {
        return false;
    }
    // The dx array may be missing or shorter than the string; what is there is used.
    std::vector<double> advances;
    const double sx = m_dc.mapping.scaleX();
    const bool pairs = (options & kEtoPdy) != 0;
    for (std::size_t i = 0; i < bytes.size() && in.remaining() >= (pairs ? 2u : 1u); ++i) {
        std::int16_t dx = 0;
        std::int16_t dy = 0;
        in.readI16(dx);
        if (pairs) {
            in.readI16(dy);
        }
        advances.push_back(dx * sx);
    }
    drawText(x, y, std::move(bytes), std::move(advances),
             (options & kEtoOpaque) != 0 ? rect : std::nullopt,
             (options & kEtoClipped) != 0 ? rect : std::nullopt);
    return !m_exhausted;
}

}  // namespace quintrel::wmf
