#!/bin/bash
# run_ime_test.sh APP - types "nihongo", Space, Return into the editor widget through a
# real input method (fcitx5 with mozc under Xvfb, keys from xdotool) and checks that
# the store holds 日本語 in code page 932. Exit 0 = pass, 1 = fail, 77 = the programs
# needed are not installed (the test is skipped).
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
APP=$(realpath "${1:?usage: run_ime_test.sh APP}")

missing=()
for cmd in Xvfb xdotool dbus-daemon dbus-send fcitx5 fcitx5-remote; do
    command -v "$cmd" >/dev/null 2>&1 || missing+=("$cmd")
done
if [ "$(id -u)" = 0 ] && ! command -v setpriv >/dev/null 2>&1; then missing+=(setpriv); fi
compgen -G "/usr/share/fcitx5/addon/mozc.conf" >/dev/null || missing+=(fcitx5-mozc)
compgen -G "/usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so" \
    >/dev/null || missing+=(fcitx5-frontend-qt6)
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: the input-method test needs ${missing[*]} (scripts/install-deps.sh installs them)"
    exit 77
fi

source "$HERE/ime_env.sh"
ime_drop_root "$HERE/run_ime_test.sh" "$APP"
ime_start || exit 1
export QT_QPA_PLATFORM=xcb

EXPECT="93 fa 96 7b 8c ea"  # 日本語 in code page 932
out=$IME_WORK/editor.log
ime_spawn timeout 60 "$APP" --timeout 40 >"$out" 2>"$IME_WORK/editor.err"
app=${IME_PIDS[-1]}
wait_for 10 grep -q READY "$out" || { ime_log "the editor did not start"; cat "$IME_WORK/editor.err"; exit 1; }
# No window manager: windowfocus (XSetInputFocus) works where windowactivate would not.
wid=$(timeout 10 xdotool search --sync --limit 1 --name '^imetest$') &&
    timeout 10 xdotool windowfocus --sync "$wid" || { ime_log "cannot focus the editor"; exit 1; }
sleep 0.5
ime_on || exit 1
for step in "type --delay 60 nihongo" "key space" "key Return"; do
    timeout 10 xdotool $step
    sleep 0.3
done
sleep 0.5
kill -TERM "$app"
wait "$app" 2>/dev/null
sed 's/^/    /' "$out"
if grep -q "^RESULT editor hex=\"$EXPECT\"$" "$out"; then
    ime_log "PASS: 日本語 stored as $EXPECT"
    exit 0
fi
ime_log "FAIL: expected hex=\"$EXPECT\""
exit 1
