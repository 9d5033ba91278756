#!/usr/bin/env bash
# How fast the editor core opens a presentation and shows slides.
#
#   bench/viewer-open.sh [BUILD_DIR] [SLIDES]
#   bench/viewer-open.sh --long [BUILD_DIR]
#
# Generates a deck (default 50 slides) with bench/make-deck.py, then runs slide-render on it:
# the time to open the file, to render the first slide at full-screen size (1920 px), to render
# the rest, and to answer again from the cache. Also times the same on the sample decks when
# the samples are present in ../shared beside the repository. Prints figures; asserts nothing.
#
# --long measures long decks instead: the 800-slide sample (Presentation4.odp) and generated
# decks of 800 and 3000 slides with a picture of their own on every slide (3000: about 16 MB).
# For each: slide-render opening it, and rendering every slide at thumbnail size (time, peak
# RSS); slidewell opening it offscreen (time until its window is shown, peak RSS); and, when
# Xvfb, openbox and xdotool are present, slidewell presenting every slide under a window manager
# (Right pressed once per slide; peak RSS).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" = --long ]; then
    shift
    exec "$here/viewer-long-decks.sh" "$@"
fi
build=${1:-$here/../build-editorcore}
slides=${2:-50}
render="$build/tools/slide-render"
[ -x "$render" ] || { echo "build slide-render first: cmake --build $build --target slide-render" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deck="$work/bench-$slides.pptx"
python3 "$here/make-deck.py" "$deck" "$slides"

report() {
    # $1: label, $2: file
    local out
    local start end
    start=$(date +%s%N)
    out=$("$render" --width 1920 --out "$work/first" --slides 1 "$2" 2>/dev/null)
    end=$(date +%s%N)
    local load first
    load=$(sed -n 's/^loaded .*, \([0-9.]*\) ms$/\1/p' <<<"$out")
    first=$(sed -n 's/^slide 1: \([0-9.]*\) ms.*/\1/p' <<<"$out")
    printf '%-44s open %7.1f ms  first slide %7.1f ms  whole process %7.1f ms\n' \
        "$1" "$load" "$first" "$(( (end - start) / 1000 ))e-3"
}

echo "== open and show the first slide at 1920 px (process start, file load, render)"
for run in 1 2 3; do report "generated $slides-slide deck (run $run)" "$deck"; done

echo "== every slide at 1920 px, then again from the cache"
"$render" --width 1920 --out "$work/all" --repeat "$deck" 2>/dev/null | awk '
    /^slide/ { n++; gsub(/[():]/, " "); t += $3; a += $6; if ($3 > max) max = $3 }
    END { printf "%d slides: mean render %.1f ms, slowest %.1f ms, mean cached %.3f ms\n", n, t / n, max, a / n }'

samples=$(cd "$here/../.." && pwd)/shared/samples/presentations
if [ -d "$samples" ]; then
    echo "== sample decks (open and first slide)"
    for f in "$samples"/pptx/*.pptx "$samples"/odp/*.odp; do
        report "$(basename "$f" | cut -c1-44)" "$f"
    done
fi
