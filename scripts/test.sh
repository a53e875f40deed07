#!/usr/bin/env bash
# Installs what is missing, builds, runs every test through ctest, checks the Debian
# package and, when clang is present, runs every fuzz target for a bounded time.
# Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

(cd "$root/build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600)
# The Debian package: built, unpacked into a temporary root and started there.
"$root/scripts/check-deb.sh"

if command -v clang++ >/dev/null 2>&1; then
  "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-20}"
fi
