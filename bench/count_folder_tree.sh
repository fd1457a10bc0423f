#!/usr/bin/env bash
# CFile::CountFiles (CountFolderTree of the native utility library) against
# `find DIR | wc -l` on the same tree in the same run, warm cache, median of
# several repetitions. usage: count_folder_tree.sh BIN_DIR
# Environment: VELLORAN_BENCH_DIR (where the tree is kept, reused between
# runs), BENCH_FILES (100000), BENCH_FOLDERS (1000), BENCH_REPS (9).
set -euo pipefail
bin=${1:?usage: count_folder_tree.sh BIN_DIR}
here=$(cd "$(dirname "$0")" && pwd)
files=${BENCH_FILES:-100000}
folders=${BENCH_FOLDERS:-1000}
reps=${BENCH_REPS:-9}
base=${VELLORAN_BENCH_DIR:-${TMPDIR:-/tmp}/velloran-bench}
tree=$base/tree-$files-$folders
stamp="$files $folders 1"

mkdir -p "$base"
if [ "$(cat "$tree.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "building $tree ..."
  rm -f "$tree.stamp"
  python3 "$here/make_tree.py" "$tree" "$files" "$folders"
  echo "$stamp" > "$tree.stamp"
fi

# find: one warm-up run, then the timed ones (EPOCHREALTIME: no fork
# of date inside the measured span; microseconds, kept as nanoseconds).
entries=$(find "$tree" | wc -l)
find_times=()
for _ in $(seq "$reps"); do
  t0=${EPOCHREALTIME/[.,]/}
  find "$tree" | wc -l > /dev/null
  t1=${EPOCHREALTIME/[.,]/}
  find_times+=($(((t1 - t0) * 1000)))
done
read -r find_best find_median < <(printf '%s\n' "${find_times[@]}" | sort -n |
  awk '{ t[NR] = $1 } END { print t[1], t[int((NR + 1) / 2)] }')

read -r n_folders n_files count_best count_median < <("$bin/count_files" "$tree/" "$reps")

if [ $((n_folders + n_files + 1)) -ne "$entries" ]; then
  echo "count mismatch: CountFiles $n_folders folders + $n_files files + 1, find $entries entries" >&2
  exit 1
fi

awk -v cb="$count_best" -v cm="$count_median" -v fb="$find_best" -v fm="$find_median" \
    -v folders="$n_folders" -v files="$n_files" -v reps="$reps" 'BEGIN {
  printf "count_folder_tree: %d folders, %d files, median of %d warm runs\n", folders, files, reps
  printf "  CountFiles        median %8.2f ms   best %8.2f ms\n", cm / 1e6, cb / 1e6
  printf "  find DIR | wc -l  median %8.2f ms   best %8.2f ms\n", fm / 1e6, fb / 1e6
  ratio = cm / fm
  printf "  ratio CountFiles/find: %.2f (goal <= 1.20: %s)\n", ratio, ratio <= 1.2 ? "met" : "NOT met"
}'
