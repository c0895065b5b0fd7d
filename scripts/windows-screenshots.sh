#!/usr/bin/env bash
# Takes the README's screenshots of tavrel-wizard.exe under wine, at 96 and
# 144 dpi (the LogPixels value of a wine prefix of its own), on a display of
# its own (Xvfb with openbox): the editor, the link chooser, the Discard
# question and the three choices of a page changed on disk, each window with
# its frame, into docs/windows/NAME-DPI.png. Needs the windows build
# (build/windows/app/tavrel-wizard.exe), Xvfb, openbox, xdotool, xwininfo
# and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
wizard=$PWD/build/windows/app/tavrel-wizard.exe
out=$PWD/docs/windows
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
scratch=$(mktemp -d)
# Short paths, so that the captions of the questions (the page's path) read well.
demo=/tmp/tavrel-demo
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all DISPLAY=:$((90 + RANDOM % 100))
pids=()
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch" "$demo"
}
trap cleanup EXIT
Xvfb "$DISPLAY" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
mkdir -p "$WINEPREFIX" "$out"
"$wine" wineboot -i >/dev/null 2>&1
sed "s|@DEMO_ROOT@|Z:$(printf '%s/' "$demo" | sed 's|/|\\\\\\\\|g')|" \
    demo/registry/local.reg.in >"$scratch/demo.reg"
"$wine" regedit /S "$scratch/demo.reg"

wait_window() {  # the id of the window whose name matches $1 (at most 30 s)
    for _ in $(seq 1 150); do
        local id
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
        [[ -n $id ]] && { echo "$id"; return; }
        sleep 0.2
    done
    echo "no window \"$1\"" >&2
    exit 1
}

shot() {  # the window matching $1, with openbox's frame, into $2
    local id X Y W H
    id=$(wait_window "$1")
    xdotool windowactivate --sync "$id"
    sleep 0.8
    eval "$(xwininfo -id "$id" | awk -F: '/Absolute upper-left X/{print "X="$2}
        /Absolute upper-left Y/{print "Y="$2} /Width/{print "W="$2} /Height/{print "H="$2}' |
        tr -d ' ')"
    import -window root -crop $((W + 2))x$((H + 22))+$((X - 1))+$((Y - 21)) +repage "$out/$2"
}

start() {
    rm -rf "$demo"
    mkdir -p "$demo"
    cp -r demo/htdocs demo/archive "$demo/"
    "$wine" "$wizard" "Z:${demo//\//\\}\\htdocs\\tavrel.html" >/dev/null 2>&1 &
    pids+=($!)
    wait_window 'Tavrel Wizard$' >/dev/null
    sleep 0.5
}

question='htdocs.tavrel\.html$'
for dpi in 96 144; do
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    "$wineserver" -k || true
    sleep 1
    start
    shot 'Tavrel Wizard$' editor-$dpi.png
    # The chooser with a directory chosen and its files listed.
    xdotool key alt+b
    wait_window 'Choose Local HREF' >/dev/null
    sleep 0.5
    xdotool key shift+Tab Down Down Down shift+Tab
    shot 'Choose Local HREF' link-chooser-$dpi.png
    xdotool key Escape
    sleep 0.8
    xdotool key alt+n
    xdotool type Typed
    xdotool key Escape
    shot "$question" discard-question-$dpi.png
    xdotool key alt+d
    sleep 1

    start
    xdotool key alt+d
    echo "<!-- changed -->" >>"$demo/htdocs/tavrel.html"
    xdotool key alt+u
    shot "$question" changed-on-disk-$dpi.png
    xdotool key alt+b
    sleep 0.8
    xdotool key Escape
    sleep 0.8
    xdotool key alt+d
    sleep 1
done
ls "$out"
