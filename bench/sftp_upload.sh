#!/usr/bin/env bash
# Uploading 2,000 small files in 100 folders over SFTP to a local sshd:
# `velloran-cli upload` against `lftp -e "mirror -R ..."` (the bar, over the
# ssh program), on the same tree in the same run, each run into a fresh
# empty folder, median of a few runs, both with the same number of
# connections. Velloran keeps every file's time; lftp only where it can.
# sshd is started here on a free port of 127.0.0.1 with a host key and a
# configuration of its own; it checks passwords against the system's
# accounts, so this needs root: the account "velloran-sftp" is made when
# missing, given a random password for the run and locked again after.
# usage: sftp_upload.sh BIN_DIR
# Environment: VELLORAN_BENCH_DIR, BENCH_FTP_FILES (2000), BENCH_FTP_FOLDERS
# (100), BENCH_FTP_REPS (3), BENCH_FTP_CONNECTIONS (4).
set -euo pipefail
bin=${1:?usage: sftp_upload.sh BIN_DIR}
files=${BENCH_FTP_FILES:-2000}
folders=${BENCH_FTP_FOLDERS:-100}
reps=${BENCH_FTP_REPS:-3}
base=${VELLORAN_BENCH_DIR:-${TMPDIR:-/tmp}/velloran-bench}
tree=$base/tree-$files-$folders
source "$(dirname "$0")/tree_cache.bash"
cached_tree "$tree" "$files" "$folders" || true
cli=$bin/velloran-cli
for tool in /usr/sbin/sshd ssh ssh-keygen lftp "$cli"; do
  command -v "$tool" > /dev/null || { echo "sftp_upload: $tool is missing" >&2; exit 1; }
done
if [ "$(id -u)" -ne 0 ]; then
  echo "sftp_upload: skipped, sshd checks passwords against system accounts: run as root"
  exit 0
fi
user=velloran-sftp

work=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2> /dev/null && wait "$server_pid" 2> /dev/null
  usermod --lock "$user" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config
chmod 755 "$work"
mkdir -p "$work/files" /run/sshd
getent passwd "$user" > /dev/null ||
  useradd --system --no-create-home --home-dir /nonexistent --shell /bin/sh "$user"
password=pw-$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
echo "$user:$password" | chpasswd
chown "$user": "$work/files"
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
key=$(ssh-keygen -l -E sha256 -f "$work/host_key.pub" | cut -d' ' -f2)

for attempt in 1 2 3 4 5; do
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  cat > "$work/sshd_config" <<CONF
Port $port
ListenAddress 127.0.0.1
HostKey $work/host_key
PidFile none
UsePAM no
PasswordAuthentication yes
KbdInteractiveAuthentication no
PermitRootLogin no
AllowUsers $user
MaxStartups 100
MaxSessions 100
LogLevel ERROR
Subsystem sftp internal-sftp
ForceCommand internal-sftp
CONF
  /usr/sbin/sshd -D -e -f "$work/sshd_config" 2> "$work/server.err" &
  server_pid=$!
  for i in $(seq 100); do
    if (exec 3<> "/dev/tcp/127.0.0.1/$port") 2> /dev/null; then break 2; fi
    kill -0 "$server_pid" 2> /dev/null || break
    sleep 0.05
  done
  kill "$server_pid" 2> /dev/null || true
  wait "$server_pid" 2> /dev/null || true
  server_pid=
done
[ -n "$server_pid" ] || { echo "sftp_upload: sshd did not start: $(cat "$work/server.err")" >&2; exit 1; }

# The same number of connections for both; 4 is velloran's default.
connections=${BENCH_FTP_CONNECTIONS:-4}

bench=sftp_upload upload_disk=$work/files upload_served=$work/files upload_owner=$user
source "$(dirname "$0")/upload_timing.bash"
velloran_upload() {
  VELLORAN_FTP_PASSWORD=$password "$cli" upload --connections="$connections" --trust-fingerprint="$key" "$tree" \
    "sftp://$user@127.0.0.1:$port$1"
}
lftp_upload() {
  lftp -u "$user,$password" -p "$port" \
    -e "set sftp:auto-confirm yes; set sftp:connect-program 'ssh -a -x -o UserKnownHostsFile=/dev/null -o StrictHostKeyChecking=no'; mirror -R --no-perms --parallel=$connections $tree $1; bye" \
    "sftp://127.0.0.1"
}

find "$tree" > /dev/null  # warm the cache
v=$(timed_upload velloran velloran_upload)
l=$(timed_upload lftp lftp_upload)
awk -v v="$v" -v l="$l" -v files="$files" -v folders="$folders" -v reps="$reps" -v n="$connections" 'BEGIN {
  printf "sftp_upload: %d small files in %d folders to a local sshd over SFTP, median of %d runs, %d connections each (lftp --parallel)\n", files, folders, reps, n
  printf "  velloran-cli upload  %8.2f s\n", v / 1e9
  printf "  lftp mirror -R       %8.2f s\n", l / 1e9
  printf "  ratio upload/lftp: %.2f (goal <= 1: %s)\n", v / l, v <= l ? "met" : "NOT met"
}'
