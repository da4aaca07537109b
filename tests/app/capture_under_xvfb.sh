#!/usr/bin/env bash
# Runs the real application under Xvfb with the demo devices and drives it over D-Bus, as a
# remote clicker would: the live picture shows, zoom, rotation, mirroring and freezing change
# it, a snapshot lands in images/, a recording in videos/, and a stroke drawn with the mouse
# shows. SCREENSHOT_DIR, when set, receives pictures of each step.
#   usage: capture_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" "$app" --inside
fi

# shellcheck source=xvfb_session.sh
source "$(dirname "$0")/xvfb_session.sh"
storeFolder "$work/storage"
images=$work/storage/Nolbek/images
videos=$work/storage/Nolbek/videos

count() { find "$1" -name "$2" | wc -l; }

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "tarvoCameras: [Demo Camera" || fail "the demo camera was not discovered"
waitFor 15 remote TakeSnapshot || fail "no D-Bus remote"
waitFor 30 logSays "didFinish1" || fail "the board did not load"  # its overlay hides the picture until then
rm -f "$images"/*.png

# The SMPTE bars: the first bar is light grey-white, the third cyan. The picture area is the
# screen left of the 300-pixel library, above the 76-pixel control bar: 1620 x 1004.
waitForDemoPicture
left=$(colourOnScreen 160 300)
screenshot camera-view.png

remote TakeSnapshot
waitFor 15 bash -c "identify $images/*.png" || fail "no snapshot in images/"
snapshot=$(ls "$images"/*.png | head -n 1)
[[ $(basename "$snapshot") =~ ^[0-9]{8}_[0-9]{6}(-[0-9]+)?\.png$ ]] || fail "snapshot named $(basename "$snapshot")"
[[ $(identify -format '%wx%h' "$snapshot") == 1920x1080 ]] || fail "the snapshot is not the window's size"

remote StartRecording
sleep 2
remote StopRecording
waitFor 30 logSays "recorded file://$videos/" || fail "no recording in videos/"
[[ $(count "$videos" '*.mp4') -eq 1 ]] || fail "expected one movie"

# Zoomed in twice as far, the first bar leaves the left edge.
remote SetZoom 4.0
waitFor 10 colourIsNot 160 300 "$left" || fail "zooming did not change the picture"
screenshot camera-zoomed.png
remote SetZoom 1.0

# Turned right, the bars run across: top and bottom of the picture differ; mirrored, too.
barsRunAcross() { [[ $(colourOnScreen 810 60) != "$(colourOnScreen 810 940)" ]]; }
remote Rotate "'right'"
waitFor 10 barsRunAcross || fail "turning did not change the picture"
remote Mirror
sleep 1
screenshot camera-rotated.png
remote Mirror
remote Rotate "'left'"
waitFor 10 colourIs 160 300 "$left" || fail "turning back did not bring the picture back"

# Frozen, the moving clock of the test pattern stands still.
freeze() {
  local before
  before=$(logCount "Picture frozen")
  remote ToggleFreeze
  waitFor 10 logSaysMoreThan "Picture frozen" "$before" || fail "the picture did not freeze"
  sleep 0.5  # the frame on screen when it froze is drawn
}
freeze
import -window root -crop 600x200+0+0 "$work/frozen1.png"
sleep 1.2
import -window root -crop 600x200+0+0 "$work/frozen2.png"
[[ $(compare -metric AE "$work/frozen1.png" "$work/frozen2.png" null: 2>&1 || true) == 0 ]] ||
  fail "the frozen picture still changes"
remote ToggleFreeze

# A stroke drawn with the mouse while annotating, on a held picture so only the stroke changes.
freeze
import -window root -crop 41x41+700+580 "$work/before.png"
remote Annotate true
sleep 1  # the board page is told to draw
xdotool mousemove 500 500 mousedown 1
for point in "560 520" "640 560" "720 600" "800 610" "880 600" "960 560"; do
  sleep 0.3  # one event a frame: a slow software renderer merges faster moves
  xdotool mousemove $point
done
xdotool mouseup 1
strokeShows() {
  import -window root -crop 41x41+700+580 "$work/after.png"
  (($(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true) > 40))
}
waitFor 10 strokeShows || fail "the stroke does not show"
screenshot annotation.png
# A snapshot now holds the board's red stroke over the picture (which has no red there).
rm -f "$images"/*.png
remote TakeSnapshot
waitFor 15 bash -c "identify $images/*.png" || fail "no snapshot of the drawing"
red=$(convert "$(ls "$images"/*.png | head -n 1)" -crop 41x41+700+580 \
  -fx '(r>0.6 && g<0.45 && b<0.45)' -format '%[fx:int(1000*mean)]' info:)
((red > 0)) || fail "the snapshot leaves the board's drawing out"
remote Annotate false
remote ToggleFreeze

kill -TERM "$pid"
wait "$pid" && status=0 || status=$?
pid=
[[ $status -eq 0 ]] || fail "the application exited with $status"
echo "the live picture, its changes, the captures and a stroke all showed as expected"
