#!/usr/bin/env bash
# Times the Windows builds of the start-up probe and its floor under Wine with the Linux driver:
#   bash bench/windows_startup.sh [runs per program, default 20]
# Needs the dev build (the driver) and the windows build (the two programs). Wine's own start of
# each process is part of both figures.
set -euo pipefail
repo_dir=$(cd "$(dirname "$0")/.." && pwd)
programs=$repo_dir/build/windows/bench/startup
wrappers=$(mktemp -d)
trap 'rm -rf "$wrappers"' EXIT
for name in floor probe; do
    printf '#!/bin/sh\nexec "%s/scripts/wine-run.sh" "%s/bench_startup_%s.exe"\n' \
        "$repo_dir" "$programs" "$name" >"$wrappers/$name"
    chmod +x "$wrappers/$name"
done
"$repo_dir/build/dev/bench/bench_startup" "${1:-20}" "$wrappers/floor" "$wrappers/probe"
