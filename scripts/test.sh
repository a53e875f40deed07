#!/usr/bin/env bash
# Installs what is missing, builds, runs every test through ctest, checks the Debian
# package and, when clang is present, runs every fuzz target for a bounded time.
# Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# timed NAME CMD... : runs CMD and says how long it took (the CI budget is watched).
timed() {
  local name=$1 t0=$SECONDS
  shift
  "$@"
  echo "test.sh: $name took $((SECONDS - t0))s"
}

timed install "$root/scripts/install-deps.sh"
timed build "$root/scripts/build.sh"

timed ctest bash -c 'cd "$1/build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600' \
  bash "$root"
# The Debian package: built, unpacked into a temporary root and started there.
timed "deb check" "$root/scripts/check-deb.sh"

if command -v clang++ >/dev/null 2>&1; then
  timed fuzz "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-20}"
fi
