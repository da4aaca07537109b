#!/usr/bin/env bash
# dravin-httpd as a user runs it: a lessons folder, a key file and a WebSocket echo on /ws, on a
# port the system picks. The start line names the port; lessons, the echo (with the key only) and
# a clean stop on SIGTERM work.
#   usage: httpd_tool_test.sh PATH-TO-dravin-httpd
set -euo pipefail
httpd=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  echo "--- dravin-httpd output"
  cat "$work/out.log"
  exit 1
}

mkdir -p "$work/lessons/maths"
echo '<h1>Fractions</h1>' >"$work/lessons/maths/index.html"
key=$(head -c 24 /dev/urandom | base64 | tr '+/' '-_')
(umask 077 && echo "$key" >"$work/key")
"$httpd" --port 0 --lessons "$work/lessons" --ws-echo /ws --key-file "$work/key" >"$work/out.log" 2>&1 &
pid=$!
for ((i = 0; i < 100; i++)); do
  grep -q 'Server has started' "$work/out.log" && break
  sleep 0.1
done
port=$(sed -nE 's/^Server has started \( port = ([0-9]+) \)\. Try to connect now\.\.\.$/\1/p' "$work/out.log")
[[ -n $port && $port -ne 0 ]] || fail "no start line naming the port"

curl -sf "http://127.0.0.1:$port/maths/index.html" | grep -q Fractions || fail "the lesson is not served"
echo=$(node "$here/ws_client.mjs" "ws://127.0.0.1:$port/ws?key=$key" fragments) || fail "the echo failed: $echo"
[[ $echo == *"echo:Hello"* && $echo == *"closed:"* ]] || fail "unexpected echo: $echo"
refused=$(node "$here/ws_client.mjs" "ws://127.0.0.1:$port/ws" fragments) && fail "an upgrade without the key was taken"
[[ $refused == *403* ]] || fail "an upgrade without the key: $refused"
# A plain GET of the echo path is no upgrade: the handler refuses it instead of a lesson 404.
status=$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:$port/ws?key=$key")
[[ $status != 404 && $status != 200 ]] || fail "a plain GET of /ws answered $status"
curl -sf "http://127.0.0.1:$port/maths/missing.html" >/dev/null && fail "a missing lesson was found"

kill -TERM "$pid"
wait "$pid" && status=0 || status=$?
pid=
[[ $status -eq 0 ]] || fail "dravin-httpd exited with $status on SIGTERM"
grep -q '^Server stopped$' "$work/out.log" || fail "no stop line"
echo "dravin-httpd served the lessons and echoed over /ws"
