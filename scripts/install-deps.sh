#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking and
# running Quintrel needs. Idempotent and non-interactive; skips apt entirely
# when everything is already present. Run as root (or with sudo available).
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ pkg-config
  # window toolkit, help tools (qhelpgenerator) and the SVG image plugin
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  qt6-svg-dev libqt6svg6
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # fuzzing: clang with libFuzzer and the sanitizer runtimes
  clang libclang-rt-14-dev
  # metric twins of Arial/Times New Roman and of Symbol for the formula pictures
  fontconfig fonts-liberation fonts-urw-base35
  # symbols (Wingdings, MT Extra) and East-Asian text in pictures from other programs
  fonts-symbola fonts-wqy-microhei
  # screenshots under a virtual X server
  xvfb xauth
  # independent metafile reader used by the picture tests
  libwmf-bin
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
