#!/usr/bin/env bash
# Builds Zentabo into build/ and packs it as a Debian package with CPack; the
# libraries it depends on come from dpkg-shlibdeps (package dpkg-dev). Prints the
# path of the .deb it made.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" >&2
out="$root/build/package"
rm -rf "$out"
(cd "$root/build" && cpack -G DEB -B "$out" >&2)
ls "$out"/*.deb
