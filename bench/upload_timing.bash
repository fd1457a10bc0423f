# Sourced by the upload benchmarks: the median wall time of uploads into
# fresh empty server folders. The caller sets reps, files, work (a scratch
# folder), bench (the name in messages), upload_disk (the server's folder
# on this disk), upload_served (the same folder as the server names it) and
# upload_owner (the user the server writes as; empty: none to set).

# timed_upload NAME COMMAND...: nanoseconds; the command gets the fresh
# folder's server path as its last argument.
timed_upload() {
  local name=$1 times=() t0 t1 target run
  shift
  for run in $(seq "$reps"); do
    target=$upload_disk/$name$run
    mkdir "$target"
    if [ -n "$upload_owner" ]; then chown "$upload_owner": "$target"; fi
    t0=${EPOCHREALTIME/[.,]/}
    "$@" "$upload_served/$name$run/" > "$work/out" 2>&1 || { echo "$bench: failed: $*" >&2; cat "$work/out" >&2; exit 1; }
    t1=${EPOCHREALTIME/[.,]/}
    times+=($(((t1 - t0) * 1000)))
    if [ "$(find "$target" -type f | wc -l)" -ne "$files" ]; then
      echo "$bench: upload incomplete: $*" >&2
      exit 1
    fi
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}
