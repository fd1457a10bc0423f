#!/usr/bin/env bash
# Velloran build driver.
#   ./build.sh run     install missing packages, build, run velloran-cli on sample folders
#   ./build.sh test    install missing packages, build with sanitizers, run every test
#   ./build.sh bench   build optimised and run the benchmarks in bench/
#   ./build.sh deps    only install the missing Debian packages
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
  libsqlite3-dev libcurl4-openssl-dev googletest libgtest-dev
  python3 python3-pyftpdlib vsftpd lftp rsync xdg-utils util-linux procps
  shared-mime-info desktop-file-utils libxcb1-dev xvfb xdotool
  python3-aiosmtpd dovecot-pop3d dnsmasq-base openssl libssl-dev
  libssh2-1-dev openssh-server openssh-client
)

deps() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  # The servers among them (sshd, vsftpd, dovecot) are not started by the
  # install: the tests start their own on loopback.
  local policy=/usr/sbin/policy-rc.d made=
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" > /dev/null
    "${sudo[@]}" chmod 755 "$policy"
    made=1
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
    { [ -z "$made" ] || "${sudo[@]}" rm -f "$policy"; return 1; }
  [ -z "$made" ] || "${sudo[@]}" rm -f "$policy"
}

configure() {  # configure DIR [cmake args...]
  local dir=$1; shift
  cmake -S "$top" -B "$dir" -G Ninja "$@" >/dev/null
}

jobs=$(nproc 2>/dev/null || echo 2)

# Writes the two folders the main window's trees select at start-up into
# the settings store (values ftv0 and ftv1 under HKCU ...\Window).
select_sample_folders() {  # select_sample_folders STORE LEFT RIGHT
  mkdir -p "$(dirname "$1")"
  python3 - "$@" <<'PY'
import sqlite3, sys
store, left, right = sys.argv[1:4]
hkcu, reg_sz, key = 0x80000001, 1, "Software\\Quorvantell\\Velloran\\e\\Window"
db = sqlite3.connect(store)
db.executescript(
    "CREATE TABLE IF NOT EXISTS reg_keys (root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE,"
    " PRIMARY KEY (root, path)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS reg_values (root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE,"
    " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY (root, path, name)) WITHOUT ROWID;")
parts = key.split("\\")
for i in range(1, len(parts) + 1):
    db.execute("INSERT OR IGNORE INTO reg_keys VALUES (?, ?)", (hkcu, "\\".join(parts[:i])))
for name, folder in (("ftv0", left), ("ftv1", right)):
    db.execute("INSERT OR REPLACE INTO reg_values VALUES (?, ?, ?, ?, ?)", (hkcu, key, name, reg_sz, folder.encode()))
db.commit()
PY
  chmod 600 "$1"
}

case "${1:-}" in
  deps)
    deps ;;
  run)
    deps
    configure build/release -DCMAKE_BUILD_TYPE=Release -DVELLORAN_TESTS=OFF
    cmake --build build/release -j"$jobs"
    sample=build/sample
    rm -rf "$sample" && mkdir -p "$sample/left/docs" "$sample/right/docs"
    echo "report" > "$sample/left/docs/report.txt"
    echo "report, older" > "$sample/right/docs/report.txt"
    touch -d '2026-01-01 10:00' "$sample/right/docs/report.txt"
    echo "only here" > "$sample/left/notes.txt"
    echo "kept" > "$sample/right/archive.txt"
    echo "same" | tee "$sample/left/same.txt" > "$sample/right/same.txt"
    touch -r "$sample/left/same.txt" "$sample/right/same.txt"
    export XDG_CONFIG_HOME="$top/$sample/config" XDG_DATA_HOME="$top/$sample/data" XDG_RUNTIME_DIR="$top/$sample/run"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      # The main window opens on the two sample folders.
      select_sample_folders "$XDG_CONFIG_HOME/velloran/settings.db" "$top/$sample/left" "$top/$sample/right"
      exec build/release/bin/velloran
    fi
    status=0
    build/release/bin/velloran-cli compare --all "$sample/left" "$sample/right" || status=$?
    echo "velloran-cli compare exited with $status (1 = differences found)"
    QT_QPA_PLATFORM=offscreen build/release/bin/velloran-gallery --out "$sample/pictures" --page main-local \
      --folders "$top/$sample/left:$top/$sample/right" > /dev/null
    echo "No display: the main window on the sample folders is pictured in $sample/pictures/main-local.png"
    [ "$status" -le 1 ] ;;
  test)
    deps
    configure build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORAN_SANITIZE=ON
    cmake --build build/test -j"$jobs"
    export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    ctest --test-dir build/test --output-on-failure -j"$jobs" ;;
  bench)
    deps
    configure build/release -DCMAKE_BUILD_TYPE=Release -DVELLORAN_TESTS=OFF
    cmake --build build/release -j"$jobs"
    status=0
    for b in bench/*.sh; do bash "$b" "$top/build/release/bin" || { echo "$b: exit $?"; status=1; }; done
    exit $status ;;
  *)
    sed -n '2,6p' "$0"; exit 2 ;;
esac
