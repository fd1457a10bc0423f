#!/usr/bin/env bash
# Uploading 2,000 small files in 100 folders to a local vsftpd, over plain FTP
# and over FTP with TLS (ftpes://, a certificate made here by openssl):
# `velloran-cli upload` against `lftp -e "mirror -R ..."` (the bar), on the
# same tree in the same run, each run into a fresh empty server folder,
# median of a few runs, at each number of simultaneous transfers N
# (`--connections=N` against lftp's `mirror --parallel=N`). Both keep the
# local file times on the server (lftp through the same "MDTM time path"
# command vsftpd takes) and neither sets permissions. The server is started here on a free port of 127.0.0.1 with a
# configuration of its own: anonymous uploads into a folder owned by "ftp".
# usage: ftp_upload.sh BIN_DIR
# Environment: VELLORAN_BENCH_DIR, BENCH_FTP_FILES (2000), BENCH_FTP_FOLDERS
# (100), BENCH_FTP_REPS (3), BENCH_FTP_CONNECTIONS ("1 2 4 8").
set -euo pipefail
bin=${1:?usage: ftp_upload.sh BIN_DIR}
files=${BENCH_FTP_FILES:-2000}
folders=${BENCH_FTP_FOLDERS:-100}
reps=${BENCH_FTP_REPS:-3}
connections=${BENCH_FTP_CONNECTIONS:-1 2 4 8}
base=${VELLORAN_BENCH_DIR:-${TMPDIR:-/tmp}/velloran-bench}
tree=$base/tree-$files-$folders
source "$(dirname "$0")/tree_cache.bash"
cached_tree "$tree" "$files" "$folders" || true
cli=$bin/velloran-cli
for tool in /usr/sbin/vsftpd lftp openssl "$cli"; do
  command -v "$tool" > /dev/null || { echo "ftp_upload: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
server_pid=
# Under set -e a failing last command of an && list would end the trap
# early, with the server's status and the folder left behind.
cleanup() {
  if [ -n "$server_pid" ]; then stop_server; fi
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config
anon=$work/anon
mkdir -p "$anon/pub" "$work/empty"
chmod 755 "$work"

# As root vsftpd locks anonymous sessions into anon_root and writes as "ftp",
# which needs a folder of its own below a root it may not change; anyone
# else runs it as themselves and names folders by their full paths.
if [ "$(id -u)" -eq 0 ]; then
  chown ftp: "$anon/pub"
  mkdir -p /var/run/vsftpd/empty
  privilege="secure_chroot_dir=/var/run/vsftpd/empty"
  served=/pub
else
  privilege=$(printf 'run_as_launching_user=YES\nsecure_chroot_dir=%s' "$work/empty")
  served=$anon/pub
fi

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
# start_server [EXTRA_CONFIG_LINES]
start_server() {
  local attempt
  for attempt in 1 2 3 4 5; do
    port=$(free_port)
    cat > "$work/vsftpd.conf" <<EOF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$port
background=NO
seccomp_sandbox=NO
$privilege
anonymous_enable=YES
no_anon_password=YES
local_enable=NO
anon_root=$anon
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_umask=022
mdtm_write=YES
use_localtime=NO
pasv_enable=YES
pasv_address=127.0.0.1
xferlog_enable=NO
syslog_enable=NO
max_per_ip=0
max_clients=0
${1:-}
EOF
    /usr/sbin/vsftpd "$work/vsftpd.conf" > /dev/null 2> "$work/server.err" &
    server_pid=$!
    local i
    for i in $(seq 100); do
      if (exec 3<> "/dev/tcp/127.0.0.1/$port") 2> /dev/null; then return 0; fi
      kill -0 "$server_pid" 2> /dev/null || break
      sleep 0.05
    done
    kill "$server_pid" 2> /dev/null || true
    wait "$server_pid" 2> /dev/null || true
    server_pid=
  done
  echo "ftp_upload: vsftpd did not start: $(cat "$work/server.err")" >&2
  exit 1
}
stop_server() {
  kill "$server_pid" 2> /dev/null || true
  wait "$server_pid" 2> /dev/null || true
  server_pid=
}
start_server

bench=ftp_upload upload_disk=$anon/pub upload_served=$served upload_owner=
if [ "$(id -u)" -eq 0 ]; then upload_owner=ftp; fi
source "$(dirname "$0")/upload_timing.bash"
# Both take N, the transfers at once, from $n.
velloran_upload() { "$cli" upload --passive --connections="$n" "$tree" "ftp://127.0.0.1:$port$1"; }
lftp_upload() {
  lftp -u anonymous,bench -p "$port" \
    -e "set ftp:passive-mode on; set ftp:use-site-utime off; set ftp:use-site-utime2 off; set ftp:use-mdtm-overloaded on; mirror -R --no-perms --parallel=$n $tree $1; bye" 127.0.0.1
}

find "$tree" > /dev/null  # warm the cache
# report HOW VELLORAN_COMMAND LFTP_COMMAND: one line for each N.
report() {
  local how=$1 v l
  printf 'ftp_upload: %d small files in %d folders to a local vsftpd over %s, median of %d runs\n' \
    "$files" "$folders" "$how" "$reps"
  printf '  %2s  %24s  %20s  %s\n' N "velloran-cli upload (s)" "lftp mirror -R (s)" "ratio upload/lftp"
  for n in $connections; do
    v=$(timed_upload "$2-n$n-" "$2")
    l=$(timed_upload "$3-n$n-" "$3")
    awk -v v="$v" -v l="$l" -v n="$n" 'BEGIN {
      printf "  %2d  %24.2f  %20.2f  %.2f (goal <= 1: %s)\n", n, v / 1e9, l / 1e9, v / l, v <= l ? "met" : "NOT met"
    }'
  done
}
report "plain FTP" velloran_upload lftp_upload

# The same over TLS: a self-signed certificate that both sides are told to
# trust (velloran-cli by its key's fingerprint, lftp by the certificate).
stop_server
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 -subj /CN=127.0.0.1 \
  -addext subjectAltName=IP:127.0.0.1 -keyout "$work/key.pem" -out "$work/cert.pem" 2> /dev/null
key=$(openssl x509 -in "$work/cert.pem" -pubkey -noout | openssl pkey -pubin -outform der |
  openssl dgst -sha256 -binary | openssl base64 -A | tr -d =)
start_server "$(printf 'ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_logins_ssl=YES\nforce_anon_data_ssl=YES\nssl_ciphers=HIGH\nrsa_cert_file=%s\nrsa_private_key_file=%s' "$work/cert.pem" "$work/key.pem")"
velloran_tls_upload() {
  "$cli" upload --passive --connections="$n" --trust-fingerprint="SHA256:$key" "$tree" "ftpes://127.0.0.1:$port$1"
}
lftp_tls_upload() {
  lftp -u anonymous,bench -p "$port" \
    -e "set ftp:ssl-force yes; set ftp:ssl-protect-data yes; set ssl:ca-file $work/cert.pem; set ftp:passive-mode on; set ftp:use-site-utime off; set ftp:use-site-utime2 off; set ftp:use-mdtm-overloaded on; mirror -R --no-perms --parallel=$n $tree $1; bye" 127.0.0.1
}
report "FTP with TLS (ftpes://)" velloran_tls_upload lftp_tls_upload
