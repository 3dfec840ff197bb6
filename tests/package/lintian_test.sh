#!/usr/bin/env bash
# Checks the Debian package that deb_package_test.sh left in its scratch folder with lintian,
# pedantic, informational and experimental tags included, and fails on any tag lintian reports.
# The only tags let through are those the package overrides itself, each with its reason
# (data/debian/lintian-overrides); an override that no longer matches is a tag too. Runs without
# the caller's lintian configuration, so a personal profile cannot hide a tag.
#   lintian_test.sh <scratch dir of the package test> <version>
set -euo pipefail
scratch=$1 version=$2
deb="$scratch/quintrel_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { echo "FAIL: no package at $deb" >&2; exit 1; }

# --allow-root: lintian only reads the package, so running as root (as CI does) is harmless.
lintian --no-cfg --allow-root --color never --pedantic --display-info --display-experimental \
    --fail-on error,warning,info,pedantic,experimental "$deb" ||
    { echo "FAIL: lintian reported the tags above" >&2; exit 1; }
echo "lintian finds nothing to report in $(basename "$deb")"
