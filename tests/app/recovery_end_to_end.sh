#!/usr/bin/env bash
# No lost work after a crash, with the real program under an Xvfb server of its own: text blocks inserted
# into a saved design and not saved again survive a SIGKILL; the next start asks about them, Yes opens them
# under the design's own name and Save writes them into its file; No leaves no copy behind.
# Usage: recovery_end_to_end.sh PATH_TO_TOVRELLINE
set -euo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
work=$(mktemp -d)

source "$here/xvfb_session.sh"

recovery_folder="$work/state/Tovrelline"
question='^ Tovrelline$'

copies() {
    find "$recovery_folder" -name 'recovery-*.tvl' 2>/dev/null | wc -l
}

# Edit > Insert > Text, count times; every tenth edit writes the recovery copy at once.
insert_texts() {
    local before
    for _ in $(seq "$1"); do
        before=$(visible_windows)
        choose alt+e i
        wait_for 10 "the Insert menu" bash -c "[ \$(timeout 10 xdotool search --onlyvisible --pid $app_pid | wc -l) -gt $((before + 1)) ]"
        key "$window" t
        wait_for 10 "the menus to close" bash -c "[ \$(timeout 10 xdotool search --onlyvisible --pid $app_pid | wc -l) -le $before ]"
    done
}

kill_program() {
    kill -9 "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

# Starts the program and waits for the recovery question instead of the main window.
start_to_question() {
    "$program" >"$work/app$1.log" 2>&1 &
    app_pid=$!
    wait_for 60 "the recovery question" timeout 10 xdotool search --onlyvisible --name "$question"
    box=$(timeout 10 xdotool search --onlyvisible --name "$question" | head -n 1)
}

start_xvfb_session

# A first start as a new user: cancel the New Document offer, then give the design a file of its own.
start_program 1
wait_for 30 "the New Document dialog" xdotool search --onlyvisible --name '^ New Document$'
key "$(timeout 10 xdotool search --onlyvisible --name '^ New Document$' | head -n 1)" Escape
wait_for 30 "the New Document dialog to close" bash -c "! timeout 10 xdotool search --onlyvisible --name '^ New Document$'"
choose alt+f a
wait_for 30 "the Save As dialog" xdotool search --onlyvisible --name '^Save As$'
save_dialog=$(timeout 10 xdotool search --onlyvisible --name '^Save As$' | head -n 1)
key "$save_dialog" ctrl+a
timeout 10 xdotool type --delay 20 "$work/Album"
key "$save_dialog" Return
wait_for 30 "the caption to name the saved design" caption_is "Album.tvl - Tovrelline"
[ "$(copies)" -eq 0 ] || fail "a saved design has a recovery copy"

insert_texts 10
wait_for 30 "the recovery copy" test "$(copies)" -eq 1
kill_program

# Yes: the changes come back under the design's own name, still to be saved.
start_to_question 2
key "$box" Return
wait_for 60 "the recovered design" timeout 10 xdotool search --onlyvisible --name '^Album.tvl - Tovrelline$'
window=$(timeout 10 xdotool search --onlyvisible --name '^Album.tvl - Tovrelline$' | head -n 1)
"$program" dump "$work/Album.tvl" >"$work/before-save.json"
if grep -q '"name": "Text 10"' "$work/before-save.json"; then fail "the file had the changes before Save"; fi
key "$window" ctrl+s
wait_for 30 "the recovered changes in the file" bash -c "'$program' dump '$work/Album.tvl' | grep -q '\"name\": \"Text 10\"'"
wait_for 30 "the saved design's copy to go" test "$(copies)" -eq 0

# No: after another kill the copy is deleted and the start goes on as usual.
insert_texts 10
wait_for 30 "the second recovery copy" test "$(copies)" -eq 1
kill_program
start_to_question 3
key "$box" Tab space
wait_for 60 "the main window" timeout 10 xdotool search --onlyvisible --name ' - Tovrelline$'
window=$(timeout 10 xdotool search --onlyvisible --name ' - Tovrelline$' | head -n 1)
[ "$(copies)" -eq 0 ] || fail "answering No left a recovery copy"
"$program" dump "$work/Album.tvl" | grep -q '"name": "Text 11"' && fail "the declined changes reached the file"
stop_program
[ "$(copies)" -eq 0 ] || fail "a normal exit left a recovery copy"
echo "recovery after a crash passed"
