#!/usr/bin/env bash
# The long-deck half of bench/viewer-open.sh (run it as `bench/viewer-open.sh --long [BUILD_DIR]`):
# time and peak memory of opening, rendering and presenting decks of 800 and 3000 slides.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
render="$build/tools/slide-render"
viewer="$build/viewer/slidewell"
[ -x "$render" ] && [ -x "$viewer" ] || {
    echo "build slide-render and slidewell first: cmake --build $build --target slide-render slidewell" >&2
    exit 1
}

work=$(mktemp -d)
cleanup() {
    for pid in ${viewer_pid:-} ${openbox_pid:-} ${xvfb:-}; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
unset DBUS_SESSION_BUS_ADDRESS

decks=()
sample=$(cd "$here/../.." && pwd)/shared/samples/presentations/odp/Presentation4.odp
[ -f "$sample" ] && decks+=("$sample")
for n in 800 3000; do
    python3 "$here/make-deck.py" "$work/own-pictures-$n.pptx" "$n" --own-pictures
    decks+=("$work/own-pictures-$n.pptx")
done

# Peak RSS in MB and seconds of a command, from GNU time.
timed() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
    read -r seconds kb <"$work/time"
    printf '%6.2f s %6d MB' "$seconds" $((kb / 1024))
}

# Starts slidewell on $2 and waits until it logs that its window is shown; leaves the seconds
# that took in $shown and the process id in $viewer_pid. $1: the QPA platform.
start_viewer() {
    local log="$work/viewer.log"
    : >"$log"
    rm -rf "$work/config" # first run every time: the tips show, and Esc dismisses them
    QT_QPA_PLATFORM=$1 QT_LOGGING_RULES='brovik.*.debug=true' \
        QT_MESSAGE_PATTERN='%{time process} %{message}' "$viewer" "$2" >/dev/null 2>"$log" &
    viewer_pid=$!
    for _ in $(seq 600); do
        grep -q 'window shown' "$log" && break
        sleep 0.1
    done
    # Seconds from the request to open the file to the window being shown.
    shown=$(awk '/ opening / && !o { o = $1 } / window shown / && !s { s = $1 } END { printf "%.2f", s - o }' "$log")
}

peak_mb() {
    local kb
    kb=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status" 2>/dev/null)
    echo $((${kb:-0} / 1024))
}

# Waits until the process has used no processor time for a second (at most five minutes).
wait_idle() {
    local before after
    for _ in $(seq 300); do
        before=$(awk '{print $14 + $15}' "/proc/$1/stat")
        sleep 1
        after=$(awk '{print $14 + $15}' "/proc/$1/stat")
        [ "$before" = "$after" ] && return
    done
}

stop_viewer() {
    kill "$viewer_pid" 2>/dev/null || true
    wait "$viewer_pid" 2>/dev/null || true
}

session=""
if command -v Xvfb >/dev/null && command -v openbox >/dev/null && command -v xdotool >/dev/null; then
    export DISPLAY=:$((90 + RANDOM % 100))
    Xvfb "$DISPLAY" -screen 0 1920x1080x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    openbox --sm-disable >/dev/null 2>&1 &
    openbox_pid=$!
    sleep 1
    session=yes
fi

printf '%-26s %-32s %-32s %-26s %s\n' deck "open (slide-render)" "every slide at 240 px" "viewer open (offscreen)" \
    "presenting every slide (X, openbox)"
for deck in "${decks[@]}"; do
    slides=$(python3 -c "import sys,zipfile,re
z=zipfile.ZipFile(sys.argv[1])
n=[x for x in z.namelist() if re.match(r'ppt/slides/slide\d+\.xml$', x)]
print(len(n) if n else z.read('content.xml').count(b'<draw:page '))" "$deck")
    open=$(timed "$render" --width 240 --out "$work/out" --slides 0 "$deck")
    all=$(timed "$render" --width 240 --out "$work/out" "$deck")
    rm -rf "$work/out"
    start_viewer offscreen "$deck"
    sleep 2
    offscreen="$(printf '%6.2f s %6d MB' "${shown:-0}" "$(peak_mb "$viewer_pid")")"
    stop_viewer
    presenting="-"
    if [ -n "$session" ]; then
        start_viewer xcb "$deck"
        sleep 2
        # Past the first-run tips, then one slide after another.
        xdotool key Escape
        sleep 0.5
        xdotool key --delay 15 --repeat "$slides" Right
        wait_idle "$viewer_pid"
        presenting="$(peak_mb "$viewer_pid") MB"
        stop_viewer
    fi
    printf '%-26s %-32s %-32s %-26s %s\n' "$(basename "$deck" | cut -c1-26)" "$open" "$all" "$offscreen" "$presenting"
done
