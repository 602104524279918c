#!/usr/bin/env bash
# Checks an installed Tovrelline as a desktop would find it: the program and its user guide, the desktop
# entry (desktop-file-validate), the icon at every size, and the design file type (the shared MIME
# database built from the entry maps "*.tvl" to it). Then the installed program reads a design named on
# its command line, once through the dump verb and once by opening its window under an Xvfb server of its
# own, which also shows that it finds its installed user guide.
# Usage: install_check.sh PREFIX DESIGN.tvl    (PREFIX holds bin/ and share/, e.g. /usr)
set -euo pipefail
prefix=$(realpath "$1")
design=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
export LSAN_OPTIONS="suppressions=$here/../e2e/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
program=$prefix/bin/tovrelline
share=$prefix/share
work=$(mktemp -d)
xvfb_pid=
app_pid=

cleanup() {
    for pid in $app_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.log; do
        [ -f "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

[ -x "$program" ] || fail "no program at $program"
[ -f "$share/tovrelline/help/index.html" ] || fail "the user guide is not installed"
entry=$share/applications/tovrelline.desktop
[ -f "$entry" ] || fail "no desktop entry"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
grep -qx "GenericName=Disc Label Designer" "$entry" || fail "the desktop entry has no generic name"
grep -qx "MimeType=application/x-tovrelline-design;" "$entry" || fail "the desktop entry opens no designs"

icons=$share/icons/hicolor
[ -f "$icons/scalable/apps/tovrelline.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
    png=$icons/${size}x${size}/apps/tovrelline.png
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "the ${size}x${size} icon has another size"
done

mkdir -p "$work/mime/packages"
cp "$share/mime/packages/tovrelline.xml" "$work/mime/packages/"
update-mime-database "$work/mime" 2>"$work/mime.log" || fail "the MIME entry cannot be read"
grep -q "application/x-tovrelline-design:\*\.tvl" "$work/mime/globs2" || fail "*.tvl is not a Tovrelline design"
grep -q "Tovrelline design" "$work/mime/application/x-tovrelline-design.xml" || fail "the file type has no name"

mkdir -p "$work/config" "$work/data" "$work/runtime" "$work/bin"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
"$program" dump "$design" >"$work/dump.json" 2>"$work/dump.log" || fail "the installed program cannot read a design"
grep -q '"fileVersion"' "$work/dump.json" || fail "the dump shows no design"

# The first start opens the user guide through the desktop's opener: record it instead of a browser.
cat >"$work/bin/xdg-open" <<OPENER
#!/bin/sh
echo "\$@" >>"$work/opened"
OPENER
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb
unset BROWSER DEFAULT_BROWSER XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
# No reset when the last client leaves: a client connecting during one is refused.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 150); do [ -s "$work/display" ] && break; sleep 0.2; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

"$program" "$design" >"$work/app.log" 2>&1 &
app_pid=$!
caption="$(basename "$design") - Tovrelline"
for _ in $(seq 300); do
    kill -0 "$app_pid" 2>/dev/null || fail "the installed program ended at start"
    timeout 10 xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1 && break
    sleep 0.2
done
timeout 10 xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1 || fail "no window shows $caption"
# The first start offers a new design before it opens the guide: keep the named one.
for _ in $(seq 150); do
    dialog=$(timeout 10 xdotool search --onlyvisible --name '^ New Document$' 2>/dev/null | head -n 1) || true
    [ -n "$dialog" ] && break
    sleep 0.2
done
[ -n "$dialog" ] || fail "the first start offered no new design"
timeout 10 xdotool windowfocus --sync "$dialog" 2>/dev/null || true
timeout 10 xdotool key --clearmodifiers Escape
for _ in $(seq 150); do [ -s "$work/opened" ] && break; sleep 0.2; done
grep -q "$share/tovrelline/help/index.html" "$work/opened" || fail "the installed user guide was not opened"
echo "installed program, desktop entry, icons and design file type passed"
