#!/bin/bash
# run_instance_test.sh BUILD LISTER - installs BUILD into a temporary prefix and runs
# real instances of the installed program under Xvfb: a later start hands its files
# to the running one and ends with 0, a start without files ends silently, a
# thousand files open each once, files that cannot be read are reported, and a start
# while the running one closes loses nothing. The pages are read back from the page
# store with LISTER. Exit 0 = pass, 1 = fail, 77 = Xvfb or xdotool missing (skipped).
set -u
BUILD=$(realpath "${1:?usage: run_instance_test.sh BUILD LISTER}")
LISTER=$(realpath "${2:?usage: run_instance_test.sh BUILD LISTER}")
source "$(dirname "$0")/../support/x11_session.sh"
x11_require Xvfb xdotool timeout
x11_workdir instancetest
fail() {
    echo "FAIL: $*"
    for f in "$WORK"/*.err; do [ -s "$f" ] && { echo "--- $f"; head -40 "$f"; }; done
    exit 1
}

x11_start_xvfb || fail "Xvfb did not start"
export HOME=$WORK/home XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config
export XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

cmake --install "$BUILD" --prefix "$WORK/prefix" >/dev/null || fail "cmake --install"
APP=$WORK/prefix/bin/zentabo
STORE=$XDG_DATA_HOME/Zentabo/zentabo.ztb

F=$WORK/files
mkdir -p "$F/many" "$F/folder" "$WORK/elsewhere"
printf 'one\r\ntwo' >"$F/a b.txt"
printf 'x' >"$F/日本語 メモ.txt"
SJIS=$'\x93\xfa\x96\x7b.txt'  # 日本 as Shift-JIS bytes: a name from an older system
printf 'y' >"$F/$SJIS"
printf 'z' >"$F/late.txt"
mkfifo "$F/pipe"
MANY=()
for i in $(seq -w 0 999); do
    printf '%s' "$i" >"$F/many/$i.txt"
    MANY+=("$F/many/$i.txt")
done
# Ten of them vanish before the running instance reads them.
rm -f "$F"/many/?50.txt

# The first start, with a relative name holding a space.
(cd "$F" && exec "$APP" "a b.txt") >"$WORK/first.out" 2>"$WORK/first.err" &
FIRST=$!
PIDS+=($FIRST)
timeout 20 xdotool search --sync --onlyvisible --pid "$FIRST" >/dev/null ||
    fail "the first instance showed no window"

# A later start from another folder hands over what it was given and ends at once.
cd "$WORK/elsewhere"
timeout 30 "$APP" "$F/日本語 メモ.txt" "../files/$SJIS" "$F/folder" "$F/gone.txt" "$F/pipe" \
    >"$WORK/second.out" 2>"$WORK/second.err"
rc=$?
[ $rc -eq 0 ] || fail "the second start ended with $rc"
[ -s "$WORK/second.out" ] || [ -s "$WORK/second.err" ] && fail "the second start printed something"
# Without files: silently.
timeout 30 "$APP" >"$WORK/third.out" 2>"$WORK/third.err" || fail "a start without files failed"
[ -s "$WORK/third.out" ] || [ -s "$WORK/third.err" ] && fail "a start without files printed something"
timeout 60 "$APP" "${MANY[@]}" 2>"$WORK/many.err" || fail "the thousand files were not handed over"

# Every file that cannot be read is named by the running instance.
for name in folder gone.txt pipe many/050.txt many/950.txt; do
    wait_for 60 grep -qF "$F/$name" "$WORK/first.err" || fail "$name was not reported"
done

# A start while the running instance closes: its file is kept, by one or the other.
kill -TERM "$FIRST"
"$APP" "$F/late.txt" >"$WORK/late.out" 2>"$WORK/late.err" &
LATE=$!
PIDS+=($LATE)
timeout 60 tail --pid="$FIRST" -f /dev/null || fail "the first instance did not end"
wait "$FIRST"
rc=$?
[ $rc -eq 0 ] || fail "the first instance ended with $rc"
if kill -0 "$LATE" 2>/dev/null && ! timeout 1 tail --pid="$LATE" -f /dev/null; then
    # It became the running instance: let it show its window, then end it.
    timeout 30 xdotool search --sync --onlyvisible --pid "$LATE" >/dev/null ||
        fail "the late start neither handed over nor showed a window"
    kill -TERM "$LATE"
fi
timeout 60 tail --pid="$LATE" -f /dev/null || fail "the late start did not end"
wait "$LATE" || fail "the late start failed"

"$LISTER" "$STORE" >"$WORK/pages" || fail "the page store could not be read"
count() { grep -cF -x -- "$1" "$WORK/pages"; }
[ "$(count $'a b.txt\t'"$F/a b.txt")" = 1 ] || fail "a b.txt is not open once"
[ "$(count $'日本語 メモ.txt\t'"$F/日本語 メモ.txt")" = 1 ] || fail "the Japanese name is not open once"
# The Shift-JIS bytes were handed over as they are, through a relative path, and the
# tab shows the name they spell.
[ "$(count "$(printf '日本.txt\t%s' "$WORK/elsewhere/../files/$SJIS")")" = 1 ] ||
    fail "the Shift-JIS name is not open once"
[ "$(count $'late.txt\t'"$F/late.txt")" = 1 ] || fail "late.txt is not open once"
opened=$(grep -c $'\t'"$F/many/" "$WORK/pages")
distinct=$(grep $'\t'"$F/many/" "$WORK/pages" | sort -u | wc -l)
[ "$opened" = 990 ] && [ "$distinct" = 990 ] || fail "$opened pages ($distinct distinct) of 990 files"
grep -qF -e "$F/folder" -e "$F/pipe" -e "gone.txt" "$WORK/pages" && fail "an unreadable file has a page"
# Installed, the program keeps nothing beside itself.
ls "$WORK/prefix/bin" | grep -qv '^zentabo$' && fail "files were written beside the program"
echo "PASS"
exit 0
