# x11_session.sh - what the real-pointer GUI tests share (bash): source it, then
#   x11_require CMD...   # exit 77 (skipped) when one is missing
#   x11_workdir NAME     # WORK=a fresh folder, removed on exit with every PIDS entry
#   x11_start_xvfb       # a private Xvfb; exports DISPLAY and QT_QPA_PLATFORM
#   wait_for SECONDS CMD...
# Callers add each background process to PIDS so the cleanup stops it.

x11_require() {
    local cmd
    for cmd in "$@"; do
        command -v "$cmd" >/dev/null 2>&1 || { echo "SKIP: this test needs $cmd"; exit 77; }
    done
}

PIDS=()
x11_cleanup() {
    local i
    for ((i=${#PIDS[@]}-1; i>=0; i--)); do kill -TERM "${PIDS[i]}" 2>/dev/null; done
    wait 2>/dev/null
    [ -n "${WORK:-}" ] && rm -rf "$WORK"
}

x11_workdir() {
    WORK=$(mktemp -d "/tmp/$1.XXXXXX") || exit 1
    trap x11_cleanup EXIT
}

wait_for() {
    local end=$((SECONDS + $1)); shift
    until "$@"; do [ $SECONDS -ge $end ] && return 1; sleep 0.1; done
}

x11_start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
    PIDS+=($!)
    wait_for 10 test -s "$WORK/display" || return 1
    export DISPLAY=:$(head -1 "$WORK/display") QT_QPA_PLATFORM=xcb
}
