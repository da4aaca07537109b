#!/usr/bin/env bash
# Compares dravin-httpd with nginx on this machine, over loopback only.
#
#   bash bench/server.sh
#
# Builds dravin-httpd (Release) in build-bench/, serves a 1 KiB and a 64 MiB file from a
# temporary folder with both servers, runs wrk against each with the same parameters and
# ends with one line per figure: "server: NAME = VALUE (goal GOAL)".
#
# Settings (environment): BENCH_THREADS (wrk -t, default 2), BENCH_SMALL_SECONDS (8),
# BENCH_LARGE_SECONDS (8), BENCH_CONCURRENT_SECONDS (10).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build-bench"
threads="${BENCH_THREADS:-2}"
small_seconds="${BENCH_SMALL_SECONDS:-8}"
large_seconds="${BENCH_LARGE_SECONDS:-8}"
concurrent_seconds="${BENCH_CONCURRENT_SECONDS:-10}"

say() { printf '%s\n' "$*"; }
die() { printf 'bench/server.sh: %s\n' "$*" >&2; exit 1; }

# ---------------------------------------------------------------------------------------
# 1. Tools
# ---------------------------------------------------------------------------------------
# The project's one package list has the load generator and the peer server too.
"$repo/scripts/install-deps.sh"
nginx_bin="$(command -v nginx || echo /usr/sbin/nginx)"

# ---------------------------------------------------------------------------------------
# 2. Build
# ---------------------------------------------------------------------------------------
say "Building dravin-httpd (Release) in $build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
ninja -C "$build" dravin-httpd >/dev/null
ours_bin="$build/src/tools/dravin-httpd"
[[ -x $ours_bin ]] || die "no binary at $ours_bin"

# ---------------------------------------------------------------------------------------
# 3. Files, and cleanup of everything this script starts
# ---------------------------------------------------------------------------------------
tmp="$(mktemp -d "${TMPDIR:-/tmp}/dravin-bench.XXXXXX")"
nginx_pid=""
ours_pid=""

stop_pid() {  # stop_pid PID: TERM, wait up to 5 s, then KILL
  local pid="$1" i
  [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null || return 0
  kill -TERM "$pid" 2>/dev/null || true
  for ((i = 0; i < 50; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

cleanup() {
  local status=$?
  trap - EXIT INT TERM
  stop_pid "$ours_pid"
  stop_pid "$nginx_pid"
  rm -rf "$tmp"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

www="$tmp/www"
mkdir -p "$www"
head -c 1024 /dev/urandom >"$www/small.bin"
head -c $((64 * 1024 * 1024)) /dev/urandom >"$www/large.bin"
# nginx workers may run as another user.
chmod 755 "$tmp" "$www"
chmod 644 "$www"/*.bin

# ---------------------------------------------------------------------------------------
# 4. Servers
# ---------------------------------------------------------------------------------------
port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

wait_for_url() {  # wait_for_url URL PID: up to 10 s
  local url="$1" pid="$2" i
  for ((i = 0; i < 100; i++)); do
    kill -0 "$pid" 2>/dev/null || return 1
    curl -fsS -o /dev/null --max-time 2 "$url" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

start_nginx() {
  local attempt port user_line=""
  [[ $(id -u) -eq 0 ]] && user_line="user $(id -un) $(id -gn);"
  for ((attempt = 0; attempt < 10; attempt++)); do
    port=$((20000 + RANDOM % 30000))
    port_in_use "$port" && continue
    cat >"$tmp/nginx.conf" <<EOF
$user_line
worker_processes 2;
daemon off;
pid $tmp/nginx.pid;
error_log $tmp/nginx-error.log;
events { worker_connections 4096; }
http {
  default_type application/octet-stream;
  sendfile on;
  tcp_nopush on;
  access_log off;
  client_body_temp_path $tmp/client_body;
  proxy_temp_path $tmp/proxy;
  fastcgi_temp_path $tmp/fastcgi;
  uwsgi_temp_path $tmp/uwsgi;
  scgi_temp_path $tmp/scgi;
  server {
    listen 127.0.0.1:$port;
    root $www;
  }
}
EOF
    "$nginx_bin" -p "$tmp" -e "$tmp/nginx-error.log" -c "$tmp/nginx.conf" >"$tmp/nginx.out" 2>&1 &
    nginx_pid=$!
    if wait_for_url "http://127.0.0.1:$port/small.bin" "$nginx_pid"; then
      nginx_port=$port
      return 0
    fi
    stop_pid "$nginx_pid"
    nginx_pid=""
  done
  cat "$tmp/nginx.out" "$tmp/nginx-error.log" >&2 2>/dev/null || true
  die "nginx did not start"
}

# "/files/" asks for a key, as in the application; the file is the owner's alone.
(umask 077 && od -An -tx1 -N32 /dev/urandom | tr -d ' \n' >"$tmp/key")

start_ours() {
  local i
  "$ours_bin" --port 0 --lessons "$www" --key-file "$tmp/key" >"$tmp/dravin.log" 2>&1 &
  ours_pid=$!
  ours_port=""
  for ((i = 0; i < 100; i++)); do
    ours_port="$(sed -n 's/^Server has started ( port = \([0-9]*\) ).*/\1/p' "$tmp/dravin.log")"
    [[ -n $ours_port ]] && break
    kill -0 "$ours_pid" 2>/dev/null || break
    sleep 0.1
  done
  [[ -n $ours_port ]] || { cat "$tmp/dravin.log" >&2; die "dravin-httpd did not start"; }
}

start_nginx
start_ours

# The absolute path as one segment, every "/" written "@@", and the key.
files_url() { printf 'http://127.0.0.1:%s/files/%s?key=%s' "$ours_port" "${1//\//@@}" "$(<"$tmp/key")"; }
ours_small="$(files_url "$www/small.bin")"
ours_large="$(files_url "$www/large.bin")"
nginx_small="http://127.0.0.1:$nginx_port/small.bin"
nginx_large="http://127.0.0.1:$nginx_port/large.bin"
wait_for_url "$ours_small" "$ours_pid" || { cat "$tmp/dravin.log" >&2; die "dravin-httpd does not answer"; }

# Both must serve the same bytes, or the comparison means nothing.
for url in "$ours_small" "$nginx_small" "$ours_large" "$nginx_large"; do
  curl -fsS --max-time 60 -o "$tmp/check.bin" "$url"
  name="${url##*@@}"
  name="${name##*/}"
  name="${name%%\?*}"
  cmp -s "$tmp/check.bin" "$www/$name" || die "$url did not return $name"
done
rm -f "$tmp/check.bin"
# wrk keeps an HTTP/1.1 connection unless the response says "Connection: close"; a server that
# closes without saying so costs wrk one read error per response.
ours_says_close=no
if curl -fsS --max-time 5 -D - -o /dev/null "$ours_small" | tr -d '\r' | grep -qi '^connection: *close$'; then
  ours_says_close=yes
fi

"$nginx_bin" -v 2>"$tmp/nginx-version" || true
say "nginx:        $(cat "$tmp/nginx-version") on 127.0.0.1:$nginx_port, 2 workers (pid $nginx_pid)"
say "dravin-httpd: $ours_bin on 127.0.0.1:$ours_port (pid $ours_pid)"
say "machine:      $(nproc) cores, wrk -t $threads"

# ---------------------------------------------------------------------------------------
# 5. Measures
# ---------------------------------------------------------------------------------------
run_wrk() {  # run_wrk OUTFILE WRK-ARGS...: prints wrk's report indented
  local out="$1"
  shift
  wrk "$@" >"$out" 2>&1 || { cat "$out" >&2; die "wrk failed: wrk $*"; }
  sed 's/^/      /' "$out"
}

# "Requests/sec: 1234.5" of each file, averaged.
requests_per_second() {
  awk '/^Requests\/sec:/ { sum += $2; n++ } END { printf "%.1f\n", n ? sum / n : 0 }' "$@"
}

# "Transfer/sec: 1.23GB" of each file in MB (wrk's units are powers of 1024), averaged.
megabytes_per_second() {
  awk '/^Transfer\/sec:/ {
         value = $2; unit = value; sub(/^[0-9.]+/, "", unit); sub(/[A-Za-z]+$/, "", value)
         factor = 1 / (1024 * 1024)
         if (unit == "KB") factor = 1 / 1024
         if (unit == "MB") factor = 1
         if (unit == "GB") factor = 1024
         if (unit == "TB") factor = 1024 * 1024
         sum += value * factor; n++
       }
       END { printf "%.1f\n", n ? sum / n : 0 }' "$@"
}

# Socket errors (connect, read, write, timeout) and non-2xx/3xx responses, summed over the files.
# With "detail" first: each kind on its own.
error_count() {
  local detail=0
  [[ $1 == detail ]] && { detail=1; shift; }
  awk -v detail="$detail" '
    /Socket errors:/ {
      for (i = 3; i <= NF; i += 2) { count = $(i + 1); sub(/,/, "", count); kind[$i] += count }
    }
    /Non-2xx or 3xx responses:/ { kind["non-2xx/3xx"] += $NF }
    END {
      if (detail) {
        printf "connect %d, read %d, write %d, timeout %d, non-2xx/3xx %d\n",
               kind["connect"], kind["read"], kind["write"], kind["timeout"], kind["non-2xx/3xx"]
      } else {
        for (k in kind) n += kind[k]
        print n + 0
      }
    }' "$@"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f\n", a / b; else print "0.00" }'; }

# Runs wrk ROUNDS times against each server, taking turns, so that a load that comes and
# goes on the machine weighs on both alike. Reports land in $tmp/NAME-{ours,nginx}-N.txt.
compare() {  # compare NAME ROUNDS OURS-URL NGINX-URL WRK-ARGS...
  local name="$1" rounds="$2" ours_url="$3" nginx_url="$4" round
  shift 4
  for ((round = 1; round <= rounds; round++)); do
    say "  round $round/$rounds, dravin-httpd:"
    run_wrk "$tmp/$name-ours-$round.txt" "$@" "$ours_url"
    say "  round $round/$rounds, nginx:"
    run_wrk "$tmp/$name-nginx-$round.txt" "$@" "$nginx_url"
  done
}

# File responses of dravin-httpd always end the connection, so every run asks for that.
close_header=(-H "Connection: close")
say "load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg) (other work on the machine skews the figures)"

small_rounds=2
small_each=$(((small_seconds + small_rounds - 1) / small_rounds))
say ""
say "(a) 1 KiB file, one request per connection: wrk -t $threads -c 32 -d ${small_each}s -H 'Connection: close', $small_rounds rounds"
compare a "$small_rounds" "$ours_small" "$nginx_small" -t "$threads" -c 32 -d "${small_each}s" "${close_header[@]}"
small_ours="$(requests_per_second "$tmp"/a-ours-*.txt)"
small_nginx="$(requests_per_second "$tmp"/a-nginx-*.txt)"
small_ratio="$(ratio "$small_ours" "$small_nginx")"
say "  => requests/s: dravin-httpd $small_ours, nginx $small_nginx, ratio $small_ratio"
say "     errors of dravin-httpd: $(error_count detail "$tmp"/a-ours-*.txt)"
say "     errors of nginx:        $(error_count detail "$tmp"/a-nginx-*.txt)"

large_rounds=2
large_each=$(((large_seconds + large_rounds - 1) / large_rounds))
say ""
say "(b) 64 MiB file: wrk -t $threads -c 4 -d ${large_each}s -H 'Connection: close', $large_rounds rounds"
compare b "$large_rounds" "$ours_large" "$nginx_large" -t "$threads" -c 4 -d "${large_each}s" --timeout 30s "${close_header[@]}"
large_ours="$(megabytes_per_second "$tmp"/b-ours-*.txt)"
large_nginx="$(megabytes_per_second "$tmp"/b-nginx-*.txt)"
large_ratio="$(ratio "$large_ours" "$large_nginx")"
say "  => MB/s: dravin-httpd $large_ours, nginx $large_nginx, ratio $large_ratio"
say "     errors of dravin-httpd: $(error_count detail "$tmp"/b-ours-*.txt)"
say "     errors of nginx:        $(error_count detail "$tmp"/b-nginx-*.txt)"

say ""
say "(c) 256 concurrent clients, 1 KiB file: wrk -t $threads -c 256 -d ${concurrent_seconds}s -H 'Connection: close'"
compare c 1 "$ours_small" "$nginx_small" -t "$threads" -c 256 -d "${concurrent_seconds}s" "${close_header[@]}"
concurrent_ours="$(error_count "$tmp"/c-ours-*.txt)"
concurrent_nginx="$(error_count "$tmp"/c-nginx-*.txt)"
say "  => errors of dravin-httpd: $concurrent_ours ($(error_count detail "$tmp"/c-ours-*.txt))"
say "     errors of nginx:        $concurrent_nginx ($(error_count detail "$tmp"/c-nginx-*.txt))"
say "     requests/s: dravin-httpd $(requests_per_second "$tmp"/c-ours-*.txt), nginx $(requests_per_second "$tmp"/c-nginx-*.txt)"
if [[ $ours_says_close == no ]]; then
  say "     note: dravin-httpd ends the connection after a file without sending \"Connection: close\","
  say "     so wrk sends its next request on the closed connection and counts a read error for it."
fi
say ""
say "load average after the runs: $(cut -d' ' -f1-3 /proc/loadavg)"

kill -0 "$ours_pid" 2>/dev/null || die "dravin-httpd died during the run"
if grep -qv '^Server has started' "$tmp/dravin.log"; then
  say ""
  say "dravin-httpd log (most frequent lines besides the start line):"
  grep -v '^Server has started' "$tmp/dravin.log" | sort | uniq -c | sort -rn | head -5 | sed 's/^/    /'
fi

say ""
say "server: small_file_rps_ours = $small_ours"
say "server: small_file_rps_nginx = $small_nginx"
say "server: large_file_mbps_ours = $large_ours"
say "server: large_file_mbps_nginx = $large_nginx"
say "server: concurrent_errors_nginx = $concurrent_nginx"
say "server: small_file_rps_ratio = $small_ratio (goal 0.5)"
say "server: large_file_mbps_ratio = $large_ratio (goal 0.9)"
say "server: concurrent_errors = $concurrent_ours (goal 0)"
