#!/usr/bin/env bash
# The all-files view of two trees of 100,000 files each: both lists filled
# the way the engine fills them and shown (offscreen), the memory the rows
# cost, and a click on each column's header sorting 100,000 rows. Goals:
# filled and shown in at most 1.5 s, at most 200 bytes per row, each sort
# at most 0.3 s.
# usage: list_view_fill.sh BIN_DIR
# Environment: VELLORAN_BENCH_DIR (where the trees are kept, reused between
# runs), BENCH_REPS (5).
set -euo pipefail
bin=${1:?usage: list_view_fill.sh BIN_DIR}
reps=${BENCH_REPS:-5}
base=${VELLORAN_BENCH_DIR:-${TMPDIR:-/tmp}/velloran-bench}
left=$base/list-left-100000
right=$base/list-right-100000
# 100 folders of 1,000 files of a few types; the right tree a copy.
if [ "$(cat "$left.stamp" 2>/dev/null)" != "100000 1" ]; then
  echo "building $left and $right ..."
  rm -rf "$left" "$right" "$left.stamp"
  python3 - "$left" <<'PY'
import os, sys
root = sys.argv[1]
types = ["txt", "cpp", "png", "pdf", "zip", "html", "mp3", "tar.gz"]
for d in range(100):
    folder = os.path.join(root, "folder%03d" % d)
    os.makedirs(folder)
    for f in range(1000):
        n = d * 1000 + f
        with open(os.path.join(folder, "file%06d.%s" % (n, types[n % len(types)])), "wb") as out:
            out.write(b"x" * (n % 5000))
PY
  cp -a "$left" "$right"
  echo "100000 1" > "$left.stamp"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data \
       XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

"$bin/list_view_fill" "$left" "$right" > /dev/null  # warm the caches
for _ in $(seq "$reps"); do
  "$bin/list_view_fill" "$left" "$right" 2>/dev/null
done > "$scratch/runs"

# Medians over the runs: the first line of each run is "seconds bytes",
# the others "column seconds".
awk -v reps="$reps" '
  function median(list, n,   i, j, t) {
    for (i = 2; i <= n; i++) for (j = i; j > 1 && list[j - 1] > list[j]; j--) { t = list[j]; list[j] = list[j - 1]; list[j - 1] = t }
    return list[int((n + 1) / 2)]
  }
  NR % 4 == 1 { fill[++runs] = $1; bytes[runs] = $2; next }
  { sort[$1, runs] = $2 }
  END {
    f = median(fill, runs); b = median(bytes, runs)
    printf "list_view_fill: two lists of 100,000 rows each, median of %d runs\n", reps
    printf "  filled and shown %6.3f s (goal <= 1.5 s: %s)\n", f, f <= 1.5 ? "met" : "NOT met"
    printf "  memory           %6.0f bytes per row (goal <= 200: %s)\n", b, b <= 200 ? "met" : "NOT met"
    split("File Size Modified", names, " ")
    for (c = 1; c <= 3; c++) {
      for (r = 1; r <= runs; r++) s[r] = sort[c, r]
      m = median(s, runs)
      printf "  sort by %-8s %6.3f s for 100,000 rows (goal <= 0.3 s: %s)\n", names[c], m, m <= 0.3 ? "met" : "NOT met"
    }
  }' "$scratch/runs"
