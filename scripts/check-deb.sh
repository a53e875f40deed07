#!/usr/bin/env bash
# check-deb.sh [DEB] - builds the Debian package (or takes DEB), unpacks it into a temporary root with dpkg-deb -x and
# checks it: the dependencies dpkg-shlibdeps found, the desktop entry
# (desktop-file-validate), the metainfo (appstreamcli), and that the unpacked
# program starts under Xvfb, shows its window, ends on SIGTERM and keeps its pages in
# the per-user folder. Prints "deb: N passed, N failed".
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deb=${1:-$("$root/scripts/build-deb.sh" | tail -n 1)}
tmp=$(mktemp -d /tmp/zentabo-deb.XXXXXX)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$tmp/root"
usr="$tmp/root/usr"

passed=0
failed=0
check() {  # name command...
  local name=$1
  shift
  if "$@" >"$tmp/check.log" 2>&1; then
    passed=$((passed + 1))
  else
    echo "deb: $name FAILED"
    cat "$tmp/check.log"
    failed=$((failed + 1))
  fi
}

depends_on_qt() { dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6'; }
check "dependencies from dpkg-shlibdeps" depends_on_qt
check "desktop entry" desktop-file-validate "$usr/share/applications/org.zentabo.Zentabo.desktop"
check "metainfo" appstreamcli validate --no-net "$usr/share/metainfo/org.zentabo.Zentabo.metainfo.xml"
check "icons" test -s "$usr/share/icons/hicolor/scalable/apps/org.zentabo.Zentabo.svg" \
  -a -s "$usr/share/icons/hicolor/48x48/apps/org.zentabo.Zentabo.png"
check "man page" test -s "$usr/share/man/man1/zentabo.1"
check "--version" sh -c "'$usr/bin/zentabo' --version | grep -q '^Zentabo '"

starts_under_xvfb() {
  export HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/run"
  mkdir -p "$HOME" "$XDG_DATA_HOME"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
    "$1" & pid=$!
    timeout 20 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null || exit 1
    kill -TERM "$pid"
    wait "$pid"' _ "$usr/bin/zentabo" &&
    test -s "$XDG_DATA_HOME/Zentabo/zentabo.ztb" && test -s "$XDG_DATA_HOME/Zentabo/zentabo.ini" &&
    [ "$(ls "$usr/bin")" = zentabo ]
}
check "starts under Xvfb, pages in the per-user folder" starts_under_xvfb

echo "deb: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
