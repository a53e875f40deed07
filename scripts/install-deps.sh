#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Zentabo need,
# only those that are missing. Uses sudo only when not root.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++
  libicu-dev libxml2-dev qt6-base-dev
  # the program: XHTML DTDs, Japanese fonts, Qt's Japanese texts, the browser opener
  # and, without a desktop, the file-type lookup it needs to pick the browser
  w3c-sgml-lib fonts-ipafont-gothic qt6-translations-l10n xdg-utils libfile-mimeinfo-perl
  # tests: GoogleTest, fuzzing with clang, printed PDFs read back, a real X server
  # and input method
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  poppler-utils
  xvfb xdotool dbus-daemon dbus-bin fcitx5 fcitx5-mozc fcitx5-frontend-qt6
  # the bench compares the XHTML check with xmllint
  libxml2-utils
  # the Debian package is built and checked: dpkg-deb, file (CPack's dependency
  # lookup), AppStream and desktop-file checks
  dpkg-dev file appstream desktop-file-utils
  # xvfb-run, which the package check starts the program with
  xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "sudo is not installed: run $0 as root once (su -c), or install sudo." >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
