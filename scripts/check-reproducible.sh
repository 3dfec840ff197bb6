#!/usr/bin/env bash
# Checks that the release files are a function of the commit: builds the Debian package, the
# Windows ZIP and the Windows installer twice from two clean clones of this checkout's HEAD, in
# two different folders, the second build at least a minute after the first began and with
# another umask and time zone, and compares the files byte for byte. A file that differs is
# named, and diffoscope (when installed) says where; its report is kept in the work folder.
#
#   bash scripts/check-reproducible.sh [deb] [windows]    (both when none is named)
#
#   QUINTREL_REPRO_DIR   the work folder (default: a new folder under ${TMPDIR:-/tmp}); kept
#                        when a file differs or the build fails, removed otherwise
#   QUINTREL_QT_WINDOWS  the Windows Qt, as for the windows preset
#   QUINTREL_REPRO_CCACHE=no  no ccache, even when it is installed: both builds compile everything
#
# Uncommitted changes are not checked: the clones hold HEAD. The first build uses ccache when it
# is installed; the second compiles everything itself (CCACHE_RECACHE), so a cached object can
# never make the two agree. The Windows packages also depend on the Windows Qt in its cache, which
# is built once (README, "Rebuilding the release files"): both builds use the same one.
# Exit status: 0 all identical, 1 a file differs, 2 a build failed or the call was wrong.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
log() { echo "check-reproducible: $*"; }
die() {
    log "error: $*" >&2
    exit 2
}

want_deb=0 want_windows=0
for arg in "$@"; do
    case $arg in
    deb) want_deb=1 ;;
    windows) want_windows=1 ;;
    *) die "unknown package kind '$arg' (deb, windows)" ;;
    esac
done
((want_deb || want_windows)) || want_deb=1 want_windows=1

commit=$(git -C "$repo" rev-parse HEAD) || die "$repo is not a git checkout"
[[ -z $(git -C "$repo" status --porcelain --untracked-files=no) ]] ||
    log "note: uncommitted changes in $repo are not part of the check (it builds $commit)"

bash "$repo/scripts/install-deps.sh" >/dev/null
if ((want_windows)); then
    qt=$(bash "$repo/scripts/build-qt-windows.sh")
    export QUINTREL_QT_WINDOWS=$qt
fi

work=${QUINTREL_REPRO_DIR:-$(mktemp -d "${TMPDIR:-/tmp}/quintrel-repro.XXXXXX")}
mkdir -p "$work"
work=$(cd "$work" && pwd -P)
[[ -z $(ls -A "$work") ]] || die "$work is not empty"

# The two builds differ in folder (name and depth), umask, time zone and time of day.
first_src=$work/one/quintrel
second_src=$work/second-build/from/another/checkout
first_umask=0022 second_umask=0077
# POSIX time zones, which need no time zone data: UTC, and UTC+14 (another date for most of
# the day).
first_tz=UTC0 second_tz='<+14>-14'

# SOURCE_DATE_EPOCH is left to the build, which takes the commit's time. Compilers are the
# build's own; only ccache is added.
unset SOURCE_DATE_EPOCH CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
have_ccache=0
[[ ${QUINTREL_REPRO_CCACHE:-yes} != no ]] && command -v ccache >/dev/null && have_ccache=1

# build <source> <output> <umask> <time zone> <ccache: use|recache>
build() {
    local src=$1 out=$2 mask=$3 zone=$4 cache=$5
    mkdir -p "$out"
    # Not tested with || or if: inside, set -e must stop the build at the first failure.
    set +e
    (
        set -e
        umask "$mask"
        export TZ=$zone
        if ((have_ccache)); then
            export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
            export CCACHE_BASEDIR=$src
            [[ $cache == recache ]] && export CCACHE_RECACHE=1
        fi
        git clone --quiet --no-checkout "$repo" "$src"
        git -C "$src" -c advice.detachedHead=false checkout --quiet --detach "$commit"
        cd "$src"
        if ((want_deb)); then
            cmake --preset dev -DQUINTREL_TESTS=OFF -DQUINTREL_BENCH=OFF
            cmake --build --preset dev
            cpack --config build/dev/CPackConfig.cmake -B "$out/deb"
        fi
        if ((want_windows)); then
            # The Wine prefix that renders the help's pictures is the clone's own.
            cmake --preset windows -DQUINTREL_TESTS=OFF
            cmake --build --preset windows
            cpack --config build/windows/CPackConfig.cmake -B "$out/windows"
        fi
    ) >"$out.log" 2>&1
    local status=$?
    set -e
    if ((status)); then
        tail -n 30 "$out.log" >&2
        die "the build in $src failed; its log is $out.log"
    fi
}

if ((have_ccache)); then
    log "ccache: the first build takes objects from it, the second compiles everything itself"
else
    log "no ccache: both builds compile everything"
fi
started=$(date +%s)
log "first build: $first_src (umask $first_umask, TZ=$first_tz)"
build "$first_src" "$work/out-one" "$first_umask" "$first_tz" use
wait_for=$((started + 60 - $(date +%s)))
if ((wait_for > 0)); then
    log "waiting ${wait_for} s, so the second build begins a minute after the first"
    sleep "$wait_for"
fi
log "second build: $second_src (umask $second_umask, TZ=$second_tz)," \
    "$(($(date +%s) - started)) s after the first began"
build "$second_src" "$work/out-two" "$second_umask" "$second_tz" recache

version=$(sed -n 's/^project(Quintrel VERSION \([0-9.]*\).*/\1/p' "$first_src/CMakeLists.txt")
files=()
((want_deb)) && files+=("deb/quintrel_${version}_$(dpkg --print-architecture).deb")
((want_windows)) && files+=("windows/Quintrel-$version-win64.zip"
    "windows/Quintrel-$version-win64.exe")

status=0
for file in "${files[@]}"; do
    one=$work/out-one/$file two=$work/out-two/$file
    [[ -f $one && -f $two ]] || die "$file was not built (see $work/out-one.log, $work/out-two.log)"
    if cmp -s "$one" "$two"; then
        log "identical: $(basename "$file") ($(stat -c %s "$one") bytes," \
            "sha256 $(sha256sum "$one" | cut -c1-16))"
        continue
    fi
    status=1
    log "DIFFERENT: $(basename "$file")"
    report=$work/diffoscope-$(basename "$file").txt
    if command -v diffoscope >/dev/null; then
        diffoscope --no-progress --text "$report" "$one" "$two" >/dev/null || true
        head -n 80 "$report"
        log "diffoscope's whole report: $report"
    else
        cmp -l "$one" "$two" | head -n 20
        log "(install diffoscope to see which part of the file differs)"
    fi
done

if ((status)); then
    log "the release files of $commit are not reproducible; both builds are kept in $work"
    exit 1
fi
log "the release files of $commit are reproducible ($(($(date +%s) - started)) s)"
if [[ -z ${QUINTREL_REPRO_DIR:-} ]]; then rm -rf "$work"; fi
