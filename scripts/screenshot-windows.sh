#!/usr/bin/env bash
# Takes docs/screenshot-windows.png: the Windows program of the windows build, run by Wine on a
# virtual X server with Qt's windows platform, after the typical request (delta t 1 ns, N 8, ">>")
# typed with the keyboard alone, as a user would. Wine draws the window in a Windows desktop of
# its own, frame included. On closing, the program writes its placement into Wine's registry; the
# script prints it.
#   scripts/screenshot-windows.sh      (after cmake --build --preset windows)
set -euo pipefail
cd "$(dirname "$0")/.."
program="build/windows/app/Quintrel.exe"
[[ -f $program ]] || { echo "no $program: build the windows preset first" >&2; exit 1; }
export QUINTREL_WINEPREFIX="$PWD/build/windows/wine-screenshot"
export QT_QPA_PLATFORM=windows
out="docs/screenshot-windows.png"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1

scripts/wine-run.sh explorer /desktop=Quintrel,720x520 "$program" &
# Wine's desktop window comes first, then the program draws its main window into it.
for _ in $(seq 120); do
    xdotool search --name '^Quintrel - Wine desktop$' >/dev/null 2>&1 && break
    sleep 0.5
done
sleep 8  # the program starts and paints its first picture
desktop=$(xdotool search --name '^Quintrel - Wine desktop$' | head -1)
xdotool windowfocus --sync "$desktop" || true
keys() { xdotool key --delay 150 "$@"; sleep 0.5; }
keys Tab Tab          # Option1_0 -> Option1_1 -> Text1
xdotool type --delay 150 1
keys Tab Tab Tab Tab  # Combo1, Text3, Combo2, Text2
xdotool type --delay 150 8
keys Tab Return       # Command1 (">>")
sleep 2
import -window "$desktop" "$out"
echo "wrote $out"

keys alt+f x          # File > Exit
sleep 3
WINEPREFIX=$QUINTREL_WINEPREFIX wine reg query 'HKCU\Software\Quintrel\Quintrel\Settings' || true
WINEPREFIX=$QUINTREL_WINEPREFIX wineserver -k || true
