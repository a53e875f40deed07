#!/bin/bash
# run_chromium_dnd_test.sh HOST - a link dragged out of a real Chromium window under
# Xvfb (pointer moved by xdotool) onto the page of the main window in HOST must wrap the
# page's selection in an anchor, undone in one step. Exit 0 = pass, 1 = fail, 77 = Xvfb,
# xdotool or chromium is not installed (the test is skipped).
set -u
HOST=$(realpath "${1:?usage: run_chromium_dnd_test.sh HOST}")
command -v chromium >/dev/null 2>&1 || { echo "SKIP: the drop test needs chromium"; exit 77; }
. "$(dirname "$0")/dnd_test_lib.sh"

# Chromium's crash handlers leave its process group; they are found by the profile
# folder of this run, which no other process names.
chromium_pids() {
    local p
    for p in /proc/[0-9]*; do
        { tr '\0' ' ' <"$p/cmdline"; } 2>/dev/null |
            grep -qF -- "$WORK/" && echo "${p#/proc/}"
    done
}
STOP_EXTRA() {
    local left i
    [ -n "${CHROMIUM_PID:-}" ] && kill -TERM "$CHROMIUM_PID" 2>/dev/null
    for i in $(seq 50); do
        left=$(chromium_pids)
        [ -z "$left" ] && return
        sleep 0.1
    done
    kill -KILL $left 2>/dev/null
}

mkdir -p "$WORK/profile" "$WORK/tmp" "$WORK/config" "$WORK/cache"
cat >"$WORK/link.html" <<'HTML'
<!DOCTYPE html><html><head><meta charset="utf-8"><title>linkpage</title></head>
<body style="margin:0;height:100vh"><a href="https://example.org/日本語?q=1&amp;r=2"
style="display:block;font-size:40px;height:100%">日本語 link</a></body></html>
HTML
XDG_CONFIG_HOME=$WORK/config XDG_CACHE_HOME=$WORK/cache TMPDIR=$WORK/tmp \
    chromium --no-sandbox --user-data-dir="$WORK/profile" --window-position=700,0 \
    --window-size=400,300 --no-first-run --disable-gpu "file://$WORK/link.html" \
    >"$WORK/chromium.err" 2>&1 &
CHROMIUM_PID=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^linkpage - Chromium$' | head -1)
[ -n "$window" ] || fail "the Chromium window did not show the page"
sleep 1  # let the page paint
eval "$(xdotool getwindowgeometry --shell "$window")"
# inside the link, below the toolbar and the info bar
sx=$((X + WIDTH / 2)) sy=$((Y + HEIGHT - 70))

drag "$sx" "$sy" "$px" "$py" chromium
page_changed() { ! has "$(ask state)" page "$PAGE"; }
wait_for 10 page_changed || fail "the page did not take the link"
expect "the dropped link" "$(ask state)" page "$LINKED"
expect "one undo" "$(ask undo)" page "$PAGE"

echo quit >&4
echo "PASS"
exit 0
