#include "widgets/twips.h"

#include <QPaintDevice>
#include <QRect>
#include <cmath>

namespace quintrel {

namespace {

int toPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / kTwipsPerInch));
}

}  // namespace

int twipsToPixelsX(const QPaintDevice& device, int twips) {
    return toPixels(twips, device.logicalDpiX());
}

int twipsToPixelsY(const QPaintDevice& device, int twips) {
    return toPixels(twips, device.logicalDpiY());
}

QRect twipsToPixels(const QPaintDevice& device, int left, int top, int width, int height) {
    return {twipsToPixelsX(device, left), twipsToPixelsY(device, top),
            twipsToPixelsX(device, width), twipsToPixelsY(device, height)};
}

double pixelsToTwipsX(const QPaintDevice& device, int pixels) {
    return pixels * kTwipsPerInch / device.logicalDpiX();
}

double pixelsToTwipsY(const QPaintDevice& device, int pixels) {
    return pixels * kTwipsPerInch / device.logicalDpiY();
}

}  // namespace quintrel
