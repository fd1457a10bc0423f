#!/usr/bin/env bash
# The file details window's all-files view of two trees of 100,000 files
# each (some pairs newer on one side, of another size or on one side only):
# the real window filled by the engine and shown (offscreen), from the end
# of the comparison until both lists are drawn; the memory the rows cost
# beyond the engine's lists; a click on each column's header of the left
# list sorting its 100,000 rows. Goals: filled and shown in at most 1.5 s,
# at most 200 bytes per row, each sort at most 0.3 s.
# usage: details_fill.sh BIN_DIR
# Environment: VELLORAN_BENCH_DIR (where the trees are kept, reused between
# runs), BENCH_REPS (5).
set -euo pipefail
bin=${1:?usage: details_fill.sh BIN_DIR}
reps=${BENCH_REPS:-5}
base=${VELLORAN_BENCH_DIR:-${TMPDIR:-/tmp}/velloran-bench}
left=$base/details-left-100000
right=$base/details-right-100000
# 100 folders of 1,000 files of a few types; the right tree a copy in which
# a tenth of the files is newer, a tenth older, a tenth another size at the
# same time, and one in fifty has another name (one-sided on both sides).
if [ "$(cat "$left.stamp" 2>/dev/null)" != "100000 1" ]; then
  echo "building $left and $right ..."
  rm -rf "$left" "$right" "$left.stamp"
  python3 - "$left" "$right" <<'PY'
import os, shutil, sys
left, right = sys.argv[1], sys.argv[2]
types = ["txt", "cpp", "png", "pdf", "zip", "html", "mp3", "tar.gz"]
when = 1700000000
for d in range(100):
    folder = os.path.join(left, "folder%03d" % d)
    os.makedirs(folder)
    for f in range(1000):
        n = d * 1000 + f
        path = os.path.join(folder, "file%06d.%s" % (n, types[n % len(types)]))
        with open(path, "wb") as out:
            out.write(b"x" * (n % 5000))
        os.utime(path, (when, when))
shutil.copytree(left, right)
for d in range(100):
    folder = os.path.join(right, "folder%03d" % d)
    for name in sorted(os.listdir(folder)):
        n = int(name[4:10])
        path = os.path.join(folder, name)
        if n % 50 == 4:
            os.rename(path, os.path.join(folder, "renamed" + name))
        elif n % 10 == 1:
            os.utime(path, (when + 3600, when + 3600))
        elif n % 10 == 2:
            os.utime(path, (when - 3600, when - 3600))
        elif n % 10 == 3:
            with open(path, "ab") as out:
                out.write(b"y")
            os.utime(path, (when, when))
PY
  echo "100000 1" > "$left.stamp"
fi

source "$(dirname "$0")/offscreen_session.bash"

"$bin/details_fill" "$left" "$right" > /dev/null  # warm the caches
for _ in $(seq "$reps"); do
  "$bin/details_fill" "$left" "$right" 2>/dev/null
done > "$scratch/runs"

# Medians over the runs: the first line of each run is "fill cpu rss heap
# scan", the others "column seconds cpu".
awk -v reps="$reps" '
  function median(list, n,   i, j, t) {
    for (i = 2; i <= n; i++) for (j = i; j > 1 && list[j - 1] > list[j]; j--) { t = list[j]; list[j] = list[j - 1]; list[j - 1] = t }
    return list[int((n + 1) / 2)]
  }
  NR % 4 == 1 { fill[++runs] = $1; cpu[runs] = $2; rss[runs] = $3; heap[runs] = $4; scan[runs] = $5; next }
  { sort[$1, runs] = $2; sortCpu[$1, runs] = $3 }
  END {
    f = median(fill, runs); p = median(cpu, runs); b = median(rss, runs); h = median(heap, runs); s = median(scan, runs)
    printf "details_fill: the details window, all files of two trees of 100,000 files, median of %d runs\n", reps
    printf "  scan and compare %6.3f s (before the filling; no goal here)\n", s
    printf "  filled and shown %6.3f s after the scan, %.3f s of processor (goal <= 1.5 s: %s)\n", f, p, f <= 1.5 ? "met" : "NOT met"
    printf "  memory           %6.0f bytes per row resident, %.0f of heap (goal <= 200: %s)\n", b, h, b <= 200 ? "met" : "NOT met"
    split("File Size Modified", names, " ")
    for (c = 1; c <= 3; c++) {
      for (r = 1; r <= runs; r++) { w[r] = sort[c, r]; q[r] = sortCpu[c, r] }
      m = median(w, runs); mq = median(q, runs)
      printf "  sort by %-8s %6.3f s for 100,000 rows, %.3f s of processor (goal <= 0.3 s: %s)\n", names[c], m, mq, m <= 0.3 ? "met" : "NOT met"
    }
  }' "$scratch/runs"
