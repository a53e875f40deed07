#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Zentabo need,
# only those that are missing. Uses sudo only when not root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  clang libclang-rt-14-dev
  libicu-dev libgtest-dev libgmock-dev
  libxml2-dev libxml2-utils w3c-sgml-lib
  qt6-base-dev libgl-dev
  fonts-ipafont-gothic qt6-translations-l10n poppler-utils
  xvfb xdotool dbus fcitx5 fcitx5-mozc fcitx5-frontend-qt6
  xdg-utils
  dpkg-dev appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
