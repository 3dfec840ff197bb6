#!/usr/bin/env bash
# The Windows leg: builds Quintrel and its tests for 64-bit Windows and runs every test under Wine,
# with a virtual X server for the windows Wine itself opens (message boxes of the system, the HTML
# Help viewer). The Windows Qt is built once into a cache outside the checkout and reused: on 2
# cores the first run adds its build (25 minutes on a quiet machine), later runs take minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build-qt-windows.sh
jobs=$(nproc)

cmake --preset windows
cmake --build --preset windows -j "$jobs"
xvfb-run -a ctest --preset windows -j "$jobs"
