#!/usr/bin/env bash
# Starts the real designer under an Xvfb server of its own as a new user would: the first start writes
# the default design and offers a new one, a double DVD design is chosen and saved through the Save As
# dialog, the About box is opened from the Help menu, the program quits through File > Exit and starts a
# second time with the saved design named on its command line. Usage: end_to_end.sh PATH_TO_TOVRELLINE
set -euo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
work=$(mktemp -d)

source "$here/xvfb_session.sh"

# Without any display the program says so and shows the command-line verbs.
set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$work/nodisplay.out" 2>"$work/nodisplay.err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "start without a display exited with $status"
grep -q "needs a graphical display" "$work/nodisplay.err" || fail "no plain message without a display"
grep -q "tovrelline help" "$work/nodisplay.out" || fail "the command-line verbs were not listed"

start_xvfb_session

start_program 1
title_is "Untitled.tvl - Tovrelline"
# Without default designs the first start builds a blank one and keeps it as the default design.
[ -f "$work/data/Tovrelline/Default1.tvl" ] || fail "the first start did not write Default1.tvl"
# The first run offers a new design: choose the DVD case for two discs without the default template.
wait_for 30 "the New Document dialog" xdotool search --onlyvisible --name '^ New Document$'
new_dialog=$(timeout 10 xdotool search --onlyvisible --name '^ New Document$' | head -n 1)
key "$new_dialog" Down Down Down Tab space Return
wait_for 30 "the New Document dialog to close" bash -c "! timeout 10 xdotool search --onlyvisible --name '^ New Document$'"
wait_for 30 "HelpScreen to be written" grep -qx "HelpScreen=1" "$settings"
grep -qx "Version=4.00" "$settings" || fail "Version 4.00 was not written"
wait_for 30 "the user guide to be opened" grep -q "help/index.html" "$work/opened"

# Save As through the file dialog: the name gets its ".tvl" and the design reads back as a double DVD design.
choose alt+f a
wait_for 30 "the Save As dialog" xdotool search --onlyvisible --name '^Save As$'
save_dialog=$(timeout 10 xdotool search --onlyvisible --name '^Save As$' | head -n 1)
key "$save_dialog" ctrl+a
timeout 10 xdotool type --delay 20 "$work/My Album"
key "$save_dialog" Return
wait_for 30 "the saved design" test -f "$work/My Album.tvl"
wait_for 30 "the caption to name the saved design" caption_is "My Album.tvl - Tovrelline"
"$program" dump "$work/My Album.tvl" >"$work/dump.json" || fail "the saved design cannot be read"
grep -q '"discMode": "Double"' "$work/dump.json" || fail "the saved design is not a double-disc design"
grep -q '"caseKind": "DVD"' "$work/dump.json" || fail "the saved design is not a DVD design"

choose alt+h a
wait_for 30 "the About box" xdotool search --onlyvisible --name 'About Tovrelline'
about=$(timeout 10 xdotool search --onlyvisible --name 'About Tovrelline' | head -n 1)
key "$about" Escape
wait_for 30 "the About box to close" bash -c "! timeout 10 xdotool search --onlyvisible --name 'About Tovrelline'"

stop_program
grep -q "^State=" "$layout" || fail "the bar layout was not saved at exit"

# The second start neither opens the guide again nor rewrites the first-run values; a design named on the
# command line opens.
start_program 2 "$work/My Album.tvl"
title_is "My Album.tvl - Tovrelline"
sleep 1
[ "$(wc -l <"$work/opened")" -eq 1 ] || fail "the second start opened the user guide again"
stop_program
echo "end-to-end start, menu and exit passed"
