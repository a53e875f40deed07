#!/bin/bash
# run_ime_test.sh APP [CASE...] - types into the editor widget through a real input
# method (fcitx5 with mozc under Xvfb, keys from xdotool) and checks the stored code
# page 932 bytes, and after one undo where a case says so. Without CASE every case
# runs. Exit 0 = pass, 1 = fail, 77 = the programs needed are not installed (skipped).
# IME_SHOTS=DIR keeps a screenshot of every "shot" step there.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
APP=$(realpath "${1:?usage: run_ime_test.sh APP [CASE...]}")
shift

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
ime_drop_root "$HERE/run_ime_test.sh" "$APP" "$@"
ime_start || exit 1
export QT_QPA_PLATFORM=xcb
WANTED=("$@")

# In code page 932.
NIHONGO="93 fa 96 7b 8c ea"     # 日本語
KATAKANA="83 6a 83 7a 83 93 83 53"  # ニホンゴ
HIRAGANA="82 c9 82 d9 82 f1 82 b2"  # にほんご, the unconverted reading

# run_case NAME RESULT-HEX UNDO-HEX APP-ARGS... -- STEPS...
# UNDO-HEX "-" checks nothing after the undo, "no-preedit" that no composition was shown. A step is
# "ime-on", "state N" (wait until fcitx5-remote says N), "sleep N", "shot NAME" or an
# xdotool command line.
FAILED=0
run_case() {
    local name=$1 expect=$2 undo=$3; shift 3
    local args=(); while [ "$1" != -- ]; do args+=("$1"); shift; done; shift
    if [ ${#WANTED[@]} -gt 0 ] && [[ " ${WANTED[*]} " != *" $name "* ]]; then return; fi
    local out=$IME_WORK/$name.log step wid app ok=1
    ime_spawn timeout 60 "$APP" --timeout 40 "${args[@]}" >"$out" 2>"$IME_WORK/$name.err"
    app=${IME_PIDS[-1]}
    wait_for 10 grep -q READY "$out" || { ime_log "$name: the editor did not start"; FAILED=1; return; }
    # No window manager: windowfocus (XSetInputFocus) works where windowactivate would not.
    wid=$(timeout 10 xdotool search --sync --limit 1 --name '^imetest$') &&
        timeout 10 xdotool windowfocus --sync "$wid" || { ime_log "$name: cannot focus"; ok=0; }
    sleep 0.5
    for step in "$@"; do
        case $step in
            ime-on) ime_on || ok=0 ;;
            state\ *) wait_for 5 test "$(ime_state)" = "${step#state }" ||
                         { ime_log "$name: input method state $(ime_state), not ${step#state }"; ok=0; } ;;
            sleep\ *) $step ;;
            click\ *) timeout 10 xdotool mousemove --window "$wid" ${step#click } click 1; sleep 0.3 ;;
            kill-im) kill -TERM "$IME_FCITX5"; sleep 0.5 ;;
            shot\ *) if [ -n "${IME_SHOTS:-}" ] && command -v import >/dev/null; then
                         timeout 10 import -window root "$IME_SHOTS/${step#shot }.png"; fi ;;
            *) timeout 10 xdotool $step; sleep 0.3 ;;
        esac
    done
    sleep 0.5
    kill -TERM "$app"
    wait "$app" 2>/dev/null
    # Nothing may stay composing, nor reach the line edit the focus-lost case clicks.
    grep -q "^RESULT editor hex=\"$expect\" composing=0 caret=[0-9,]* other=\"\"$" "$out" || ok=0
    if [ "$undo" = no-preedit ]; then
        ! grep -q '^IME preedit="[^"]' "$out" || ok=0
    elif [ "$undo" != - ]; then
        grep -q "^UNDO editor hex=\"$undo\"$" "$out" || ok=0
    fi
    if [ $ok = 1 ]; then
        ime_log "$name: PASS"
    else
        sed 's/^/    /' "$out"
        ime_log "$name: FAIL: expected hex=\"$expect\", after undo \"$undo\""
        FAILED=1
    fi
}

run_case convert "$NIHONGO" "" -- \
    ime-on "type --delay 60 nihongo" "key space" "key Return"
# Overwrite mode: the candidate covers as many bytes as it has, once.
# The start mode switches the input method on by itself, for this window only.
run_case start-mode-on "$NIHONGO" "" --ime-open 1 -- \
    "state 2" "type --delay 60 nihongo" "key space" "key Return"
run_case overwrite "$NIHONGO 67 68" "61 62 63 64 65 66 67 68" --text abcdefgh --overwrite -- \
    ime-on "type --delay 60 nihongo" "key space" "key Return"
# Reconversion: Henkan reads the selection, F7 picks full-width katakana, Return
# accepts it in place of the selection, and one undo brings the selection back.
run_case reconvert "$KATAKANA" "$NIHONGO" --text 日本語 --select 0,0,0,6 -- \
    ime-on "key Henkan_Mode" "key F7" "key Return"
# Made right to left, between other characters.
run_case reconvert-rtl "82 a0 $KATAKANA 82 a2" "82 a0 $NIHONGO 82 a2" \
    --text あ日本語い --select 8,0,0,2 -- ime-on "key Henkan_Mode" "key F7" "key Return"
# Across a soft line break (wrapped at 10 bytes: "abcdefgh日" / "本語xy"), in a
# page scrolled sideways with line numbers on.
run_case reconvert-wrapped "61 62 63 64 65 66 67 68 $KATAKANA 78 79" \
    "61 62 63 64 65 66 67 68 $NIHONGO 78 79" \
    --text abcdefgh日本語xy --wrap 10 --line-numbers --select 8,0,1,4 -- \
    ime-on "key Henkan_Mode" "shot reconvert-wrapped" "key F7" "key Return"
# Across a logical line break: the candidate keeps it.
run_case reconvert-lines "83 6a 83 7a 83 93 0d 0a 8c e3 82 c5 82 b7" \
    "93 fa 96 7b 0d 0a 8c ea 82 c5 82 b7" --text '日本\n語です' --select 0,0,1,2 -- \
    ime-on "key Henkan_Mode" "key F7" "key Return"
# A box selection offers nothing to reconvert: the text stays as it is.
run_case reconvert-box "$NIHONGO 0d 0a $NIHONGO" no-preedit --text '日本語\n日本語' --box \
    --select 0,0,1,6 -- ime-on "key Henkan_Mode" "sleep 0.5"
# A click completes the composition where it was, once, then moves the caret. (The
# reading is not converted: mozc has learnt ニホンゴ by now.)
run_case click "$HIRAGANA 61 62 63 0d 0a 64 65 66" - --text 'abc\ndef' -- \
    ime-on "type --delay 60 nihongo" "click 300 40" "key Escape"
# Leaving the editor completes the composition in it.
run_case focus-lost "$HIRAGANA 61 62 63" - --text abc -- \
    ime-on "type --delay 60 nihongo" "click 240 228" "key Escape"
# The input method goes away in the middle of a composition: what it showed stays,
# once, and typing goes on (this case stops fcitx5, so it comes last).
run_case im-dies "$HIRAGANA 78 79 7a 61 62 63" - --text abc -- \
    ime-on "type --delay 60 nihongo" "kill-im" "type --delay 60 xyz"

exit $FAILED
