#!/usr/bin/env bash
# Builds Qt (qtbase only) for 64-bit Windows once, from Debian's own qt6-base source, into a
# cache outside the checkout, and prints the cache's path on stdout (progress goes to stderr).
#
#   QUINTREL_QT_WINDOWS  where the Windows Qt goes (default /var/cache/quintrel/qt6-6.4.2-mingw64)
#
# A stamp file written last marks a complete cache; with it present the script only prints the
# path (and removes a work folder that an interruption after the stamp left behind). An
# interrupted run resumes from its work folder (<cache>.work, removed on success).
# Run as root on Debian 12: it installs the packages it needs with apt-get. The machine's apt
# configuration is left alone; the source package is fetched through a private source list made
# from the machine's own Debian entries.
set -euo pipefail

readonly qt_version=6.4.2
repo_dir=$(cd "$(dirname "$0")/.." && pwd)
readonly repo_dir

prefix=${QUINTREL_QT_WINDOWS:-/var/cache/quintrel/qt6-$qt_version-mingw64}
prefix=$(realpath -m -- "$prefix")
readonly prefix
readonly stamp=$prefix/quintrel-complete.stamp
readonly work=$prefix.work

# stdout carries only the path; everything else, the build's output included, goes to stderr.
exec 3>&1 1>&2

log() { echo "build-qt-windows: $*"; }
die() {
    log "error: $*"
    exit 1
}

finish() {
    # The stamp is written before the work folder is removed: a run stopped in between leaves
    # gigabytes that nothing needs any more.
    if [[ -e $work ]]; then
        log "removing the work folder $work left by an earlier build"
        rm -rf -- "$work" || log "warning: could not remove $work"
    fi
    log "Qt $qt_version for Windows is in $prefix"
    echo "$prefix" >&3
    exit 0
}

[[ -f $stamp ]] && finish

# Two developers starting this at once must not build into the same folders: the second waits
# and then finds the stamp.
mkdir -p "$(dirname "$prefix")"
exec 9>"$(dirname "$prefix")/.$(basename "$prefix").lock"
if ! flock -n 9; then
    log "another build of this cache is running; waiting for it"
    flock 9
fi
[[ -f $stamp ]] && finish

# --- packages -------------------------------------------------------------------------------

# Host tools (moc, rcc, uic and their CMake packages) come from the Debian Qt of the same
# version: qt6-base-dev holds the packages QT_HOST_PATH needs and pulls in qt6-base-dev-tools
# and qmake6, whose files those packages check for. dpkg-dev brings dpkg-source, patch and xz.
packages=(g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev qt6-base-dev qt6-base-dev-tools
    perl)

install_missing_packages() {
    local p status missing=()
    for p in "${packages[@]}"; do
        status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
        [[ $status == "install ok installed" ]] || missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    log "installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # Other developers may be installing at the same time: wait for the lock instead of failing.
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# The host tools must be the Qt version that is built for Windows.
check_host_qt() {
    local version
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    version=${version#*:}
    version=${version%%[+~-]*}
    [[ $version == "$qt_version" ]] ||
        die "the host's Qt is $version, but the tools for building Qt $qt_version must be $qt_version"
}

# --- source ---------------------------------------------------------------------------------

# A binary source is Debian's when it is signed by Debian's archive key, or (with no key named)
# when it is a debian.org server or a mirror's .../debian or .../debian-security folder.
readonly awk_is_debian='
function is_debian(uris, signed,    n, i, u) {
    if (signed != "") return signed ~ /debian-archive-keyring/
    n = split(uris, u, /[ \t]+/)
    for (i = 1; i <= n; i++)
        if (u[i] ~ /^[a-z+]+:\/\/([^\/]*\.)?debian\.org([:\/]|$)/ || u[i] ~ /\/debian(-security)?\/?$/)
            return 1
    return 0
}'

# deb822 files: each enabled stanza of Debian's with binary or source types becomes a deb-src
# stanza; comments and the Enabled field are dropped, continuation lines (inline keys) kept.
deb822_to_source_stanzas() {
    awk "$awk_is_debian"'
    BEGIN { RS = ""; FS = "\n" }
    {
        body = ""; types = ""; uris = ""; signed = ""; enabled = "yes"; field = ""
        for (i = 1; i <= NF; i++) {
            line = $i
            if (line ~ /^#/) continue
            if (line ~ /^[ \t]/) {
                if (field != "types" && field != "enabled") body = body line "\n"
                continue
            }
            field = tolower(line); sub(/:.*/, "", field)
            value = line; sub(/^[^:]*:[ \t]*/, "", value)
            if (field == "types") { types = value; continue }
            if (field == "enabled") { enabled = tolower(value); continue }
            if (field == "uris") uris = value
            if (field == "signed-by") signed = value == "" ? "(inline key)" : value
            body = body line "\n"
        }
        if (enabled == "no" || types !~ /(^|[ \t])deb(-src)?([ \t]|$)/) next
        if (!is_debian(uris, signed)) next
        printf "Types: deb-src\n%s\n", body
    }' "$@"
}

# One-line files: "deb [options] uri suite components" of Debian's become "deb-src" lines.
one_line_to_source_lines() {
    awk "$awk_is_debian"'
    $1 != "deb" && $1 != "deb-src" { next }
    {
        options = ""; i = 2
        if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) options = options " " $(i++); options = options " " $(i++) }
        signed = options ~ /signed-by=/ ? options : ""
        if (!is_debian($i, signed)) next
        line = $0; sub(/^[ \t]*deb(-src)?/, "deb-src", line)
        if (!seen[line]++) print line
    }' "$@"
}

# Fetches and unpacks Debian's qt6-base source (with Debian's own patches applied) into
# $work/qtbase through a private apt state in $work/apt.
fetch_source() {
    [[ -f $work/qtbase/CMakeLists.txt ]] && return
    local apt=$work/apt
    rm -rf "$apt" "$work/download"
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial" \
        "$work/download"

    # Files with other endings (such as .disabled) are not read by apt and are not read here.
    local sources lists
    shopt -s nullglob
    sources=(/etc/apt/sources.list.d/*.sources)
    lists=(/etc/apt/sources.list.d/*.list)
    shopt -u nullglob
    if [[ -f /etc/apt/sources.list ]]; then lists=(/etc/apt/sources.list "${lists[@]}"); fi
    if ((${#sources[@]})); then
        deb822_to_source_stanzas "${sources[@]}" >"$apt/sources.list.d/debian-src.sources"
    fi
    if ((${#lists[@]})); then
        one_line_to_source_lines "${lists[@]}" >"$apt/sources.list.d/debian-src.list"
    fi
    grep -qs . "$apt/sources.list.d/"* ||
        die "no Debian package source found in /etc/apt/sources.list{,.d} to fetch qt6-base from"

    # apt downloads as the unprivileged _apt user where it can: when run as root. Anyone else
    # downloads as themselves, into folders of their own.
    if [[ $(id -u) -eq 0 ]] && id _apt >/dev/null 2>&1; then
        chown -R _apt "$apt/lists" "$apt/cache" "$work/download"
    fi

    local apt_options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/sources.list.d"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
    log "fetching Debian's qt6-base source"
    apt-get "${apt_options[@]}" update -qq
    (cd "$work/download" && apt-get "${apt_options[@]}" source --download-only -qq qt6-base)

    local dsc
    dsc=$(find "$work/download" -maxdepth 1 -name 'qt6-base_*.dsc' | head -n 1)
    [[ -n $dsc ]] || die "apt-get source did not fetch qt6-base"
    [[ $(basename "$dsc") == qt6-base_"$qt_version"[+~-]* ]] ||
        die "Debian's qt6-base source is $(basename "$dsc"), not Qt $qt_version"
    # apt has checked these files against the archive's signed index; dpkg-source's warning that
    # it cannot check the uploader's own signature (debian-keyring is not installed) is expected.
    # Unpacked beside the .dsc, so dpkg-source has no reason to copy the tarball elsewhere.
    dpkg-source -x "$dsc" "$work/download/qtbase"
    mv "$work/download/qtbase" "$work/qtbase"
    rm -rf "$work/download" "$apt"
}

# --- build ----------------------------------------------------------------------------------

# Only Core, Gui, Widgets and Test, the windows and offscreen platforms and the Vista style are
# needed; every module and feature the program does not use is off to save build time.
configure_options() {
    local multiarch
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    configure_args=(
        -G Ninja
        -DCMAKE_TOOLCHAIN_FILE="$prefix/share/quintrel/mingw-w64.cmake"
        -DCMAKE_INSTALL_PREFIX="$prefix"
        -DCMAKE_BUILD_TYPE=Release
        -DBUILD_SHARED_LIBS=ON
        -DQT_HOST_PATH=/usr
        -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake"
        -DQT_BUILD_EXAMPLES=OFF
        -DQT_BUILD_TESTS=OFF
        -DQT_BUILD_BENCHMARKS=OFF
        -DFEATURE_pkg_config=OFF
        -DFEATURE_androiddeployqt=OFF
        -DFEATURE_concurrent=OFF
        -DFEATURE_dbus=OFF
        -DFEATURE_network=OFF
        -DFEATURE_printsupport=OFF
        -DFEATURE_sql=OFF
        -DFEATURE_xml=OFF
        -DFEATURE_jpeg=OFF
        # No OpenGL at all: "no" also turns off dynamic GL, which the windows platform plugin
        # would otherwise still compile in.
        -DINPUT_opengl=no
        -DFEATURE_vulkan=OFF
        # Direct2D stays on because Gui compiles its DirectWrite font engine and font database
        # only with it; Direct2D 1.1 only adds the separate direct2d platform plugin.
        -DFEATURE_direct2d1_1=OFF
        # Debian's source leaves out the wintab headers the tablet support needs.
        -DFEATURE_tabletevent=OFF
    )
}

build_and_install() {
    local build=$work/build
    # The installed Qt's own toolchain file refers to the one it was built with: keep that one
    # inside the cache so the cache does not depend on any checkout.
    install -D -m 644 "$repo_dir/cmake/mingw-w64.cmake" "$prefix/share/quintrel/mingw-w64.cmake"
    configure_options
    log "configuring Qt $qt_version for Windows in $build"
    cmake -S "$work/qtbase" -B "$build" "${configure_args[@]}"
    log "building Qt (this takes a while)"
    nice -n 10 cmake --build "$build" --parallel "$(nproc)"
    cmake --install "$build"
    install -m 644 "$build/config.summary" "$prefix/quintrel-config.summary"
}

write_stamp() {
    {
        echo "Qt $qt_version (qtbase) for x86_64-w64-mingw32, built $(date -u +%Y-%m-%dT%H:%M:%SZ)"
        printf '%s\n' "${configure_args[@]}"
    } >"$stamp.partial"
    mv "$stamp.partial" "$stamp"
}

install_missing_packages
check_host_qt
mkdir -p "$work"
fetch_source
build_and_install
write_stamp
finish
