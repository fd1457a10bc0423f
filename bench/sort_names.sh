#!/usr/bin/env bash
# CGeneral::CompareStr (case-insensitive) sorting a million path-like names,
# against strcasecmp in the same program and against `LC_ALL=C sort -f` on
# the same names in the same run. usage: sort_names.sh BIN_DIR
# Environment: BENCH_NAMES (1000000), BENCH_REPS (5).
set -euo pipefail
bin=${1:?usage: sort_names.sh BIN_DIR}
count=${BENCH_NAMES:-1000000}
reps=${BENCH_REPS:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/velloran-sort-XXXXXX")
trap 'rm -rf "$work"' EXIT

# Names like a source tree's: shared folder prefixes, mixed case, a few
# non-ASCII letters.
python3 - "$work/names" "$count" <<'PY'
import random, sys
random.seed(1)
words = ["src", "Docs", "test", "Module", "ÉTÉ", "naïve", "Build", "lib", "README", "Ölfass"]
with open(sys.argv[1], "w", encoding="utf-8") as out:
    for i in range(int(sys.argv[2])):
        path = "/".join(random.choice(words) + str(random.randrange(50)) for _ in range(3))
        out.write(f"{path}/File_{random.randrange(10**9)}.{random.choice(['cpp', 'H', 'txt'])}\n")
PY

read -r names compare_ns baseline_ns < <("$bin/sort_names" "$work/names" "$reps")

sort_times=()
for _ in $(seq "$reps"); do
  t0=${EPOCHREALTIME/[.,]/}
  LC_ALL=C sort -f -S 50% "$work/names" > /dev/null
  t1=${EPOCHREALTIME/[.,]/}
  sort_times+=($(((t1 - t0) * 1000)))
done
sort_ns=$(printf '%s\n' "${sort_times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')

awk -v n="$names" -v c="$compare_ns" -v b="$baseline_ns" -v s="$sort_ns" -v reps="$reps" 'BEGIN {
  printf "sort_names: %d names, median of %d runs\n", n, reps
  printf "  CompareStr sort      %8.2f ms\n", c / 1e6
  printf "  strcasecmp sort      %8.2f ms\n", b / 1e6
  printf "  LC_ALL=C sort -f     %8.2f ms (with reading and writing)\n", s / 1e6
  printf "  ratio CompareStr/strcasecmp: %.2f   CompareStr/sort -f: %.2f\n", c / b, c / s
}'
