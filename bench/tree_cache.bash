# Sourced by the benchmark scripts: a generated tree kept between runs.
# cached_tree DIR FILES FOLDERS builds DIR with make_tree.py unless the stamp
# beside it says it was built with the same numbers; returns 0 when it built.
cached_tree() {
  local tree=$1 files=$2 folders=$3
  local stamp="$files $folders 1"
  mkdir -p "$(dirname "$tree")"
  if [ "$(cat "$tree.stamp" 2>/dev/null)" = "$stamp" ]; then
    return 1
  fi
  echo "building $tree ..."
  rm -f "$tree.stamp"
  python3 "$(dirname "${BASH_SOURCE[0]}")/make_tree.py" "$tree" "$files" "$folders"
  echo "$stamp" > "$tree.stamp"
}
