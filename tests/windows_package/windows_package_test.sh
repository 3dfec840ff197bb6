#!/usr/bin/env bash
# Builds the Windows installer and ZIP with cpack and goes through the installer's whole life
# under Wine, in a Wine prefix (and a home) of the test's own:
#  - the installer is a 64-bit program, and the ZIP holds exactly the expected program folder;
#  - a silent install (/S) puts that same folder, byte for byte, into C:\Program Files\Quintrel
#    (the 64-bit Program Files), plus the uninstaller, adds the Start-menu entry, and adds to the
#    registry the uninstall entry and nothing else under any Software key;
#  - the program, started from the Start-menu entry on Qt's windows platform (the one users get)
#    on the X display, loads every Qt and runtime DLL, the windows platform plugin and the Vista
#    style from the installed folder, none from the plugins folder planted beside it (which Qt
#    would take without the program's qt.conf), reads the whole of transforms1.wmf from the
#    installed folder and is still running afterwards. The program prints nothing, so this is
#    read from Wine's own trace of the DLLs it loads and the files it opens and reads
#    (WINEDEBUG=+loaddll,+file);
#  - the uninstall command the entry registers removes the folder, the Start-menu entry and the
#    registry entry, leaving the registry as it was before the install. The uninstaller runs a
#    copy of itself and returns at once, so the test waits for those to go;
#  - installed into a folder of other files (C:\Tools with a Qt6Core.dll and a LICENSE.txt of
#    another program's), the installer makes a Quintrel folder inside it, and neither install nor
#    uninstall changes a byte of those files; when that inner folder holds other files too, the
#    install is refused and nothing is written.
# Needs an X display (xvfb-run -a ctest ...).
#   windows_package_test.sh <build dir> <scratch dir> <version> <objdump>
set -euo pipefail
build=$1 scratch=$2 version=$3 objdump=$4
wine_run="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-run.sh"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[[ -n ${DISPLAY:-} ]] || fail "no X display: run the Windows tests under xvfb-run -a"
rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd -P)
cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack did not build the packages"; }
name="Quintrel-$version-win64"
installer="$scratch/$name.exe" zip="$scratch/$name.zip"
[[ -f $installer && -f $zip ]] || fail "expected $name.exe and $name.zip, found: $(ls "$scratch")"
"$objdump" -f "$installer" | grep -q 'file format pei-x86-64' ||
    fail "the installer is not a 64-bit Windows program"

expected=$(printf '%s\n' Quintrel.exe Quintrel.chm qt.conf transforms{1..8}.wmf Qt6{Core,Gui,Widgets}.dll \
    libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll platforms/q{windows,offscreen}.dll \
    styles/qwindowsvistastyle.dll LICENSE.txt THIRD-PARTY.txt \
    licenses/{LGPL-3,Qt-copyright,GCC-copyright,mingw-w64-copyright}.txt | sort)
files_in() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }
mkdir "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "$zip")
[[ $(ls "$scratch/zip") == "$name" ]] || fail "the ZIP does not hold one folder $name"
unzipped="$scratch/zip/$name"
diff <(LC_ALL=C sort <<<"$expected") <(files_in "$unzipped") ||
    fail "the ZIP's files (>) differ from the expected ones (<)"
# Every DLL is named in the licence notice.
grep '\.dll$' <<<"$expected" | while read -r dll; do
    grep -qF "${dll//\//\\}" "$unzipped/THIRD-PARTY.txt" ||
        fail "THIRD-PARTY.txt does not name $dll"
done

export QUINTREL_WINEPREFIX="$scratch/wine" HOME="$scratch/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
# No crash debugger, and no copies of Start-menu entries in the desktop's menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
prefix=$QUINTREL_WINEPREFIX
mkdir -p "$HOME"
# Ends everything still running in the test's prefix, and nothing else.
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true' EXIT

# The registry's Software keys (Wine's own left out) as sorted "[key] value" lines.
software_keys() {
    "$wine_run" regedit /E "Z:${1//\//\\}.reg"
    iconv -f UTF-16 -t UTF-8 "$1.reg" | tr -d '\r' | awk '
        /^\[/ { key = $0
                keep = key ~ /^\[HKEY_(LOCAL_MACHINE|USERS\\[^\\]+)\\Software[]\\]/ &&
                       key !~ /\\Software\\Wine[]\\]/
                if (keep) print key
                next }
        keep && NF { print key " " $0 }' | LC_ALL=C sort >"$1.txt"
}
uninstall_key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quintrel'

software_keys "$scratch/registry-before"
"$wine_run" "$installer" /S || fail "the silent install failed (exit status $?)"
app="$prefix/drive_c/Program Files/Quintrel"
[[ -d $app ]] || fail "nothing installed in C:\\Program Files\\Quintrel"
diff <(LC_ALL=C sort <<<"$expected"$'\nUninstall.exe') <(files_in "$app") ||
    fail "the installed files (>) differ from the expected ones (<)"
diff -r -x Uninstall.exe "$unzipped" "$app" || fail "the installed files differ from the ZIP's"
lnk="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quintrel.lnk"
[[ -f $lnk ]] || fail "no Start-menu entry Quintrel.lnk"

software_keys "$scratch/registry-installed"
removed=$(LC_ALL=C comm -23 "$scratch/registry-before.txt" "$scratch/registry-installed.txt")
added=$(LC_ALL=C comm -13 "$scratch/registry-before.txt" "$scratch/registry-installed.txt")
[[ -z $removed ]] || fail "the install removed from the registry: $removed"
grep -qF "[$uninstall_key] \"UninstallString\"=" <<<"$added" || fail "no uninstall entry registered"
grep -vF "[$uninstall_key]" <<<"$added" &&
    fail "the install registered more than its uninstall entry"
echo "registered: $added"

# A plugins folder beside the installed one, where Qt would look first without the program's
# qt.conf: with a lib\libQt6Core.a beside it too (as in a Qt installation), Qt takes its prefix to
# be the folder above Qt6Core.dll's rather than the program's own.
beside="$prefix/drive_c/Program Files"
mkdir -p "$beside/plugins/platforms" "$beside/plugins/styles" "$beside/lib"
cp "$app/platforms/qwindows.dll" "$beside/plugins/platforms/"
cp "$app/styles/qwindowsvistastyle.dll" "$beside/plugins/styles/"
: >"$beside/lib/libQt6Core.a"

# Started as the Start-menu entry starts it, on the windows platform; Wine's start returns at
# once, so the program's process is found by its name and this prefix.
trace="$scratch/program-trace.log"
entry='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quintrel.lnk'
QT_QPA_PLATFORM=windows WINEDEBUG=+pid,+loaddll,+file "$wine_run" start "$entry" 2>"$trace" ||
    fail "the Start-menu entry did not start"
dir='C:/Program Files/Quintrel'  # as the program names its files
picture="$dir/transforms1.wmf"
size=$(stat -c %s "$app/transforms1.wmf")
# Prints "read" once the thread that opened the picture has read all its bytes through the handle
# it got.
picture_read() {
    awk -v path="CreateFileW L\"$picture\"" -v size="$size" '
        index($0, path) {
            split($0, f, ":"); thread = f[1] ":" f[2] ":trace:file:"; handle = ""; total = 0; next }
        thread != "" && handle == "" && index($0, thread "CreateFileW returning ") {
            handle = $NF; next }
        handle != "" && index($0, thread "ReadFile " handle " ") { reading = 1; next }
        reading && index($0, thread "NtReadFile = SUCCESS (") {
            reading = 0; n = $NF; gsub(/[()]/, "", n); total += n
            if (total == size) read = 1
            next }
        END { if (read) print "read" }' "$trace"
}
program=""
progress=""
for _ in $(seq 600); do
    if [[ -z $program ]]; then
        for pid in $(pgrep -x Quintrel.exe || true); do
            grep -qzx "WINEPREFIX=$prefix" "/proc/$pid/environ" 2>/dev/null && program=$pid
        done
    fi
    progress=$(picture_read)
    [[ $progress == read ]] && break
    [[ -n $program ]] && ! kill -0 "$program" 2>/dev/null && break
    sleep 0.1
done
[[ -n $program ]] || fail "no Quintrel.exe process started in the test's prefix"
[[ $progress == read ]] || fail "the program did not read $picture ($size bytes)"
sleep 2
kill -0 "$program" 2>/dev/null || fail "the program ended by itself"
# The DLLs the program loaded, with / for \ (the trace doubles each \).
loaded=$(sed -n 's/.*:loaddll:.* Loaded L"\(.*\)" at .*/\1/p' "$trace" | sed 's|\\\\|/|g')
for dll in Qt6{Core,Gui,Widgets} libstdc++-6 libgcc_s_seh-1 libwinpthread-1 platforms/qwindows \
    styles/qwindowsvistastyle; do
    grep -qxF "$dir/$dll.dll" <<<"$loaded" ||
        fail "$dll.dll was not loaded from the installed folder"
done
ours='/(Qt6[A-Za-z]+|libstdc\+\+-6|libgcc_s_seh-1|libwinpthread-1|qwindows|qoffscreen'
ours+='|qwindowsvistastyle)\.dll$'
outside=$(grep -E "$ours" <<<"$loaded" | grep -vF "$dir/" || true)
[[ -z $outside ]] || fail "the program loaded DLLs from outside the installed folder: $outside"
kill "$program" || fail "the program ended by itself"
for _ in $(seq 100); do
    [[ $(ps -o stat= -p "$program") == [^Z]* ]] || break  # gone, or ended and not yet reaped
    sleep 0.1
done

# The uninstall entry's own silent command: "<uninstaller>" /S.
command=$("$wine_run" reg query "$uninstall_key" /v QuietUninstallString |
    sed -n 's/.*REG_SZ *//p' | tr -d '\r')
[[ $command =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "unexpected QuietUninstallString: $command"
# shellcheck disable=SC2086 # the arguments are words of their own, as Windows passes them
"$wine_run" "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} ||
    fail "the uninstaller failed (exit status $?)"
registered() { "$wine_run" reg query "$uninstall_key" >/dev/null 2>&1; }
for _ in $(seq 60); do
    [[ -e $app || -e $lnk ]] || registered || break
    sleep 1
done
[[ -e $app ]] &&
    fail "the uninstaller left the folder: $(cd "$app" && find . | sed 1d | tr '\n' ' ')"
[[ -e $lnk ]] && fail "the uninstaller left the Start-menu entry"
registered && fail "the uninstaller left the uninstall entry"
software_keys "$scratch/registry-after"
diff "$scratch/registry-before.txt" "$scratch/registry-after.txt" ||
    fail "the registry after the uninstall (>) differs from before the install (<)"
# A folder of another program's: its files stay byte for byte through install and uninstall.
tools="$prefix/drive_c/Tools"
mkdir -p "$tools"
printf 'MZ another program'"'"'s Qt\n' >"$tools/Qt6Core.dll"
printf 'Another program'"'"'s licence\n' >"$tools/LICENSE.txt"
foreign=$(cd "$tools" && sha256sum Qt6Core.dll LICENSE.txt)
"$wine_run" "$installer" /S '/D=C:\Tools' || fail "the install into C:\Tools failed (exit status $?)"
[[ $(cd "$tools" && sha256sum Qt6Core.dll LICENSE.txt) == "$foreign" ]] ||
    fail "the install changed the files that were in C:\Tools"
diff -r -x Uninstall.exe "$unzipped" "$tools/Quintrel" ||
    fail "the install into C:\Tools did not put the program folder into C:\Tools\Quintrel"
"$wine_run" 'C:\Tools\Quintrel\Uninstall.exe' /S || fail "the uninstaller in C:\Tools\Quintrel failed"
for _ in $(seq 60); do
    [[ -e $tools/Quintrel ]] || registered || break
    sleep 1
done
[[ $(files_in "$tools") == $'LICENSE.txt\nQt6Core.dll' ]] ||
    fail "the uninstall left C:\Tools with: $(files_in "$tools" | tr '\n' ' ')"
[[ $(cd "$tools" && sha256sum Qt6Core.dll LICENSE.txt) == "$foreign" ]] ||
    fail "the uninstall changed the files that were in C:\Tools"
# ... and when its Quintrel folder holds other files too, nothing is installed.
mkdir "$tools/Quintrel"
printf 'mine\n' >"$tools/Quintrel/notes.txt"
status=0
"$wine_run" "$installer" /S '/D=C:\Tools' || status=$?
[[ $status -ne 0 ]] || fail "the install into C:\Tools with a foreign C:\Tools\Quintrel went ahead"
[[ $(files_in "$tools") == $'LICENSE.txt\nQt6Core.dll\nQuintrel/notes.txt' ]] ||
    fail "the refused install changed C:\Tools: $(files_in "$tools" | tr '\n' ' ')"
registered && fail "the refused install registered an uninstall entry"

echo "$name.exe ($(stat -c %s "$installer") bytes) installs, starts and uninstalls;" \
    "$name.zip ($(stat -c %s "$zip") bytes) holds the same folder; a folder of other files is" \
    "left as it was"
