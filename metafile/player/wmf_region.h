// A region as GDI keeps one: a set of non-overlapping rectangles. Used for clipping and for
// the region records. Every operation that would need more than kMaxRegionRects rectangles
// fails and leaves the region unchanged.
#pragma once

#include <span>
#include <vector>

#include "metafile/player/wmf_canvas.h"

namespace quintrel::wmf {

class Region {
  public:
    Region() = default;
    explicit Region(const RectF& rect) { add(rect); }

    const std::vector<RectF>& rects() const { return m_rects; }
    bool empty() const { return m_rects.empty(); }
    RectF bounds() const;

    // Adds a rectangle that overlaps none already held (the scans of a region record);
    // empty rectangles are dropped. False when the region is full.
    bool add(const RectF& rect);

    bool intersect(const RectF& rect);
    bool intersect(const Region& other);
    bool subtract(const RectF& rect);
    bool subtract(const Region& other);
    void offset(double dx, double dy);

    // The border of the region, `width` across and `height` down, inside its edges.
    bool frame(double width, double height);

  private:
    std::vector<RectF> m_rects;
};

}  // namespace quintrel::wmf
