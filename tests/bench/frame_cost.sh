#!/bin/bash
# Frame cost of the game in real windows and headless, as a player's machine sees it.
#
#   tests/bench/frame_cost.sh [--rounds N] [--skip-long] BUILD_DIR [OTHER_SNOWMERE...]
#
# For each program (BUILD_DIR/snowmere first, then any others, e.g. an older build to compare
# with), interleaved over N rounds (default 3), on an Xvfb screen of its own:
#   menu_cpu   whole-process CPU seconds (all threads, Mesa's included) over 10 s on the still
#              main menu in a window, measured after 3 s of warm-up
#   l40_cpu    the same on level 40
#   l40_rss    peak RSS of that run (MiB)
#   l40_frame  whole-process CPU milliseconds per frame on level 40 in a window: the difference
#              of runs of 360 and 60 passes, over 300 (less sensitive to a busy machine than the
#              CPU per 10 s, which falls when the game gets fewer frames)
#   map_ms, first_ms, black
#              exec to the window mapping and to its first non-black picture, and how many looks
#              saw the mapped window still black (BUILD_DIR/tests/bench/first_frame)
# and once per program (unless --skip-long):
#   h150_rss   peak RSS of a headless run of level 150 for 2,000 frames
#   h1_cpu     CPU seconds of a headless `--frames 1` start-up
# Prints every run, then the medians. Needs Xvfb.
set -u
rounds=3
long=1
while [ $# -gt 0 ]; do
    case $1 in
    --rounds) rounds=$2; shift 2 ;;
    --skip-long) long=0; shift ;;
    *) break ;;
    esac
done
build=$1
shift
programs=("$build/snowmere" "$@")
watcher=$build/tests/bench/first_frame
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT

display=:$((400 + $$ % 500))
Xvfb $display -screen 0 1280x1024x24 -br -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=dummy

# A fresh data folder whose settings ask for a window (WINDOWED_MODE=$2, default 1).
fresh_data() {
    rm -rf "$1"
    mkdir -p "$1"
    printf 'PLAYER0=New Player\r\nPLAYER_CRT=0\r\nFX_VOL=0.8\r\nMUSIC_VOL=0.8\r\nAMBIENT_VOL=0.5\r\nWINDOWED_MODE=%s\r\nLEVELS_COUNT=150\r\nUSERS_COUNT=10\r\nSLOW_PC=0\r\nBG_LIGHT=1.00000000' "${2:-1}" >"$1/gx_config.txt"
}

# run_cpu PROGRAM ARGS...: whole-process CPU seconds of a run to its end.
run_cpu() {
    /usr/bin/time -f "%U %S" "$@" 2>&1 >/dev/null | tail -1 | awk '{print $1+$2}'
}

# cpu_window PROGRAM ARGS...: "cpu rss" over 10 s after 3 s of warm-up.
cpu_window() {
    local data=$work/data
    fresh_data "$data"
    "$@" --skip-logos --data-dir "$data" >/dev/null 2>&1 &
    local pid=$! tck
    tck=$(getconf CLK_TCK)
    sleep 3
    local a b hwm
    a=$(awk '{print $14+$15}' /proc/$pid/stat)
    sleep 10
    b=$(awk '{print $14+$15}' /proc/$pid/stat)
    hwm=$(awk '/VmHWM/{print $2}' /proc/$pid/status)
    kill -KILL $pid
    wait $pid 2>/dev/null
    awk -v a="$a" -v b="$b" -v t="$tck" -v m="$hwm" 'BEGIN{printf "%.2f %.0f", (b-a)/t, m/1024}'
}

results=$work/results
: >"$results"
for ((r = 1; r <= rounds; r++)); do
    for p in "${programs[@]}"; do
        read -r menu _ < <(cpu_window "$p")
        read -r l40 rss < <(cpu_window "$p" --level 40)
        fresh_data "$work/data"
        c60=$(run_cpu "$p" --skip-logos --data-dir "$work/data" --level 40 --frames 60)
        fresh_data "$work/data"
        c360=$(run_cpu "$p" --skip-logos --data-dir "$work/data" --level 40 --frames 360)
        frame=$(awk -v a="$c60" -v b="$c360" 'BEGIN{printf "%.1f", (b-a)/300*1000}')
        fresh_data "$work/data"
        ff=$("$watcher" -- "$p" --data-dir "$work/data" 2>/dev/null)
        map=$(echo "$ff" | sed -n 's/.*map_ms=\([-0-9]*\).*/\1/p')
        first=$(echo "$ff" | sed -n 's/.*first_frame_ms=\([-0-9]*\).*/\1/p')
        black=$(echo "$ff" | sed -n 's/.*black_looks=\([0-9]*\).*/\1/p')
        echo "$p round $r: menu_cpu=$menu l40_cpu=$l40 l40_rss=$rss l40_frame=$frame map_ms=$map first_ms=$first black=$black load=$(cut -d' ' -f1 /proc/loadavg)"
        echo "$p $menu $l40 $rss $frame $map $first $black" >>"$results"
    done
done
if [ $long = 1 ]; then
    for p in "${programs[@]}"; do
        fresh_data "$work/h" 0
        h150=$(/usr/bin/time -f %M "$p" --headless --skip-logos --fixed-delta 16 --seed 1 \
            --data-dir "$work/h" --level 150 --frames 2000 2>&1 >/dev/null | tail -1)
        fresh_data "$work/h" 0
        h1=$(/usr/bin/time -f "%U %S" "$p" --headless --skip-logos --data-dir "$work/h" \
            --frames 1 2>&1 >/dev/null | tail -1 | awk '{print $1+$2}')
        echo "$p once: h150_rss=$((h150 / 1024)) h1_cpu=$h1"
    done
fi
echo "medians over $rounds rounds:"
median() { # median of column $2 of the rows of program $1
    awk -v p="$1" -v c="$2" '$1 == p {print $c}' "$results" | sort -g | awk '{v[NR] = $1}
        END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
for p in "${programs[@]}"; do
    echo "$p: menu_cpu=$(median "$p" 2) l40_cpu=$(median "$p" 3) l40_rss=$(median "$p" 4)" \
        "l40_frame=$(median "$p" 5) map_ms=$(median "$p" 6) first_ms=$(median "$p" 7)" \
        "black=$(median "$p" 8)"
done
