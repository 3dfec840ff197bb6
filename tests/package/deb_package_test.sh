#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a scratch root with dpkg -x and
# starts the unpacked program through its bin/quintrel link on the offscreen platform. The
# program takes no arguments and prints nothing, so it is watched from outside: strace must show
# it open the first formula picture from the unpacked program folder (its Folder is where the
# real executable lies, not where the link is) and then draw it, and it must still be running
# afterwards, until it is killed.
#   deb_package_test.sh <build dir> <scratch dir> <version> <help files expected: 0|1>
set -euo pipefail
build=$1 scratch=$2 version=$3 help=$4
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd -P)  # the program sees canonical paths
cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack did not build the package"; }
deb="$scratch/quintrel_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || fail "expected $deb, found: $(ls "$scratch")"

# dpkg-shlibdeps supplies the libraries; the run-time helpers are named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libc6 libqt6widgets6 assistant-qt6 fonts-liberation fonts-urw-base35; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done

root="$scratch/root"
dpkg -x "$deb" "$root"
app="$root/usr/lib/quintrel"
share="$root/usr/share"
[[ $(readlink "$root/usr/bin/quintrel") == ../lib/quintrel/Quintrel ]] ||
    fail "bin/quintrel is not the relative link into the program folder"
expected=(Quintrel transforms{1..8}.wmf)
((help)) && expected+=(Quintrel.hlp Quintrel.qhc)
expected+=("$share"/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/quintrel.png)
expected+=("$share/icons/hicolor/scalable/apps/quintrel.svg")
expected+=("$share"/doc/quintrel/{copyright,changelog.gz} "$share/man/man1/quintrel.1.gz")
for f in "${expected[@]}"; do
    [[ $f == /* ]] || f="$app/$f"
    [[ -s $f ]] || fail "missing from the package: ${f#"$root"}"
done
# The changelog's latest entry must be this release, or the package describes another one.
changelog_version=$(zcat "$share/doc/quintrel/changelog.gz" | dpkg-parsechangelog -l- -SVersion)
[[ $changelog_version == "$version" ]] ||
    fail "the changelog's latest entry is $changelog_version, the package is $version"
desktop-file-validate "$share/applications/org.example.quintrel.desktop"
appstreamcli validate --no-net "$share/metainfo/org.example.quintrel.metainfo.xml"

# Start it with a home of its own, so the run leaves nothing in the real one.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
export XDG_CACHE_HOME="$scratch/home/.cache" XDG_RUNTIME_DIR="$scratch/run"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
trace="$scratch/strace.log"
strace -f -qq -x -s 1024 -e trace=openat,read -o "$trace" "$root/usr/bin/quintrel" \
    >"$scratch/program.log" 2>&1 &
tracer=$!
program=""
cleanup() {
    # The program is strace's child; ending it ends strace too.
    program=${program:-$(pgrep -P "$tracer" || true)}
    [[ -n $program ]] && kill "$program" 2>/dev/null
    wait "$tracer" 2>/dev/null || true
}
trap cleanup EXIT

# The picture's descriptor: the number a successful open of transforms1.wmf returned.
picture="$app/transforms1.wmf"
fd=""
for _ in $(seq 600); do
    [[ -f $trace ]] &&
        fd=$(sed -n "s|.*openat(AT_FDCWD, \"$picture\", O_RDONLY[^)]*) = \([0-9]*\)$|\1|p" \
            "$trace" | head -1)
    [[ -n $fd ]] && break
    kill -0 "$tracer" 2>/dev/null || break
    sleep 0.1
done
program=$(pgrep -P "$tracer" || true)
[[ -n $fd ]] || { cat "$scratch/program.log"; fail "the program never opened $picture"; }
grep -Eq "read\($fd, \"\\\\xd7\\\\xcd\\\\xc6\\\\x9a" "$trace" ||
    fail "the program opened $picture but did not read a placeable metafile from it"

sleep 2
kill -0 "$tracer" 2>/dev/null || { cat "$scratch/program.log"; fail "the program ended by itself"; }
[[ -n $program ]] || fail "no program process under strace"
# Drawing the picture sets its Greek letters in the Symbol twin that the package depends on.
awk -v picture="\"$picture\"" 'index($0, picture) { seen = 1 }
    seen && /openat\(.*StandardSymbolsPS[^"]*", O_RDONLY.*\) = [0-9]+$/ { found = 1 }
    END { exit !found }' "$trace" || fail "the first picture was not drawn (no Symbol font opened)"
echo "package $(basename "$deb") installs and starts; Depends: $depends"
