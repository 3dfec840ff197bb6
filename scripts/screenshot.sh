#!/usr/bin/env bash
# Renders the main window after the typical request (delta t 1 ns, N 8, ">>") to
# docs/screenshot.png at 96 dpi, and a 192-dpi copy beside the build for checking the layout on
# high-resolution screens. Runs on Qt's offscreen platform, so it needs no display.
#   scripts/screenshot.sh [build folder]   (default: build/dev, the dev preset's folder)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
if [[ "$build" == build/dev ]]; then
    cmake --preset dev >/dev/null
else
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target quintrel_render_window
export QT_QPA_PLATFORM=offscreen
"$build/tests/ui/quintrel_render_window" docs/screenshot.png
QT_FONT_DPI=192 "$build/tests/ui/quintrel_render_window" "$build/screenshot-192dpi.png"
