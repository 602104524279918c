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
xvfb_pid=
app_pid=

stop_process() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

cleanup() {
    [ -n "$app_pid" ] && stop_process "$app_pid"
    [ -n "$xvfb_pid" ] && stop_process "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for w in $(xdotool search --name Tovrelline 2>/dev/null); do echo "$w $(xdotool getwindowname "$w")"; done >&2
    echo "window=${window:-}" >&2
    for log in "$work"/app*.log; do
        [ -f "$log" ] && { echo "--- $log" >&2; tail -n 40 "$log" >&2; }
    done
    exit 1
}

# Runs a condition again every 0.2 s until it holds, the time is up or the program has ended.
wait_for() {
    local seconds=$1 description=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$deadline" ] && fail "timed out after ${seconds}s waiting for $description"
        if [ -n "$app_pid" ] && ! kill -0 "$app_pid" 2>/dev/null; then
            fail "the program ended while waiting for $description"
        fi
        sleep 0.2
    done
}

# Without any display the program says so and shows the command-line verbs.
set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$work/nodisplay.out" 2>"$work/nodisplay.err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "start without a display exited with $status"
grep -q "needs a graphical display" "$work/nodisplay.err" || fail "no plain message without a display"
grep -q "tovrelline help" "$work/nodisplay.out" || fail "the command-line verbs were not listed"

# Xvfb chooses a free display number itself and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 30 "Xvfb to start" test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"

mkdir -p "$work/config" "$work/data" "$work/runtime" "$work/bin"
chmod 700 "$work/runtime"
# The first start opens the user guide through the desktop's opener; record it instead of starting a browser.
cat >"$work/bin/xdg-open" <<OPENER
#!/bin/sh
echo "\$@" >>"$work/opened"
OPENER
chmod +x "$work/bin/xdg-open"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb
unset BROWSER DEFAULT_BROWSER XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
settings="$work/config/Tovrelline/settings.ini"
layout="$work/config/Tovrelline/layout.ini"

# The caption names the design: a default design opens as "Untitled.tvl".
start_program() {
    "$program" "${@:2}" >"$work/app$1.log" 2>&1 &
    app_pid=$!
    wait_for 60 "the main window" timeout 10 xdotool search --onlyvisible --name ' - Tovrelline$'
    window=$(timeout 10 xdotool search --onlyvisible --name ' - Tovrelline$' | head -n 1)
}

caption_is() {
    [ "$(xdotool getwindowname "$window")" = "$1" ]
}

title_is() {
    caption_is "$1" || fail "the window title is not $1"
}

# There is no window manager: give the window the keyboard focus directly, then type.
key() {
    timeout 10 xdotool windowfocus --sync "$1" 2>/dev/null || true
    timeout 10 xdotool key --clearmodifiers "${@:2}"
}

visible_windows() {
    timeout 10 xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l
}

# Opens a menu with its Alt key and chooses an item by its letter; the item is typed only once the menu's
# pop-up window is up, and the menu key is pressed again when a slow start swallowed it.
choose() {
    local menu_key=$1 item_key=$2 before attempt
    before=$(visible_windows)
    for attempt in 1 2 3 4 5; do
        key "$window" "$menu_key"
        local deadline=$((SECONDS + 5))
        while [ "$SECONDS" -lt "$deadline" ]; do
            if [ "$(visible_windows)" -gt "$before" ]; then
                key "$window" "$item_key"
                return
            fi
            sleep 0.2
        done
    done
    fail "the menu of $menu_key did not open"
}

stop_program() {
    choose alt+f x
    local deadline=$((SECONDS + 30))
    while kill -0 "$app_pid" 2>/dev/null; do
        [ "$SECONDS" -ge "$deadline" ] && fail "the program did not quit through File > Exit"
        sleep 0.2
    done
    set +e
    wait "$app_pid"
    local status=$?
    set -e
    app_pid=
    [ "$status" -eq 0 ] || fail "the program exited with $status"
}

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
