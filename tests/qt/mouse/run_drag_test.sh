#!/bin/bash
# run_drag_test.sh APP - drags a selection across three rows of the editor widget with
# the real pointer (Xvfb, xdotool) and checks the selected bytes, then pastes them as
# the X11 primary selection with a middle click. Exit 0 = pass, 1 = fail, 77 = Xvfb
# or xdotool is not installed (the test is skipped).
set -u
APP=$(realpath "${1:?usage: run_drag_test.sh APP}")
source "$(dirname "$0")/../../support/x11_session.sh"
x11_require Xvfb xdotool
x11_workdir dragtest
x11_start_xvfb || { echo "FAIL: Xvfb did not start"; exit 1; }
export XDG_RUNTIME_DIR=$WORK HOME=$WORK

out=$WORK/app.log
"$APP" >"$out" 2>"$WORK/app.err" &
PIDS+=($!)
app=${PIDS[-1]}
wait_for 15 grep -q '^READY' "$out" || { echo "FAIL: the app did not start"; cat "$WORK/app.err"; exit 1; }
read -r fx fy tx ty px py < <(sed -n 's/^READY from=\([0-9-]*\),\([0-9-]*\) to=\([0-9-]*\),\([0-9-]*\) paste=\([0-9-]*\),\([0-9-]*\)$/\1 \2 \3 \4 \5 \6/p' "$out")
xdotool mousemove --sync "$fx" "$fy" mousedown 1
for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove --sync $((fx + (tx - fx) * i / 8)) $((fy + (ty - fy) * i / 8))
    sleep 0.03
done
sleep 0.1
xdotool mouseup 1
wait_for 10 grep -q '^RESULT sel' "$out"
sleep 0.2
xdotool mousemove --sync "$px" "$py" click 2
wait_for 10 grep -q '^RESULT text' "$out"
wait "$app" 2>/dev/null
cat "$out"
# bcdef CR LF g 日本 h CR LF ijkl
SEL="62 63 64 65 66 0d 0a 67 93 fa 96 7b 68 0d 0a 69 6a 6b 6c"
# the text with the selection pasted behind its last row
TEXT="61 62 63 64 65 66 0d 0a 67 93 fa 96 7b 68 0d 0a 69 6a 6b 6c 6d 6e $SEL"
grep -q "^RESULT sel hex=\"$SEL\"$" "$out" || { echo "FAIL: expected sel hex=\"$SEL\""; exit 1; }
grep -q "^RESULT text hex=\"$TEXT\"$" "$out" || { echo "FAIL: expected text hex=\"$TEXT\""; exit 1; }
echo "PASS"
exit 0
