#include "metafile/player/wmf_region.h"

#include <algorithm>

#include "metafile/format/wmf_format.h"

namespace quintrel::wmf {

namespace {

bool isEmpty(const RectF& r) {
    return !(r.left < r.right && r.top < r.bottom);
}

RectF overlap(const RectF& a, const RectF& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// The parts of `a` outside `b`: up to four rectangles, none overlapping.
void cut(const RectF& a, const RectF& b, std::vector<RectF>& out) {
    const RectF inner = overlap(a, b);
    if (isEmpty(inner)) {
        out.push_back(a);
        return;
    }
    const RectF pieces[] = {
        {a.left, a.top, a.right, inner.top},
        {a.left, inner.bottom, a.right, a.bottom},
        {a.left, inner.top, inner.left, inner.bottom},
        {inner.right, inner.top, a.right, inner.bottom},
    };
    for (const RectF& piece : pieces) {
        if (!isEmpty(piece)) {
            out.push_back(piece);
        }
    }
}

}  // namespace

RectF Region::bounds() const {
    if (m_rects.empty()) {
        return {};
    }
    RectF out = m_rects.front();
    for (const RectF& r : m_rects) {
        out = {std::min(out.left, r.left), std::min(out.top, r.top), std::max(out.right, r.right),
               std::max(out.bottom, r.bottom)};
    }
    return out;
}

bool Region::add(const RectF& rect) {
    if (isEmpty(rect)) {
        return true;
    }
    if (m_rects.size() >= kMaxRegionRects) {
        return false;
    }
    m_rects.push_back(rect);
    return true;
}

bool Region::intersect(const RectF& rect) {
    std::vector<RectF> out;
    for (const RectF& r : m_rects) {
        if (const RectF piece = overlap(r, rect); !isEmpty(piece)) {
            out.push_back(piece);
        }
    }
    m_rects = std::move(out);
    return true;
}

bool Region::intersect(const Region& other) {
    std::vector<RectF> out;
    for (const RectF& a : m_rects) {
        for (const RectF& b : other.m_rects) {
            if (const RectF piece = overlap(a, b); !isEmpty(piece)) {
                if (out.size() >= kMaxRegionRects) {
                    return false;
                }
                out.push_back(piece);
            }
        }
    }
    m_rects = std::move(out);
    return true;
}

bool Region::subtract(const RectF& rect) {
    std::vector<RectF> out;
    for (const RectF& r : m_rects) {
        cut(r, rect, out);
    }
    if (out.size() > kMaxRegionRects) {
        return false;
    }
    m_rects = std::move(out);
    return true;
}

bool Region::subtract(const Region& other) {
    Region result = *this;
    for (const RectF& r : other.m_rects) {
        if (!result.subtract(r)) {
            return false;
        }
    }
    *this = std::move(result);
    return true;
}

void Region::offset(double dx, double dy) {
    for (RectF& r : m_rects) {
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
}

// What stays of the region when it moves by the frame width or height in any of the four
// directions is its interior; the border is the rest.
bool Region::frame(double width, double height) {
    Region interior = *this;
    const double shifts[][2] = {{-width, 0}, {width, 0}, {0, -height}, {0, height}};
    for (const auto& shift : shifts) {
        Region moved = *this;
        moved.offset(shift[0], shift[1]);
        if (!interior.intersect(moved)) {
            return false;
        }
    }
    return subtract(interior);
}

}  // namespace quintrel::wmf
