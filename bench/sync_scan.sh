#!/usr/bin/env bash
# Scan and compare of two trees of 100,000 files each: `velloran-cli compare`
# against `rsync -an --delete L/ R/` (the bar) and `find L R` (the goal), on
# the same trees in the same run, warm cache, median of several runs; and
# the peak memory of the comparison per file pair.
# usage: sync_scan.sh BIN_DIR
# Environment: VELLORAN_BENCH_DIR (where the trees are kept, reused between
# runs), BENCH_FILES (100000), BENCH_FOLDERS (1000), BENCH_REPS (7).
set -euo pipefail
bin=${1:?usage: sync_scan.sh BIN_DIR}
files=${BENCH_FILES:-100000}
folders=${BENCH_FOLDERS:-1000}
reps=${BENCH_REPS:-7}
base=${VELLORAN_BENCH_DIR:-${TMPDIR:-/tmp}/velloran-bench}
left=$base/scan-left-$files-$folders
right=$base/scan-right-$files-$folders
source "$(dirname "$0")/tree_cache.bash"
if cached_tree "$left" "$files" "$folders" || [ ! -d "$right" ]; then
  rm -rf "$right"
  cp -a "$left" "$right"
  # Some real differences: changed, missing and extra files on the right.
  set +o pipefail  # head ends the finds early
  find "$right" -name 'f*1.txt' | head -n $((files / 100)) | while read -r f; do echo changed >> "$f"; done
  find "$right" -name 'f*2.txt' | head -n $((files / 100)) | xargs rm -f
  find "$right" -type d | head -n $((folders / 10)) | while read -r d; do echo new > "$d/extra.txt"; done
  set -o pipefail
fi

# The CLI reads no stored settings here: a fresh, empty config folder.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config
cli=$bin/velloran-cli

# Median and best wall time of a command, in nanoseconds.
timed() {
  "$@" > /dev/null 2>&1 || true  # warm-up
  local times=() t0 t1
  for _ in $(seq "$reps"); do
    t0=${EPOCHREALTIME/[.,]/}
    "$@" > /dev/null 2>&1 || true
    t1=${EPOCHREALTIME/[.,]/}
    times+=($(((t1 - t0) * 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)], t[1] }'
}
peak_kb() {
  { /usr/bin/time -f '%M' "$@" 2>&1 > /dev/null || true; } | tail -n 1
}

pairs=$("$cli" compare --all "$left" "$right" | grep -cv '/$' || true)
read -r cli_median cli_best < <(timed "$cli" compare "$left" "$right")
read -r rsync_median rsync_best < <(timed rsync -an --delete "$left/" "$right/")
read -r find_median find_best < <(timed find "$left" "$right")
# For reference: what reading every file's time and size costs, both trees
# walked at once.
read -r stat_median stat_best < <(timed bash -c 'find "$1" -printf "%T@ %s\n" & find "$2" -printf "%T@ %s\n"; wait' _ "$left" "$right")
empty=$(mktemp -d)
mkdir "$empty/a" "$empty/b"
base_kb=$(peak_kb "$cli" compare "$empty/a" "$empty/b")
rm -rf "$empty"
peak=$(peak_kb "$cli" compare "$left" "$right")

awk -v cm="$cli_median" -v cb="$cli_best" -v rm="$rsync_median" -v rb="$rsync_best" \
    -v fm="$find_median" -v fb="$find_best" -v sm="$stat_median" -v sb="$stat_best" -v pairs="$pairs" -v peak="$peak" -v base="$base_kb" \
    -v files="$files" -v reps="$reps" 'BEGIN {
  printf "sync_scan: two trees of %d files, %d file pairs, median of %d warm runs\n", files, pairs, reps
  printf "  velloran-cli compare      median %8.2f ms   best %8.2f ms\n", cm / 1e6, cb / 1e6
  printf "  rsync -an --delete        median %8.2f ms   best %8.2f ms\n", rm / 1e6, rb / 1e6
  printf "  find L R                  median %8.2f ms   best %8.2f ms\n", fm / 1e6, fb / 1e6
  printf "  two finds with -printf    median %8.2f ms   best %8.2f ms   (reference: time and size of every file)\n", sm / 1e6, sb / 1e6
  printf "  ratio compare/rsync: %.2f (must be < 1: %s)\n", cm / rm, cm < rm ? "met" : "NOT met"
  printf "  ratio compare/find:  %.2f (goal <= 1: %s)\n", cm / fm, cm <= fm ? "met" : "not met"
  printf "  peak RSS %.1f MB, %.1f MB for two empty folders\n", peak / 1024, base / 1024
  perpair = (peak - base) * 1024 / pairs
  printf "  memory per file pair: %.0f bytes above the start-up footprint (goal <= 300: %s), %.0f bytes all in\n",
         perpair, perpair <= 300 ? "met" : "NOT met", peak * 1024 / pairs
}'
