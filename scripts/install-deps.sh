#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking and
# running Quintrel needs. Idempotent and non-interactive; skips apt entirely
# when everything is already present. Run as root (or with sudo available).
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ pkg-config
  # window toolkit and help tools (qhelpgenerator)
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # fuzzing: clang with libFuzzer and the sanitizer runtimes
  clang libclang-rt-14-dev
  # metric twins of Arial/Times New Roman and of Symbol for the formula pictures
  fontconfig fonts-liberation fonts-urw-base35
  # the pictures' text drawn from the face files: FreeType and fontconfig headers and libraries
  libfreetype-dev libfontconfig-dev
  # symbols (Wingdings, MT Extra) and East-Asian text in pictures from other programs
  fonts-symbola fonts-wqy-microhei
  # screenshots under a virtual X server
  xvfb xauth
  # independent metafile reader used by the picture tests
  libwmf-bin
  # the help viewer (Qt Assistant)
  assistant-qt6
  # the Windows build: the cross compiler, GoogleTest's sources, Wine to run the tests under, and
  # what the Windows screenshot types and grabs with
  g++-mingw-w64-x86-64 googletest wine wine64 fonts-wine imagemagick xdotool
  # the Windows build's help: the HTML Help compiler (chmcmd) and a CHM reader that checks its file
  fp-utils libchm-bin
  # the Debian package (cpack, dpkg-shlibdeps, dpkg-buildflags), its validators, its policy
  # checker and its start-up test
  dpkg-dev desktop-file-utils appstream lintian strace
  # the Windows installer (makensis) and the Windows ZIP (Info-ZIP's zip, without the host's fields)
  nsis zip
  # where two builds of a release file differ (scripts/check-reproducible.sh)
  diffoscope
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
