#!/usr/bin/env bash
# The board page's cost on a full page against an empty one, in QtWebEngine on this machine.
#
#   bash bench/board.sh
#
# A 1280 x 800 view of the real page (resources/dravinboard/index.html) on a virtual display,
# drawing with the pen through real mouse events, once on an empty page and once on a page
# filled with 5,000 pen strokes and 100 texts and shapes (DravinBoard.fillForBenchmark), kept
# in the camera picture's coordinates as over the live picture. Measured in the page:
# - one pointer move while drawing: from the first pointermove listener to the last, plus the
#   page's work in the animation frame that follows (200 moves);
# - undo of the stroke just drawn: the call plus the frame it brings (25 strokes).
# There is no peer program; the empty page is the reference.
#
# Then the board's documents in the real application (--demo-devices, under Xvfb, over D-Bus):
# - a 100-page PDF (text and a colour on each page) opened onto the board with OpenOnBoard,
#   until the call returns with the pages added, against `pdftoppm -r 72` of the same file;
# - the peak memory (VmHWM) of the page's process (the web engine's renderer) once all 100
#   pages were shown one after another with NextBoardPage;
# - a 20-page board (a 19-page PDF on a new board) exported with ExportBoard to PDF.
# Ends with:
#   board: move cost full/empty = R (goal <= 1.5)
#   board: undo on full page = T ms (goal ratio to empty <= 2)
#   board: open 100-page pdf = T s (goal <= 1.5x pdftoppm)
#   board: memory 100 pages = M MB (goal < 800)
#   board: export 20 pages = T s
# Settings (environment): BENCH_BUILD (build-bench); BENCH_SKIP_PAGE=1 runs only the documents.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD:-$repo/build-bench}"

"$repo/scripts/install-deps.sh"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
fi
echo "Building board_bench in $build"
cmake --build "$build" --target board_bench pelora-dravin -j2 >/dev/null
bench="$build/src/tools/board_bench"

echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
# The engine's own start-up chatter is left out; the page's script errors are kept.
[[ ${BENCH_SKIP_PAGE:-0} == 1 ]] || xvfb-run -a -s "-screen 0 1920x1080x24" "$bench" measure "$repo/resources/dravinboard/index.html" \
  2> >(grep -E '^(page|board_bench):' >&2)

# ---- Documents: the real application ----
app="$build/src/app/pelora-dravin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$repo/tests/app/make_colour_pdf.py" "$work/hundred.pdf" --pages 100
python3 "$repo/tests/app/make_colour_pdf.py" "$work/nineteen.pdf" --pages 19
# The web engine's sandbox does not run as root (containers, CI).
export BENCH_APP="$app" BENCH_WORK="$work" QTWEBENGINE_DISABLE_SANDBOX=1
xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- bash -c '
set -euo pipefail
ask() { gdbus call --session --dest org.pelora.Dravin --object-path /Dravin --method "org.pelora.Dravin.$1" "${@:2}"; }
now() { date +%s.%N; }
calc() { python3 -c "print($*)"; }
run() {  # storage folder: starts the application with its own settings and waits for the board
  export XDG_CONFIG_HOME="$BENCH_WORK/config-$1" XDG_CACHE_HOME="$BENCH_WORK/cache-$1" XDG_DATA_HOME="$BENCH_WORK/data-$1"
  mkdir -p "$XDG_CONFIG_HOME/Pelora" "$BENCH_WORK/storage-$1"
  printf "[General]\nbookmark_folder=%s\n" "$BENCH_WORK/storage-$1" >"$XDG_CONFIG_HOME/Pelora/Dravin.conf"
  "$BENCH_APP" --demo-devices >"$BENCH_WORK/app-$1.log" 2>&1 &
  pid=$!
  for _ in $(seq 150); do
    grep -q didFinish1 "$BENCH_WORK/app-$1.log" && ask BoardPageCount >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  echo "board_bench: the application did not start:" >&2
  tail -n 20 "$BENCH_WORK/app-$1.log" >&2
  exit 1
}
renderers() { pgrep -f "QtWebEngineProcess.*--type=renderer" || true; }

t0=$(now); pdftoppm -r 72 "$BENCH_WORK/hundred.pdf" "$BENCH_WORK/ppm"; t1=$(now)
peer=$(calc "$t1 - $t0")
rm -f "$BENCH_WORK"/ppm*

run a
t0=$(now); ask OpenOnBoard "$BENCH_WORK/hundred.pdf" >/dev/null; t1=$(now)
ours=$(calc "$t1 - $t0")
for _ in $(seq 100); do ask NextBoardPage >/dev/null; sleep 0.05; done
sleep 2
peak=0
for r in $(renderers); do
  kb=$(sed -nE "s/^VmHWM:[[:space:]]+([0-9]+) kB/\1/p" /proc/$r/status 2>/dev/null || echo 0)
  (( kb > peak )) && peak=$kb
done
kill -TERM $pid; wait $pid || true

run b
ask OpenOnBoard "$BENCH_WORK/nineteen.pdf" >/dev/null
t0=$(now); ask ExportBoard "$BENCH_WORK/twenty.pdf" >/dev/null; t1=$(now)
export=$(calc "$t1 - $t0")
pages=$(pdfinfo "$BENCH_WORK/twenty.pdf" | sed -nE "s/^Pages: +//p")
kill -TERM $pid; wait $pid || true

echo "pdftoppm -r 72, 100 pages: $(printf %.2f "$peer") s; exported pages: $pages"
printf "board: open 100-page pdf = %.2f s (goal <= 1.5x pdftoppm: %.2f s)\n" "$ours" "$(calc "1.5 * $peer")"
printf "board: memory 100 pages = %d MB (goal < 800)\n" $((peak / 1024))
printf "board: export 20 pages = %.2f s\n" "$export"
'
