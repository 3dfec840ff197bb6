#!/usr/bin/env bash
# Runs a Windows program of the windows build under Wine, as the build's emulator:
#   scripts/wine-run.sh <program.exe> [arguments...]
#
#   QUINTREL_WINEPREFIX  the Wine prefix (default build/windows/wine in this checkout)
#   QUINTREL_QT_WINDOWS  the Windows Qt whose DLLs and plugins are used
# Wine keeps QT_* variables from Windows programs; they are passed on as WINEQT_*, which Wine
# hands over under their own names. With no platform named, the offscreen one is used.
set -euo pipefail

repo_dir=$(cd "$(dirname "$0")/.." && pwd)
qt=${QUINTREL_QT_WINDOWS:-/var/cache/quintrel/qt6-6.4.2-mingw64}
export WINEPREFIX=${QUINTREL_WINEPREFIX:-$repo_dir/build/windows/wine}
# Wine's own errors of loading and starting a program and of unhandled exceptions only: silent in
# a good run, they say why a program ended before it wrote anything (seen once in a test run).
export WINEDEBUG=${WINEDEBUG:--all,err+module,err+seh,err+process}
# No .NET or Gecko installers, and no crash debugger: without the Debugger setting Wine still
# starts winedbg, which waits for ever; disabled, a crashing program simply ends.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}

# Qt's offscreen platform reads fonts from one folder and not below it: the host's fonts are
# gathered into one folder of links, so the pictures' fonts (Liberation, the URW Symbol) are found.
fonts=$WINEPREFIX-fonts

# A new prefix is made once; tests running side by side wait for it.
mkdir -p "$WINEPREFIX"
{
    flock 9
    if [[ ! -f $WINEPREFIX/.quintrel-ready ]]; then
        wineboot --init >/dev/null 2>&1 9>&-
        wineserver --wait
        mkdir -p "$fonts"
        # Outline fonts only: a Type 1 copy of a face (the URW Symbol comes as OpenType and
        # as Type 1) could be taken instead, and its character map differs.
        find /usr/share/fonts -type f \( -name '*.ttf' -o -name '*.ttc' -o -name '*.otf' \) \
            -exec ln -sf -t "$fonts" {} +
        touch "$WINEPREFIX/.quintrel-ready"
    fi
    # Wine's server and its background programs outlive the program and would keep its output
    # open (test discovery then waits until it times out): start them first, away from it.
    # They must not inherit the lock either, or the next program waits for them to end.
    # wineboot runs only with a server just started (the status is 2 when one already runs):
    # run again while other programs of the prefix run, it rewrites the registry's machine
    # environment and hardware keys under them, the likeliest cause of the rare test runs in
    # which a program ended at once without output or could not start another.
    status=0
    wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || status=$?
    if ((status != 2)); then
        wine wineboot </dev/null >/dev/null 2>&1 9>&- || true
    fi
} 9>"$WINEPREFIX.lock"

winpath() { echo "Z:${1//\//\\}"; }

while IFS='=' read -r name _; do
    [[ $name == QT_* ]] && export "WINE$name=${!name}"
done < <(env)
export WINEQT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export WINEQT_QPA_FONTDIR=${QT_QPA_FONTDIR:-$(winpath "$fonts")}

# Qt's DLLs and the mingw runtime (libstdc++, libgcc_s_seh, libwinpthread).
WINEPATH="$(winpath "$qt/bin");$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winpath /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
exec wine "$@"
