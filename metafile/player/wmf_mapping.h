// The device context's mapping from logical units to picture units: map mode, window and
// viewport origins and extents, combined the way GDI combines them.
#pragma once

#include <cstdint>

#include "metafile/format/wmf_format.h"
#include "metafile/player/wmf_canvas.h"

namespace quintrel::wmf {

// The picture (device) space has `unitsPerInch` units per inch. Extents are never zero, so
// every scale is finite.
class Mapping {
  public:
    // The state a host sets up before playing: MM_ANISOTROPIC, the window `windowExt` wide
    // at `windowOrg`, the viewport the same size at `viewportOrg`.
    Mapping(PointF windowOrg, PointF viewportOrg, PointF extent, double unitsPerInch);

    std::uint16_t mode() const { return m_mode; }
    // The metric and English modes fix both extents, y up; MM_TEXT makes them 1:1; the two
    // scalable modes keep the extents they find. The origins are never touched.
    void setMode(std::uint16_t mode);

    void setWindowOrg(double x, double y);
    void setViewportOrg(double x, double y);
    void offsetWindowOrg(double dx, double dy);
    void offsetViewportOrg(double dx, double dy);
    // Extents change only in the two scalable modes and never to zero; false when ignored.
    bool setWindowExt(double x, double y);
    bool setViewportExt(double x, double y);
    // extent = extent * num / den, in integers as GDI does; false when ignored.
    bool scaleWindowExt(int xNum, int xDen, int yNum, int yDen);
    bool scaleViewportExt(int xNum, int xDen, int yNum, int yDen);

    double scaleX() const { return m_viewportExt.x / m_windowExt.x; }
    double scaleY() const { return m_viewportExt.y / m_windowExt.y; }
    // True when logical y grows the other way from picture y, x the same way, or the reverse:
    // the picture is mirrored, which turns GDI's text escapement around.
    bool mirrored() const { return scaleX() * scaleY() < 0; }
    PointF toDevice(double x, double y) const {
        return {(x - m_windowOrg.x) * scaleX() + m_viewportOrg.x,
                (y - m_windowOrg.y) * scaleY() + m_viewportOrg.y};
    }

  private:
    bool scalable() const { return m_mode == kMmIsotropic || m_mode == kMmAnisotropic; }
    void fixIsotropic();

    std::uint16_t m_mode = kMmAnisotropic;
    PointF m_windowOrg;
    PointF m_viewportOrg;
    PointF m_windowExt{1, 1};
    PointF m_viewportExt{1, 1};
    double m_unitsPerInch = 1;
};

}  // namespace quintrel::wmf
