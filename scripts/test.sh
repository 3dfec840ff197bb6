#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the GoogleTest suites (Qt
# windows on the offscreen platform), the same suites again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and, when clang is present, a short smoke run of each libFuzzer
# target. On 2 cores the whole run takes about 20 minutes from a fresh clone, half of it the
# sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake --preset dev
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

if command -v clang++ >/dev/null; then
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$jobs"
  ctest --preset fuzz
else
  echo "test.sh: clang++ not found, fuzz smoke runs skipped"
fi
