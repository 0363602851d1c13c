#!/bin/bash
# Do the drawing shortcuts change a pixel? Runs the harness scripts of docs/screenshots (and the
# logos and a few plain levels) headless, once as built and once with SNOW_PLAIN_DRAWING=1 (every
# drawing shortcut off), takes a screenshot every few passes and compares the PNGs byte for byte.
#
#   tests/bench/same_screens.sh [--keep DIR] SNOWMERE [RUN...]
#
# Prints each run's number of shots and of differing ones and exits 1 when any differs; the
# differing pairs stay in DIR/<run>/{fast,plain} (DIR defaults to a temporary folder). RUN names
# (logos flow over tips options screens scenery_menu scenery_play level40 level100 level150)
# limit it to those runs.
set -u
keep=""
if [ "${1:-}" = --keep ]; then
    keep=$2
    shift 2
fi
prog=$1
shift
only=("$@")
repo=$(cd "$(dirname "$0")/../.." && pwd)
shots=$repo/docs/screenshots
out=${keep:-$(mktemp -d)}
[ -z "$keep" ] && trap 'rm -rf "$out"' EXIT
export SDL_AUDIODRIVER=dummy

# shot_args FIRST LAST STEP DIR: --screenshot options for every STEP-th pass.
shot_args() {
    local p
    for ((p = $1; p <= $2; p += $3)); do
        printf -- '--screenshot %d:%s/%05d.png ' "$p" "$4" "$p"
    done
}

# A data folder with a named player, so a start opens on the plain main menu.
named_data() {
    "$prog" --headless --skip-logos --seed 5 --fixed-delta 20 --data-dir "$1" \
        --input "$shots/scenery_name.input" --frames 10 >/dev/null 2>&1
}

failed=0
# run NAME FRAMES STEP NAMED ARGS...: one harness run, with and without the shortcuts.
run() {
    local name=$1 frames=$2 step=$3 named=$4
    shift 4
    if [ ${#only[@]} -gt 0 ] && [[ ! " ${only[*]} " =~ " $name " ]]; then return; fi
    local kind data
    for kind in fast plain; do
        mkdir -p "$out/$name/$kind"
        data=$(mktemp -d)
        [ "$named" = 1 ] && named_data "$data"
        # shellcheck disable=SC2046
        if [ $kind = plain ]; then
            SNOW_PLAIN_DRAWING=1 "$prog" --headless --fixed-delta 20 --data-dir "$data" \
                --frames "$frames" "$@" $(shot_args 1 $((frames - 1)) "$step" "$out/$name/$kind") \
                >/dev/null 2>&1
        else
            "$prog" --headless --fixed-delta 20 --data-dir "$data" --frames "$frames" "$@" \
                $(shot_args 1 $((frames - 1)) "$step" "$out/$name/$kind") >/dev/null 2>&1
        fi
        rm -rf "$data"
    done
    local total=0 differ=0 f
    for f in "$out/$name/fast"/*.png; do
        total=$((total + 1))
        if cmp -s "$f" "$out/$name/plain/$(basename "$f")"; then
            rm -f "$f" "$out/$name/plain/$(basename "$f")"
        else
            differ=$((differ + 1))
        fi
    done
    [ $total -gt 0 ] || differ=1 # the run drew nothing: something is wrong
    echo "$name: $total shots, $differ differ"
    failed=$((failed + differ))
}

run logos 300 10 0 --seed 3
run flow 670 5 0 --skip-logos --seed 3 --dev-keys --input "$shots/game-flow.input"
run over 420 5 0 --skip-logos --seed 3 --dev-keys --level 1 --input "$shots/game-over.input"
run tips 2171 10 0 --skip-logos --seed 3 --dev-keys --input "$shots/tips.input"
run options 130 3 1 --skip-logos --seed 3 --input "$shots/options.input"
run screens 720 5 0 --skip-logos --seed 3 --level 1 --input "$shots/game-screens.input"
run scenery_menu 451 10 1 --skip-logos --seed 5
run scenery_play 1001 10 0 --skip-logos --seed 11 --input "$shots/scenery_play.input"
run level40 400 10 0 --skip-logos --seed 5 --level 40
run level100 300 10 0 --skip-logos --seed 5 --level 100
run level150 300 10 0 --skip-logos --seed 1 --level 150
[ $failed = 0 ]
