#!/usr/bin/env bash
# Copying 100,000 small files into an empty folder: `velloran-cli copy`
# against `rsync -a` (the bar) and `cp -a`, on the same tree in the same run,
# warm cache, median of a few runs (each into a fresh empty folder; the
# clean-up is not timed).
# usage: sync_copy.sh BIN_DIR
# Environment: VELLORAN_BENCH_DIR, BENCH_FILES (100000), BENCH_FOLDERS (1000),
# BENCH_COPY_REPS (3).
set -euo pipefail
bin=${1:?usage: sync_copy.sh BIN_DIR}
files=${BENCH_FILES:-100000}
folders=${BENCH_FOLDERS:-1000}
reps=${BENCH_COPY_REPS:-3}
base=${VELLORAN_BENCH_DIR:-${TMPDIR:-/tmp}/velloran-bench}
tree=$base/tree-$files-$folders
source "$(dirname "$0")/tree_cache.bash"
cached_tree "$tree" "$files" "$folders" || true

config=$(mktemp -d)
work=$base/copy-target
trap 'rm -rf "$config" "$work"' EXIT
export XDG_CONFIG_HOME=$config
cli=$bin/velloran-cli

# Median wall time of copying into an empty $work/t, in nanoseconds; the
# command gets "$work/t" as its last argument.
timed_copy() {
  local times=() t0 t1
  for _ in $(seq "$reps"); do
    rm -rf "$work" && mkdir -p "$work/t" && sync
    t0=${EPOCHREALTIME/[.,]/}
    "$@" "$work/t" > /dev/null 2>&1
    t1=${EPOCHREALTIME/[.,]/}
    times+=($(((t1 - t0) * 1000)))
  done
  if [ "$(find "$work/t" -type f | wc -l)" -ne "$files" ]; then
    echo "copy incomplete: $*" >&2
    exit 1
  fi
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}
cp_into() { cp -a "$1/." "$2"; }

find "$tree" > /dev/null  # warm the cache
cli_t=$(timed_copy "$cli" copy "$tree")
rsync_t=$(timed_copy rsync -a "$tree/")
cp_t=$(timed_copy cp_into "$tree")

awk -v c="$cli_t" -v r="$rsync_t" -v p="$cp_t" -v files="$files" -v reps="$reps" 'BEGIN {
  printf "sync_copy: %d small files into an empty folder, median of %d runs\n", files, reps
  printf "  velloran-cli copy  %8.2f s\n", c / 1e9
  printf "  rsync -a           %8.2f s\n", r / 1e9
  printf "  cp -a              %8.2f s\n", p / 1e9
  printf "  ratio copy/rsync: %.2f (must be <= 1: %s)\n", c / r, c <= r ? "met" : "NOT met"
  printf "  ratio copy/cp:    %.2f\n", c / p
}'
