# dnd_test_lib.sh - sourced by the real-drag tests after HOST is set: a work folder and
# an Xvfb display of their own, the drop host started with a command pipe, the pointer
# moved by xdotool and the host's answers checked. Everything started is stopped on exit
# (STOP_EXTRA, when a test defines it, runs first).
for cmd in Xvfb xdotool; do
    command -v "$cmd" >/dev/null 2>&1 || { echo "SKIP: the drop test needs $cmd"; exit 77; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/dndtest.XXXXXX") || exit 1
PIDS=()
cleanup() {
    local i
    declare -F STOP_EXTRA >/dev/null && STOP_EXTRA
    exec 4>&- 2>/dev/null
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill -TERM "${PIDS[i]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
    local f
    echo "FAIL: $*"
    for f in "$WORK"/*.log "$WORK"/*.err; do echo "--- ${f##*/}"; tail -40 "$f"; done
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
shot() {
    if [ -n "${SHOT_DIR:-}" ] && command -v import >/dev/null; then
        import -window root "$SHOT_DIR/$1.png"
    fi
}
hex() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.err" &
PIDS+=($!)
wait_for 10 test -s "$WORK/display" || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$WORK/display") QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$WORK HOME=$WORK TMPDIR=$WORK
unset WAYLAND_DISPLAY

mkfifo "$WORK/commands" || exit 1
exec 4<>"$WORK/commands"
"$HOST" <&4 >"$WORK/host.log" 2>"$WORK/host.err" &
PIDS+=($!)
wait_for 20 grep -q '^READY' "$WORK/host.log" || fail "the host did not start"
read -r px py ox oy < <(sed -n 's/^READY page=\([0-9]*\),\([0-9]*\) ole=\([0-9]*\),\([0-9]*\)$/\1 \2 \3 \4/p' "$WORK/host.log")
[ -n "${oy:-}" ] || fail "the host gave no positions"

# Press, two small moves to start the drag, ten steps to the target, a rest there so
# that the target's answer reaches the source before anything ends the drag.
drag() {  # from_x from_y to_x to_y name [escape]
    local i
    xdotool mousemove --sync "$1" "$2"
    sleep 0.2
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
has() {  # state field hex
    grep -qF -- " $2=\"$3\"" <<<" ${1#STATE }"
}
expect() {  # what state field hex
    has "$2" "$3" "$4" || fail "$1: expected $3=\"$4\" in $2"
}

PAGE=$(hex 'see 日本here.')
OLE=$(hex 'drag 日本 out')
# The address as a browser hands it over, percent-encoded; the & escaped in the tag.
LINKED=$(hex 'see <a href="https://example.org/%E6%97%A5%E6%9C%AC%E8%AA%9E?q=1&amp;r=2">日本here</a>.')
