# Shared by the end-to-end scripts: an Xvfb server of their own, a fresh user (configuration, data, state
# and runtime folders under $work) and the helpers that start, drive and stop the real program. The caller
# sets program and work, and traps EXIT with cleanup.
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

# Starts Xvfb and gives the program a fresh user whose desktop opener only records what it was asked to open.
start_xvfb_session() {
    # Xvfb chooses a free display number itself and writes it to descriptor 3.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for 30 "Xvfb to start" test -s "$work/display"
    export DISPLAY=":$(head -n 1 "$work/display")"

    mkdir -p "$work/config" "$work/data" "$work/state" "$work/runtime" "$work/bin"
    chmod 700 "$work/runtime"
    # The first start opens the user guide through the desktop's opener; record it instead of starting a browser.
    printf '#!/bin/sh\necho "$@" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
    export XDG_RUNTIME_DIR="$work/runtime"
    export PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb
    unset BROWSER DEFAULT_BROWSER XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
    settings="$work/config/Tovrelline/settings.ini"
    layout="$work/config/Tovrelline/layout.ini"
}

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

