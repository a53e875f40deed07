#!/bin/bash
# run_torture.sh ZENTABO LISTER [KILLS] - types into several pages of the real program
# under Xvfb, kills it with SIGKILL at random moments (before, during and after a
# snapshot is written) and starts it again, KILLS times (default 10, about 30 s).
# The store starts with a large page, so that each snapshot takes a while to write;
# every third kill waits until one is being written and lands in the middle of it.
# After each kill the page store must read completely, no store may have been set
# aside as damaged or replaced, and every page must hold at least the text it had in
# the last snapshot seen before the kill. Prints the kill count and the longest loss.
# Exit 0 = pass, 1 = fail, 77 = Xvfb or xdotool missing (skipped).
set -u
ZENTABO=$(realpath "${1:?usage: run_torture.sh ZENTABO LISTER [KILLS]}")
LISTER=$(realpath "${2:?usage: run_torture.sh ZENTABO LISTER [KILLS]}")
KILLS=${3:-10}
PAGES=4
for cmd in Xvfb xdotool timeout awk; do
    command -v "$cmd" >/dev/null 2>&1 || { echo "SKIP: the torture test needs $cmd"; exit 77; }
done

WORK=$(mktemp -d /tmp/torture.XXXXXX) || exit 1
XVFB=
APP_PID=
cleanup() {
    [ -n "$APP_PID" ] && kill -KILL "$APP_PID" 2>/dev/null
    [ -n "$XVFB" ] && kill -TERM "$XVFB" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "FAIL after $kills kills: $*"
    [ -s "$WORK/app.err" ] && { echo "--- program output"; tail -20 "$WORK/app.err"; }
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -1 "$WORK/display") QT_QPA_PLATFORM=xcb
export HOME=$WORK/home XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config
export XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A copy of the program in a folder of its own keeps its settings and pages beside
# itself there, never beside the build's executable.
APPDIR=$WORK/app
mkdir -p "$APPDIR"
cp "$ZENTABO" "$APPDIR/zentabo"
STORE=$APPDIR/zentabo.ztb
printf '[Option]\r\nSnapshotSeconds=1\r\n' >"$APPDIR/zentabo.ini"
"$LISTER" --seed "$STORE" 8 || { echo "FAIL: could not write the first page store"; exit 1; }

now() { date +%s.%N; }
# Sum of the pages' text lengths in a --text listing.
stored_chars() { awk -F'\t' '{ n += length($2) } END { print n + 0 }' "$1"; }
# Each page of listing $1 is still there in $2, its text continued, never cut.
kept_all() {
    awk -F'\t' 'FILENAME == ARGV[1] { cap[FNR] = $1; text[FNR] = $2; n = FNR; next }
                { got[FNR] = $2; gcap[FNR] = $1; m = FNR }
                END { if (m < n) { print "pages " m " of " n; exit 1 }
                      for (i = 1; i <= n; i++)
                          if (gcap[i] != cap[i] || substr(got[i], 1, length(text[i])) != text[i]) {
                              print "page " i " (" cap[i] ") lost text"; exit 1 } }' "$1" "$2"
}
word() {
    local letters=abcdefghijklmnopqrstuvwxyz w= i
    for ((i = 0; i < 3 + RANDOM % 6; i++)); do w+=${letters:RANDOM%26:1}; done
    printf '%s ' "$w"
}

# Waits up to 5 s for a snapshot being written; false when none began.
snapshot_being_written() {
    local i
    for ((i = 0; i < 500; i++)); do
        compgen -G "$APPDIR/*.tmp-*" >/dev/null && return 0
        sleep 0.01
    done
    return 1
}

kills=0 during=0 worst_chars=0 worst_seconds=0
"$LISTER" --text "$STORE" >"$WORK/before" || { echo "FAIL: the first page store does not read"; exit 1; }
while [ $kills -lt "$KILLS" ]; do
    "$APPDIR/zentabo" >>"$WORK/app.out" 2>>"$WORK/app.err" &
    APP_PID=$!
    WIN=$(timeout 20 xdotool search --sync --onlyvisible --pid "$APP_PID" 2>/dev/null | head -1)
    [ -n "$WIN" ] || fail "the program showed no window"
    # Nothing is typed yet, so no snapshot runs: a file left by a killed one must be gone.
    compgen -G "$APPDIR/*.tmp-*" >/dev/null && fail "a killed write's file was left: $(ls "$APPDIR")"
    xdotool windowfocus --sync "$WIN" 2>/dev/null
    sleep 0.3
    pages=$(wc -l <"$WORK/before")
    start_chars=$(stored_chars "$WORK/before")
    if [ "$pages" -lt $PAGES ] && [ $((RANDOM % 2)) = 0 -o "$pages" = 0 ]; then
        xdotool key --clearmodifiers ctrl+n
    else
        xdotool key --clearmodifiers ctrl+End
    fi
    sleep 0.2
    # Bursts of typing with pauses of up to 2.5 s, so a snapshot may start at any
    # point; (typed so far, time) is kept for each burst to measure a loss.
    typed=0 marks=()
    for ((b = 0; b < 1 + RANDOM % 4; b++)); do
        w=$(word)
        marks+=("$typed $(now)")
        xdotool type --delay 15 "$w"
        typed=$((typed + ${#w}))
        sleep "$((RANDOM % 26))e-1"
    done
    if "$LISTER" --text "$STORE" >"$WORK/seen" 2>/dev/null; then :; else cp "$WORK/before" "$WORK/seen"; fi
    if [ $((kills % 3)) = 2 ]; then
        # One more word starts a snapshot a second later; the kill comes while it is
        # being written.
        w=$(word)
        marks+=("$typed $(now)")
        xdotool type --delay 15 "$w"
        typed=$((typed + ${#w}))
        snapshot_being_written || fail "no snapshot was written within 5 s of typing"
    fi
    compgen -G "$APPDIR/*.tmp-*" >/dev/null && during=$((during + 1))
    kill -KILL "$APP_PID"
    killed_at=$(now)
    { wait "$APP_PID"; } 2>/dev/null
    APP_PID=
    kills=$((kills + 1))

    if [ -e "$STORE" ]; then
        "$LISTER" --text "$STORE" >"$WORK/after" || fail "the page store did not read completely"
    elif [ -s "$WORK/seen" ]; then
        fail "the page store is gone"
    else
        : >"$WORK/after"
    fi
    ls "$APPDIR" | grep -qE 'damaged|replaced' && fail "a store was set aside: $(ls "$APPDIR")"
    why=$(kept_all "$WORK/seen" "$WORK/after") || fail "$why (last snapshot seen before the kill)"
    why=$(kept_all "$WORK/before" "$WORK/after") || fail "$why (store from the previous start)"

    lost=$((typed - ($(stored_chars "$WORK/after") - start_chars)))
    [ $lost -lt 0 ] && lost=0
    [ $lost -gt $worst_chars ] && worst_chars=$lost
    if [ $lost -gt 0 ]; then
        kept=$((typed - lost))
        for m in "${marks[@]}"; do
            set -- $m
            if [ "$1" -le "$kept" ]; then since=$2; fi
        done
        secs=$(awk -v a="$since" -v b="$killed_at" 'BEGIN { printf "%.1f", b - a }')
        awk -v s="$secs" -v w="$worst_seconds" 'BEGIN { exit !(s > w) }' && worst_seconds=$secs
    fi
    cp "$WORK/after" "$WORK/before"
done
echo "kills: $kills ($during while a snapshot was being written), pages: $(wc -l <"$WORK/before")," \
     "longest loss: $worst_chars characters, ${worst_seconds} s of typing"
echo "PASS"
exit 0
