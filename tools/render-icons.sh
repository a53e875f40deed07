#!/usr/bin/env bash
# Renders the program icon's PNG sizes from its SVG (rsvg-convert, Debian package
# librsvg2-bin). The PNGs are committed, so building needs no SVG renderer: run this
# after changing data/icons/org.zentabo.Zentabo.svg.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
svg="$root/data/icons/org.zentabo.Zentabo.svg"
for size in 16 22 24 32 48 64 128 256; do
  out="$root/data/icons/hicolor/${size}x${size}/apps"
  mkdir -p "$out"
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$out/org.zentabo.Zentabo.png"
done
