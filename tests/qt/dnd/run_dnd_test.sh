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
. "$(dirname "$0")/dnd_test_lib.sh"

"$SOURCE" 'https://example.org/日本語?q=1&r=2' 'Example 題名' >"$WORK/source.log" 2>"$WORK/source.err" &
PIDS+=($!)
wait_for 20 grep -q '^READY' "$WORK/source.log" || fail "the link source did not start"
read -r sx sy < <(sed -n 's/^READY at=\([0-9]*\),\([0-9]*\)$/\1 \2/p' "$WORK/source.log")
[ -n "${sy:-}" ] || fail "the link source gave no position"

n=$(lines source.log)
drag "$sx" "$sy" "$px" "$py" link
wait_for 10 new_line source.log "$n" '^DRAG-RESULT' || fail "the link drag did not end"
new_line source.log "$n" '^DRAG-RESULT action=CopyAction' || fail "the page refused the link"
expect "the dropped link" "$(ask state)" page "$LINKED"
expect "one undo" "$(ask undo)" page "$PAGE"

# The editor's selection dragged over the page, which would take it, and cancelled.
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
