// Twips (1/1440 inch) and pixels at a paint device's logical resolution.
#pragma once

class QPaintDevice;
class QRect;

namespace quintrel {

inline constexpr double kTwipsPerInch = 1440.0;

// pixels = twips × logical DPI / 1440, rounded to the nearest pixel.
int twipsToPixelsX(const QPaintDevice& device, int twips);
int twipsToPixelsY(const QPaintDevice& device, int twips);
QRect twipsToPixels(const QPaintDevice& device, int left, int top, int width, int height);

// twips = pixels × 1440 / logical DPI, unrounded.
double pixelsToTwipsX(const QPaintDevice& device, int pixels);
double pixelsToTwipsY(const QPaintDevice& device, int pixels);

}  // namespace quintrel
