#include "metafile/player/wmf_mapping.h"

#include <cmath>

namespace quintrel::wmf {

namespace {

// Logical units per inch of the metric and English modes; 0 for the others.
double unitsPerInchOf(std::uint16_t mode) {
    switch (mode) {
        case kMmLoMetric:
            return 254;
        case kMmHiMetric:
            return 2540;
        case kMmLoEnglish:
            return 100;
        case kMmHiEnglish:
            return 1000;
        case kMmTwips:
            return 1440;
        default:
            return 0;
    }
}

// GDI keeps extents as 32-bit integers; ScaleWindowExt divides in integers.
bool scaled(double& extent, int num, int den) {
    if (den == 0) {
        return false;
    }
    const double result = std::trunc(extent * num / den);
    if (result == 0 || !std::isfinite(result)) {
        return false;
    }
    extent = result;
    return true;
}

}  // namespace

Mapping::Mapping(PointF windowOrg, PointF viewportOrg, PointF extent, double unitsPerInch)
    : m_windowOrg(windowOrg),
      m_viewportOrg(viewportOrg),
      m_windowExt(extent),
      m_viewportExt(extent),
      m_unitsPerInch(unitsPerInch) {}

void Mapping::setMode(std::uint16_t mode) {
    if (mode < kMmText || mode > kMmAnisotropic) {
        return;
    }
    m_mode = mode;
    if (mode == kMmText) {
        m_windowExt = {1, 1};
        m_viewportExt = {1, 1};
    } else if (const double logical = unitsPerInchOf(mode); logical > 0) {
        m_windowExt = {logical, logical};
        m_viewportExt = {m_unitsPerInch, -m_unitsPerInch};
    }
}

void Mapping::setWindowOrg(double x, double y) {
    m_windowOrg = {x, y};
}

void Mapping::setViewportOrg(double x, double y) {
    m_viewportOrg = {x, y};
}

void Mapping::offsetWindowOrg(double dx, double dy) {
    m_windowOrg = {m_windowOrg.x + dx, m_windowOrg.y + dy};
}

void Mapping::offsetViewportOrg(double dx, double dy) {
    m_viewportOrg = {m_viewportOrg.x + dx, m_viewportOrg.y + dy};
}

bool Mapping::setWindowExt(double x, double y) {
    if (!scalable() || x == 0 || y == 0) {
        return false;
    }
    m_windowExt = {x, y};
    fixIsotropic();
    return true;
}

bool Mapping::setViewportExt(double x, double y) {
    if (!scalable() || x == 0 || y == 0) {
        return false;
    }
    m_viewportExt = {x, y};
    fixIsotropic();
    return true;
}

bool Mapping::scaleWindowExt(int xNum, int xDen, int yNum, int yDen) {
    PointF ext = m_windowExt;
    if (!scalable() || !scaled(ext.x, xNum, xDen) || !scaled(ext.y, yNum, yDen)) {
        return false;
    }
    m_windowExt = ext;
    fixIsotropic();
    return true;
}

bool Mapping::scaleViewportExt(int xNum, int xDen, int yNum, int yDen) {
    PointF ext = m_viewportExt;
    if (!scalable() || !scaled(ext.x, xNum, xDen) || !scaled(ext.y, yNum, yDen)) {
        return false;
    }
    m_viewportExt = ext;
    fixIsotropic();
    return true;
}

// In MM_ISOTROPIC a logical unit is as long across as down: the viewport extent of the axis
// with the larger scale shrinks to the other scale, keeping its sign.
void Mapping::fixIsotropic() {
    if (m_mode != kMmIsotropic) {
        return;
    }
    const double xdim = std::abs(scaleX());
    const double ydim = std::abs(scaleY());
    if (xdim > ydim) {
        m_viewportExt.x = std::copysign(ydim * std::abs(m_windowExt.x), m_viewportExt.x);
    } else {
        m_viewportExt.y = std::copysign(xdim * std::abs(m_windowExt.y), m_viewportExt.y);
    }
}

}  // namespace quintrel::wmf
