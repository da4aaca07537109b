#!/usr/bin/env bash
# The application left running as in a lesson: the demo camera, the board on, a snapshot every
# 10 s and a camera recording of 30 s every 2 minutes, for BENCH_MINUTES (20). What it holds is
# read from /proc at the same point of a cycle (the start of a recording cycle, 90 s after the
# last recording ended) after the first cycle, once first-use set-up (GStreamer's plugins, the
# thread pools, the board's page) is behind it, and again at the end.
#
#   bash bench/soak.sh
#
# Ends with one line per figure: "soak: NAME = VALUE (goal GOAL)". The resident memory grows a
# little by design: the snapshot archive keeps a thumbnail of every new snapshot.
# Settings (environment): BENCH_MINUTES (20), BENCH_APP (a pelora-dravin to use instead of
# building one in BENCH_BUILD, build-bench).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [[ ${1:-} != --inside ]]; then
  app=${BENCH_APP:-}
  if [[ -z $app ]]; then
    build="${BENCH_BUILD:-$repo/build-bench}"
    "$repo/scripts/install-deps.sh"
    if [[ ! -f "$build/CMakeCache.txt" ]]; then
      cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
    fi
    echo "Building pelora-dravin in $build"
    cmake --build "$build" --target pelora-dravin -j2 >/dev/null
    app=$build/src/app/pelora-dravin
  fi
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" --inside "$(readlink -f "$app")"
fi
app=$2
minutes=${BENCH_MINUTES:-20}
cycles=$((minutes / 2))
((cycles >= 2)) || { echo "BENCH_MINUTES must be at least 4"; exit 2; }

# shellcheck source=../tests/app/xvfb_session.sh
source "$repo/tests/app/xvfb_session.sh"
storeFolder "$work/storage"
remote() { gdbus call --session --dest org.pelora.Dravin --object-path /Dravin --method "org.pelora.Dravin.$1" "${@:2}" >/dev/null; }

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 60 logSays "didFinish1" || fail "the board did not load"
waitFor 30 logSays "Main Camera: " || fail "the demo camera did not start"
remote Annotate true

# One figure: the median of three readings a second apart, so a passing allocation or a thread
# of the pool that is just ending does not count.
reading() {  # rss | files | threads
  local values=()
  for _ in 1 2 3; do
    case $1 in
      rss) values+=("$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")") ;;
      files) values+=("$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)") ;;
      threads) values+=("$(awk '/^Threads:/ { print $2 }' "/proc/$pid/status")") ;;
    esac
    sleep 1
  done
  printf '%s\n' "${values[@]}" | sort -n | sed -n 2p
}
# Two minutes: a recording of 30 s while snapshots are taken every 10 s, then snapshots only.
cycle() {
  remote StartRecording
  for ((second = 0; second < 120; second += 10)); do
    remote TakeSnapshot
    ((second == 30)) && remote StopRecording
    sleep 10
  done
}

cycle
rss0=$(reading rss) files0=$(reading files) threads0=$(reading threads)
echo "after the first cycle: rss ${rss0} kB, ${files0} open files, ${threads0} threads"
for ((n = 2; n <= cycles; n++)); do
  cycle
  echo "cycle $n of $cycles: rss $(reading rss) kB"
done
rss1=$(reading rss) files1=$(reading files) threads1=$(reading threads)
echo "at the end: rss ${rss1} kB, ${files1} open files, ${threads1} threads"
kill -0 "$pid" || fail "the application ended during the run"
snapshots=$(find "$work/storage/Nolbek/images" -name '*.png' | wc -l)
movies=$(find "$work/storage/Nolbek/videos" -name '*.mp4' | wc -l)
echo "$snapshots snapshots and $movies recordings in $minutes minutes"

echo "soak: rss growth = $(awk -v a="$rss0" -v b="$rss1" 'BEGIN { printf "%.1f", 100 * (b - a) / a }') % (goal < 5)"
echo "soak: open files growth = $((files1 - files0)) (goal 0)"
echo "soak: threads growth = $((threads1 - threads0)) (goal 0)"
