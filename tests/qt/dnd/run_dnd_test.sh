#!/bin/bash
# run_dnd_test.sh HOST SOURCE - real drags under Xvfb with the pointer moved by xdotool:
# a link dragged from SOURCE (offering it as a browser does) onto the page of the main
# window in HOST must wrap the page's selection in an anchor, undone in one step; the
# selection of HOST's other editor dragged out and cancelled with Esc must leave both
# texts as they were. Exit 0 = pass, 1 = fail, 77 = Xvfb or xdotool is not installed
# (the test is skipped). SHOT_DIR=folder keeps a screenshot taken during each drag.
set -u
HOST=$(realpath "${1:?usage: run_dnd_test.sh HOST SOURCE}")
SOURCE=$(realpath "${2:?usage: run_dnd_test.sh HOST SOURCE}")
for cmd in Xvfb xdotool; do
    command -v "$cmd" >/dev/null 2>&1 || { echo "SKIP: the drop test needs $cmd"; exit 77; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/dndtest.XXXXXX") || exit 1
PIDS=()
cleanup() {
    local i
    exec 4>&- 2>/dev/null
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill -TERM "${PIDS[i]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
    echo "FAIL: $*"
    for f in host.log host.err source.log source.err; do echo "--- $f"; cat "$WORK/$f"; done
    exit 1
}
wait_for() {  # seconds command...
    local end=$((SECONDS + $1)); shift
    until "$@"; do [ $SECONDS -ge $end ] && return 1; sleep 0.05; done
}
lines() { wc -l <"$WORK/$1"; }
new_line() {  # log old_count pattern: a line after the first old_count ones matches
    tail -n +$(($2 + 1)) "$WORK/$1" | grep -aq -- "$3"
}
shot() { [ -n "${SHOT_DIR:-}" ] && command -v import >/dev/null && import -window root "$SHOT_DIR/$1.png"; }

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
PIDS+=($!)
wait_for 10 test -s "$WORK/display" || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$WORK/display") QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$WORK HOME=$WORK
unset WAYLAND_DISPLAY

mkfifo "$WORK/commands" || exit 1
exec 4<>"$WORK/commands"
"$HOST" <&4 >"$WORK/host.log" 2>"$WORK/host.err" &
PIDS+=($!)
URL='https://example.org/日本語?q=1&r=2'
"$SOURCE" "$URL" 'Example 題名' >"$WORK/source.log" 2>"$WORK/source.err" &
PIDS+=($!)
wait_for 20 grep -q '^READY' "$WORK/host.log" || fail "the host did not start"
wait_for 20 grep -q '^READY' "$WORK/source.log" || fail "the link source did not start"
read -r px py ox oy < <(sed -n 's/^READY page=\([0-9]*\),\([0-9]*\) ole=\([0-9]*\),\([0-9]*\)$/\1 \2 \3 \4/p' "$WORK/host.log")
read -r sx sy < <(sed -n 's/^READY at=\([0-9]*\),\([0-9]*\)$/\1 \2/p' "$WORK/source.log")
[ -n "${py:-}" ] && [ -n "${sy:-}" ] || fail "no positions"

# Press, two small moves to start the drag, ten steps to the target, a rest there so
# that the target's answer reaches the source before anything ends the drag.
drag() {  # from_x from_y to_x to_y name [escape]
    local i
    xdotool mousemove --sync "$1" "$2"
    sleep 0.1
    xdotool mousedown 1
    sleep 0.1
    xdotool mousemove $(($1 + 5)) "$2"; sleep 0.05
    xdotool mousemove $(($1 + 15)) "$2"; sleep 0.05
    for i in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove $(($1 + ($3 - $1) * i / 10)) $(($2 + ($4 - $2) * i / 10))
        sleep 0.05
    done
    sleep 0.3
    shot "$5"
    [ "${6:-}" = escape ] && { xdotool key Escape; sleep 0.2; }
    xdotool mouseup 1
}
ask() {  # command: prints the host's answer
    local n
    n=$(lines host.log)
    echo "$1" >&4
    wait_for 10 new_line host.log "$n" '^STATE' || fail "no answer to $1"
    tail -n +$((n + 1)) "$WORK/host.log" | grep -a '^STATE' | head -1
}
expect() {  # what state field hex
    grep -qF -- " $3=\"$4\"" <<<" ${2#STATE }" || fail "$1: expected $3=\"$4\" in $2"
}
hex() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }

PAGE=$(hex 'see 日本here.')
OLE=$(hex 'drag 日本 out')

# A link from the browser onto the page.
n=$(lines source.log)
drag "$sx" "$sy" "$px" "$py" link
wait_for 10 new_line source.log "$n" '^DRAG-RESULT' || fail "the link drag did not end"
new_line source.log "$n" '^DRAG-RESULT action=CopyAction' || fail "the page refused the link"
state=$(ask state)
expect "the dropped link" "$state" page \
    "$(hex 'see <a href="https://example.org/%E6%97%A5%E6%9C%AC%E8%AA%9E?q=1&amp;r=2">日本here</a>.')"
state=$(ask undo)
expect "one undo" "$state" page "$PAGE"

# The editor's selection dragged over the page and cancelled with Esc.
n=$(lines host.log)
drag "$ox" "$oy" "$px" "$py" escape escape
wait_for 10 new_line host.log "$n" '^OLE-DRAG ended' || fail "the editor's drag did not start and end"
state=$(ask state)
expect "the cancelled drag's source" "$state" ole "$OLE"
expect "the cancelled drag's selection" "$state" olesel "$(hex '日本')"
expect "the page under the cancelled drag" "$state" page "$PAGE"

echo quit >&4
echo "PASS"
exit 0
