#!/usr/bin/env bash
# The real application under Xvfb with the board over the demo camera, used as a teacher uses it,
# with keys and the mouse: the tool keys; a text typed on the board whose letters never reach the
# application's own shortcuts; a line, an arrow, a rectangle and an ellipse; a stroke moved with
# the select tool, cut in two by the area eraser and made whole again by undo; ink that follows
# the picture when it is zoomed. The page is read through the web engine's remote debugging.
#   usage: board_under_xvfb.sh PATH-TO-pelora-dravin
# SCREENSHOT_DIR, when set, receives the board's screenshots.
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" "$app" --inside
fi

here=$(dirname "$(readlink -f "$0")")
# shellcheck source=xvfb_session.sh
source "$here/xvfb_session.sh"
storeFolder "$work/storage"
devtools=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
export QTWEBENGINE_REMOTE_DEBUGGING=127.0.0.1:$devtools

probe() { node "$here/board_probe.mjs" "$devtools" "$1"; }
summary() { probe "JSON.stringify(DravinBoard.summary())"; }
# A field of the board's summary, through python's JSON reader.
field() { summary | python3 -c "import json, sys; s = json.loads(json.load(sys.stdin)); print($1)"; }
toolIs() { [[ $(field "s['tool']") == "$1" ]]; }
itemsAre() { [[ $(field "len(s['items'])") -eq $1 ]]; }
editingText() { [[ $(probe "DravinBoard.summary().editingText") == true ]]; }
eraserIsArea() { [[ $(probe "DravinBoard.summary().eraserMode") == '"area"' ]]; }
zoomIs() { [[ $(probe "DravinBoard.summary().zoom") == "$1" ]]; }
placementTold() { [[ $(probe "DravinBoard.board.state.placement !== null && DravinBoard.board.state.placement !== undefined") == true ]]; }
# Presses the mouse at $1,$2, moves in steps to $3,$4 and lets go there.

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "tarvoCameras: [Demo Camera" || fail "the demo camera was not discovered"
waitFor 30 logSays "didFinish1" || fail "the board did not load"
waitFor 15 remote Annotate true || fail "no D-Bus remote"
waitFor 15 summary || fail "the board page cannot be read through remote debugging"
# The page hears of the picture's placement once the first frame gives the picture its size.
waitFor 15 placementTold || fail "the board was not told where the picture lies"

# Every tool key chooses its tool.
for pair in v:select p:pen h:highlighter e:eraser t:text l:line a:arrow b:rect o:ellipse k:laser; do
  xdotool key "${pair%%:*}"
  waitFor 3 toolIs "${pair#*:}" || fail "key ${pair%%:*} chose $(field "s['tool']"), not ${pair#*:}"
done
echo "the tool keys choose their tools"

# A text: T, a click, the letters that are also the application's shortcuts, then Escape.
xdotool key t
xdotool mousemove 500 300 click 1
waitFor 3 editingText || fail "a click with the text tool started no text"
xdotool type --delay 60 "s r Photosynthesis"
xdotool key Return
xdotool type --delay 60 "second line"
xdotool key Escape
waitFor 3 itemsAre 1 || fail "the text is not on the page: $(summary)"
text=$(probe "DravinBoard.board.doc.items[0].text")
[[ $text == '"s r Photosynthesis\nsecond line"' ]] || fail "the text on the page reads $text"
sleep 1 # whatever a key might have started would show by now
[[ $(snapshotsTaken) -eq 0 ]] && ! logSays "Snapshot" || fail "a key typed into the text took a snapshot"
[[ -z $(ls -A "$work/storage/Nolbek/videos" 2>/dev/null) ]] || fail "a key typed into the text started a recording"
! logSays "Picture frozen" || fail "a space typed into the text froze the picture"
echo "a text was typed on the board; no snapshot, recording or freeze came of its letters"

# The shapes, each drawn with the mouse after its key.
for pair in l:line a:arrow b:rect o:ellipse; do
  xdotool key "${pair%%:*}"
  count=$(field "len(s['items'])")
  drag 300 $((450 + count * 90)) 700 $((520 + count * 90))
  waitFor 3 itemsAre $((count + 1)) || fail "no ${pair#*:} was drawn"
  shape=$(probe "DravinBoard.board.doc.items.at(-1).shape")
  [[ $shape == "\"${pair#*:}\"" ]] || fail "the ${pair#*:} drawn is a $shape: $(summary)"
done
echo "a line, an arrow, a rectangle and an ellipse were drawn"
screenshot board-text-shapes.png

# A pen stroke, moved by the select tool.
xdotool key p
drag 1000 300 1400 300
waitFor 3 itemsAre 6 || fail "the pen drew no stroke"
box0=$(field "s['items'][5]")
y0=$(field "round(s['items'][5]['y'])")
xdotool key v
drag 1200 300 1200 400
movedDown() { (($(field "round(s['items'][5]['y'])") - y0 >= 90)); }
waitFor 3 movedDown || fail "select did not move the stroke 100 px down: $box0 became $(field "s['items'][5]")"
echo "select moved the stroke"

# The area eraser cuts the stroke in two; undo makes it whole.
xdotool key Escape e e
waitFor 3 eraserIsArea || fail "E twice did not choose the area eraser"
strokeY=$(field "round(s['items'][5]['y'] + s['items'][5]['height'] / 2)")
drag 1200 $((strokeY - 60)) 1200 $((strokeY + 60))
waitFor 3 itemsAre 7 || fail "the area eraser did not cut the stroke in two: $(summary)"
xdotool key ctrl+z
waitFor 3 itemsAre 6 || fail "undo did not make the stroke whole: $(summary)"
echo "the area eraser cut the stroke in two and undo made it whole"

# Ink follows the picture: the stroke is twice as long once the picture is zoomed to twice.
xdotool key Escape
width1=$(field "s['items'][5]['width']")
zoom1=$(field "s['zoom']")
screenshot board-ink-before-zoom.png
remote SetZoom 2.0
waitFor 5 zoomIs 2 || fail "the board was not told of the zoom"
sleep 0.5 # the page draws the zoomed ink on its next frame
width2=$(field "s['items'][5]['width']")
python3 -c "import sys; sys.exit(0 if abs($width2 / $width1 - 2 / $zoom1) < 0.05 * 2 / $zoom1 else 1)" ||
  fail "zoomed from $zoom1 to 2, the stroke went from $width1 to $width2 px"
screenshot board-ink-after-zoom.png
echo "ink follows the picture's zoom ($width1 px to $width2 px)"
