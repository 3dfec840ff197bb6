// The main window's placement in the per-user settings store: written when the window closes,
// never read back.
#pragma once

#include <QString>
#include <memory>

class QSettings;
class QWidget;

namespace quintrel {

// The window's outer bounds in twips; left and top are screen coordinates.
struct WindowPlacement {
    float left;
    float top;
    float width;
    float height;
};

// The frame bounds of window (its maximized bounds when maximized) in twips at its logical DPI.
WindowPlacement placementOf(const QWidget& window);

// A single-precision value as its shortest decimal text, "2430" or "1234.5".
QString shortestText(float value);

// The per-user settings store of the program: application name the Title. Keys live in the
// "Settings" group.
std::unique_ptr<QSettings> openSettingsStore();

// Writes "MainLeft", "MainTop", "MainWidth", "MainHeight", in this order. Returns false when the
// store could not be written; the caller carries on either way.
bool savePlacement(const WindowPlacement& placement);

}  // namespace quintrel
