#!/usr/bin/env bash
# The windowed demo on a real X server (Xvfb), used through the keyboard as a
# person does: F6 opens the settings dialog, Escape closes it, Alt+X asks the
# closing question, Enter answers it. The program must end with status 0 and
# keep its language in the configuration file: on X11 Qt makes statics while
# windows are shown that a release of the forms at exit must not outlive.
#   windowed_demo.sh DEMO WORK
set -euo pipefail
demo=$1
work=$2
rm -rf "$work"
mkdir -p "$work"

fail() {
    echo "windowed demo on X11: $*" >&2
    [ -f "$work/demo.log" ] && cat "$work/demo.log" >&2
    exit 1
}

# Polls up to 20 seconds for a condition (a busy machine may be slow).
wait_for() {
    local i
    for i in $(seq 200); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
shown() { [ -n "$(window "$1")" ]; }
gone() { [ -z "$(window "$1")" ]; }

# Xvfb picks a free display and writes its number to the file.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
wait_for test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -1 "$work/display")
export QT_QPA_PLATFORM=xcb

"$demo" --config "$work/notes.ini" English >"$work/demo.log" 2>&1 &
pid=$!
wait_for shown "Orlo Notes" || fail "no main window"
main=$(window "Orlo Notes")

# Without a window manager the focus is given by hand, as a click would.
press() {
    xdotool windowfocus --sync "$1"
    xdotool key "$2"
}
press "$main" F6
wait_for shown Settings || fail "F6 did not open the settings"
press "$(window Settings)" Escape
wait_for gone Settings || fail "Escape did not close the settings"
press "$main" F6
wait_for shown Settings || fail "the second F6 did not open the settings"
press "$(window Settings)" Escape
wait_for gone Settings || fail "Escape did not close the settings again"
press "$main" alt+x
wait_for shown Confirmation || fail "Alt+X asked nothing"
press "$(window Confirmation)" Return

status=0
wait_for_exit() { ! kill -0 "$pid" 2>/dev/null; }
wait_for wait_for_exit || fail "the demo did not end"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the demo ended with status $status"
grep -qx "Glossa.Language=English" "$work/notes.ini" || fail "the language was not kept: $(cat "$work/notes.ini")"
echo "windowed demo on X11: passed"
