#!/usr/bin/env bash
# Drives tavrel-wizard.exe under wine by keyboard (xdotool), on a display of
# its own (Xvfb with openbox), on a copy of the demo tree with the demo hive
# imported, and requires the pages it writes to equal, byte for byte, what the
# Linux tavrel writes for the same edits on the same page:
#   add      New Item, typing (a two-line description), Add, Build It;
#   delete   Delete of the first entry, Build It;
#   discard  typing, then Escape: the Discard question; Discard ends the
#            wizard and the page is unchanged;
#   on disk  Delete, the page changed by another program, Build It: the three
#            choices; "Apply my changes" makes the delete on the page as it
#            is now.
# Every wait is bounded; a window that does not come fails the test.
# Usage: wizard_gui_test.sh LINUX_TAVREL WIZARD_EXE SOURCE_DIR
# (WINEPREFIX names a prepared wine prefix). Exit 77: a tool is missing.
# KEEP=1 keeps the scratch folder (pages, hives) for a look after a failure.
set -euo pipefail
linux=$1
wizard=$2
source=$3
wine=/usr/lib/wine/wine64
for tool in Xvfb openbox xdotool; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
demo=$scratch/demo
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [[ -n ${KEEP:-} ]] || rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

# A display no other program uses, with a window manager, so that windows
# take the keyboard focus as on a desktop.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)

sed "s|@DEMO_ROOT@|Z:$(printf '%s/' "$demo" | sed 's|/|\\\\\\\\|g')|" \
    "$source/demo/registry/local.reg.in" >"$scratch/demo.reg"
"$wine" regedit /S "$scratch/demo.reg"
mkdir -p "$scratch/registry"
sed "s|@DEMO_ROOT@|$demo/|" "$source/demo/registry/local.reg.in" >"$scratch/registry/local.reg"

reset_demo() {
    rm -rf "$demo"
    mkdir -p "$demo"
    cp -r "$source/demo/htdocs" "$source/demo/archive" "$demo/"
}

# The id of the window whose name matches the pattern $1, once it shows (at
# most 30 s).
wait_window() {
    local id
    for _ in $(seq 1 150); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        if [[ -n $id ]]; then
            xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
            sleep 0.3
            echo "$id"
            return
        fi
        sleep 0.2
    done
    fail "no window \"$1\""
}

start_wizard() {
    "$wine" "$wizard" "Z:${demo//\//\\}\\htdocs\\tavrel.html" >/dev/null 2>&1 &
    wizard_pid=$!
    pids+=($wizard_pid)
    wait_window "^tavrel\\.html — Tavrel Wizard\$" >/dev/null
}

# Waits (at most 30 s) for the wizard to end.
wait_end() {
    for _ in $(seq 1 150); do
        kill -0 "$wizard_pid" 2>/dev/null || return 0
        sleep 0.2
    done
    fail "the wizard did not end after $1"
}

# The wizard asks its questions in boxes captioned with the page's path.
question='htdocs.tavrel\.html$'

keys() { xdotool key --delay 60 "$@"; }
typed() { xdotool type --delay 20 "$1"; }

expect_page() {  # $1: what; the page must equal the one the Linux tavrel wrote
    cmp "$demo/htdocs/tavrel.html" "$scratch/expected.html" ||
        fail "$1: the page differs from the Linux tavrel's"
    echo "ok: $1"
}

linux_tavrel() { TAVREL_REGISTRY_DIR=$scratch/registry "$linux" "$@" >/dev/null; }

# The Linux page first, then the wizard's on a fresh copy.
reset_demo
linux_tavrel add "$demo/htdocs/tavrel.html" --link /docs/guide.html --title "Windows & more" \
    --description $'line one\nline two' --date "December 1, 2026"
cp "$demo/htdocs/tavrel.html" "$scratch/expected.html"
reset_demo
start_wizard
keys alt+n
typed "Windows & more"
keys Tab
typed /docs/guide.html
keys Tab Tab
typed "line one"
keys Return
typed "line two"
keys Tab
typed "December 1, 2026"
keys alt+a alt+u
wait_end "Build It"
expect_page add

reset_demo
linux_tavrel delete "$demo/htdocs/tavrel.html" 0
cp "$demo/htdocs/tavrel.html" "$scratch/expected.html"
reset_demo
start_wizard
keys alt+d alt+u
wait_end "Build It"
expect_page delete

reset_demo
cp "$demo/htdocs/tavrel.html" "$scratch/expected.html"
start_wizard
keys alt+n
typed "Never added"
keys Escape
wait_window "$question" >/dev/null
keys alt+d
wait_end "Discard"
expect_page discard

reset_demo
linux_tavrel add "$demo/htdocs/tavrel.html" --link /elsewhere.html --title "From elsewhere" \
    --date "December 2, 2026"
linux_tavrel delete "$demo/htdocs/tavrel.html" 1
cp "$demo/htdocs/tavrel.html" "$scratch/expected.html"
reset_demo
start_wizard
keys alt+d
linux_tavrel add "$demo/htdocs/tavrel.html" --link /elsewhere.html --title "From elsewhere" \
    --date "December 2, 2026"
keys alt+u
wait_window "$question" >/dev/null
keys alt+a
wait_end "Apply my changes"
expect_page "changed on disk, apply my changes"
echo PASS
