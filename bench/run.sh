#!/usr/bin/env bash
# Builds in Release, generates the benchmark data (the same bytes every time) and prints one
# table: whole-process median wall time and peak memory of plotwell-render beside gnuplot on
# the same values, the ratio measured pair by pair in this run, then the other graph kinds,
# the help page conversion and the graph control in a window (option clicks, a resize and a
# pointer move, beside the drawing alone). Usage: bench/run.sh [RUNS]   (default 5 runs per figure)
# PLOTWELL_BENCH_BIG=1 adds files of 50,000,000 values (0.4 GB bare, 1 GB as (X,Y) points).
# PLOTWELL_BENCH_ONLY=control runs the graph control's rows alone (and builds only what they need
# once the build folder is configured); PLOTWELL_BENCH_ONLY=zoom the zoom and pan rows alone.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
only=${PLOTWELL_BENCH_ONLY:-}
bin=${PLOTWELL_BUILD_DIR:-build}
data=bench/data
# The graph control on 8 x 1,000,000 values, then on as many values of 0 to 100 (which offer
# stacked bars); Qt's note about XDG_RUNTIME_DIR is left out.
control_rows() {
  [ -s "$data/8x1M.txt" ] || "$bin/bench/plotwell-gendata" --series 8 --points 1000000 "$data/8x1M.txt"
  [ -s "$data/8x1M-noise.txt" ] || "$bin/bench/plotwell-gendata" --series 8 --points 1000000 --noise "$data/8x1M-noise.txt"
  for file in 8x1M 8x1M-noise; do
    QT_QPA_PLATFORM=offscreen "$bin/bench/control-bench" "$data/$file.txt" "$runs" 2> >(grep -v '^QStandardPaths:' >&2)
  done
}
# 50 wheel steps in, then 50 pans, at 1920 x 1080 (every tenth picture checked against the walk).
zoom_rows() {
  QT_QPA_PLATFORM=offscreen "$bin/bench/zoom-bench" "$1" 10 2> >(grep -v '^QStandardPaths:' >&2)
}
if [ "$only" = zoom ]; then
  cmake --build "$bin" -j "$(nproc)" --target plotwell-gendata zoom-bench >&2
  mkdir -p "$data"
  [ -s "$data/8x1M.txt" ] || "$bin/bench/plotwell-gendata" --series 8 --points 1000000 "$data/8x1M.txt"
  zoom_rows "$data/8x1M.txt"
  [ "${PLOTWELL_BENCH_BIG:-0}" = 1 ] && zoom_rows "$data/1x50M.txt"
  exit 0
fi
if [ "$only" = control ]; then
  if [ -f "$bin/build.ninja" ]; then
    cmake --build "$bin" -j "$(nproc)" --target plotwell-gendata control-bench draw-grid-bench >&2
  else
    scripts/build.sh >&2
  fi
  mkdir -p "$data"
  control_rows
  exit 0
fi
scripts/ensure_deps.sh gnuplot-nox >&2
scripts/build.sh >&2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
mkdir -p "$data"

# gen NAME GENDATA-ARGS...: the file for plotwell and the same values in columns for gnuplot.
gen() {
  local name=$1
  shift
  [ -s "$data/$name.txt" ] || "$bin/bench/plotwell-gendata" "$@" "$data/$name.txt"
  [ -s "$data/$name.cols" ] || "$bin/bench/plotwell-gendata" "$@" --columns "$data/$name.cols"
}
gen 1x100k --series 1 --points 100000
gen 1x1M --series 1 --points 1000000
gen 8x1M --series 8 --points 1000000
gen 1x10M --series 1 --points 10000000
gen 8x100k --series 8 --points 100000
gen 8x100k-xy --series 8 --points 100000 --xy
gen 8x100k-noise --series 8 --points 100000 --noise

measure() { "$bin/bench/plotwell-measure" "$runs" "$@"; }
plotwell() { measure "$bin/cli/plotwell-render" --size 600x400 -o "$out/plotwell.png" "$@"; }
gnuplot_of() { # gnuplot_of FILE SERIES STYLE
  local plot="plot '$1' using 1 with $3 notitle"
  [ "$2" -gt 1 ] && plot="plot for [i=1:$2] '$1' using i with $3 notitle"
  measure gnuplot -e "set terminal png size 600,400; set output '$out/gnuplot.png'; $plot"
}
size_mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1048576 }'; }

printf '%-26s %9s %8s %9s %8s %7s %10s\n' "case" "plotwell" "peak MB" "gnuplot" "peak MB" "ratio" "mem limit"
row() { # row LABEL PLOTWELL-RESULT GNUPLOT-RESULT FILE
  read -r ps pm _ <<<"$2"
  local limit
  limit=$(awk -v b="$(stat -c %s "$4")" 'BEGIN { printf "%.0f", 2.5 * b / 1048576 + 60 }')
  if [ -n "$3" ]; then
    read -r gs gm _ <<<"$3"
    printf '%-26s %8ss %8s %8ss %8s %6sx %10s\n' "$1" "$ps" "$pm" "$gs" "$gm" "$(awk -v g="$gs" -v p="$ps" 'BEGIN { printf "%.1f", g / p }')" "$limit"
  else
    printf '%-26s %8ss %8s %9s %8s %7s %10s\n' "$1" "$ps" "$pm" "-" "-" "-" "$limit"
  fi
}
for set in 1x100k 1x1M 8x1M 1x10M; do
  series=${set%%x*}
  file=$data/$set.txt
  row "line $set ($(size_mb "$file") MB)" "$(plotwell --no-points "$file")" \
    "$(gnuplot_of "$data/$set.cols" "$series" lines)" "$file"
  row "line+markers $set" "$(plotwell "$file")" "$(gnuplot_of "$data/$set.cols" "$series" linespoints)" "$file"
  row "curve $set" "$(plotwell --type curve --no-points "$file")" "" "$file"
done
row "line 8x100k noise" "$(plotwell --no-points "$data/8x100k-noise.txt")" \
  "$(gnuplot_of "$data/8x100k-noise.cols" 8 lines)" "$data/8x100k-noise.txt"
row "line+markers 8x100k noise" "$(plotwell "$data/8x100k-noise.txt")" \
  "$(gnuplot_of "$data/8x100k-noise.cols" 8 linespoints)" "$data/8x100k-noise.txt"
row "bar 8x100k" "$(plotwell --type bar "$data/8x100k.txt")" "" "$data/8x100k.txt"
row "stacked 8x100k (X,Y)" "$(plotwell --type stacked "$data/8x100k-xy.txt")" "" "$data/8x100k-xy.txt"
row "pie 8x100k" "$(plotwell --type pie "$data/8x100k.txt")" "" "$data/8x100k.txt"
if [ "${PLOTWELL_BENCH_BIG:-0}" = 1 ]; then
  for big in "1x50M --series 1 --points 50000000" "1x50M-xy --series 1 --points 50000000 --xy"; do
    read -r name args <<<"$big"
    # shellcheck disable=SC2086
    [ -s "$data/$name.txt" ] || "$bin/bench/plotwell-gendata" $args "$data/$name.txt"
    row "line $name ($(size_mb "$data/$name.txt") MB)" "$(plotwell --no-points "$data/$name.txt")" "" "$data/$name.txt"
  done
  # The 50,000,000 values opened in the window: progress, repaint gaps, memory, cancel.
  QT_QPA_PLATFORM=offscreen "$bin/bench/window-load-bench" "$data/1x50M.txt" 2> >(grep -v '^QStandardPaths:' >&2)
  zoom_rows "$data/1x50M.txt"
fi
# Loading (with the statistics) the same values as lines and as a column file with commas.
for set in "8x1M --series 8 --points 1000000" "1x10M --series 1 --points 10000000"; do
  read -r name args <<<"$set"
  # shellcheck disable=SC2086
  [ -s "$data/$name.csv" ] || "$bin/bench/plotwell-gendata" $args --csv "$data/$name.csv"
  printf 'load %-6s lines:   %s\n' "$name" "$("$bin/bench/load-bench" "$data/$name.txt" "$runs" lines 2>/dev/null | head -1)"
  printf 'load %-6s columns: %s\n' "$name" "$("$bin/bench/load-bench" "$data/$name.csv" "$runs" columns 2>/dev/null | head -1)"
done
# The 8 x 1M graph as SVG and PDF beside the PNG: the whole tool, then drawing and encoding alone.
row "line 8x1M as SVG" "$(measure "$bin/cli/plotwell-render" --size 600x400 --no-points -o "$out/plotwell.svg" "$data/8x1M.txt")" "" "$data/8x1M.txt"
row "line 8x1M as PDF" "$(measure "$bin/cli/plotwell-render" --size 600x400 --no-points -o "$out/plotwell.pdf" "$data/8x1M.txt")" "" "$data/8x1M.txt"
QT_QPA_PLATFORM=offscreen "$bin/bench/picture-bench" "$data/8x1M.txt" "$runs" 2>/dev/null
# Redraws of the line graph without markers: walking every point beside reading the drawing index.
QT_QPA_PLATFORM=offscreen "$bin/bench/render-bench" "$data/8x1M.txt" "$runs" --redraw 2>/dev/null
QT_QPA_PLATFORM=offscreen "$bin/bench/help-bench" "$runs" 2>/dev/null
QT_QPA_PLATFORM=offscreen "$bin/bench/help-window-bench" "$runs" 1 "$bin/app/plotwell help.html" 2>/dev/null
# Start-up: from process start to the first graph painted in the window, beside plotwell-render
# drawing the same file at the window's plotting surface size (469 x 438) and line width.
startup() { measure env QT_QPA_PLATFORM=offscreen PLOTWELL_QUIT_AFTER_FIRST_GRAPH=1 "$bin/app/plotwell" "$1"; }
example="resources/example points 1 - simple series.txt"
row "window first graph example" "$(startup "$example")" "" "$example"
row "window first graph 8x1M" "$(startup "$data/8x1M.txt")" "" "$data/8x1M.txt"
row "render 8x1M at window size" "$(measure "$bin/cli/plotwell-render" --size 469x438 --line-width 2 -o "$out/plotwell.png" "$data/8x1M.txt")" "" "$data/8x1M.txt"
control_rows
zoom_rows "$data/8x1M.txt"
