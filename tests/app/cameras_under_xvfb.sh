#!/usr/bin/env bash
# Runs the real application under Xvfb with the demo devices and works its cameras over D-Bus:
# a picture control acts on the picture and is remembered across a restart, the resolution
# setting chooses the camera's format, frozen snapshots hold still, and unplugging the running
# camera finishes its recording, says so on the picture, and plugging it in brings it back.
# SCREENSHOT_DIR, when set, receives the adjust popover and the disconnected picture.
#   usage: cameras_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" "$app" --inside
fi

here=$(dirname "$0")
# shellcheck source=xvfb_session.sh
source "$here/xvfb_session.sh"
# shellcheck source=recording_files.sh
source "$here/recording_files.sh"
storeFolder "$work/storage"
images=$work/storage/Nolbek/images
videos=$work/storage/Nolbek/videos

ask() { gdbus call --session --dest org.pelora.Dravin --object-path /Dravin --method "org.pelora.Dravin.$1" "${@:2}"; }
count() { find "$1" -name "$2" | wc -l; }
# Takes a snapshot and prints its file once written (its name is claimed before its picture).
snapshot() {
  local before
  before=$(grep -c "Took a snapshot at: " "$work/app.log" || true)
  remote TakeSnapshot
  waitFor 15 bash -c "(( \$(grep -c 'Took a snapshot at: ' '$work/app.log') > $before ))" ||
    fail "no snapshot written"
  grep "Took a snapshot at: " "$work/app.log" | tail -n 1 | sed 's|.*Took a snapshot at: file://||'
}
# Mean lightness of the middle of a picture, 0-1000.
lightness() { convert "$1" -gravity center -crop 50%x50%+0+0 -colorspace Gray -format '%[fx:int(1000*mean)]' info:; }
brightnessValue() { ask ListControls | grep -oE "\('brightness', -?[0-9]+" | grep -oE -- '-?[0-9]+$'; }
modeSays() { ask CameraMode | grep -qF -- "$1"; }
start() {
  "$app" --demo-devices >>"$work/app.log" 2>&1 &
  pid=$!
  waitFor 30 modeSays " x " || fail "the demo camera did not start"
  waitFor 30 logSays "didFinish1" || fail "the board did not load"
}
stop() {
  kill -TERM "$pid"
  wait "$pid" && status=0 || status=$?
  pid=
  [[ $status -eq 0 ]] || fail "the application exited with $status"
}

start
mkdir -p "$images"
ask ListCameras | grep -qF "'Demo Camera'" || fail "ListCameras leaves out the demo camera"
[[ $(brightnessValue) == 0 ]] || fail "brightness does not start at its default"

# Brightness: a control acts on the picture itself.
plain=$(lightness "$(snapshot)")
ask SetControl brightness 60 >/dev/null
[[ $(brightnessValue) == 60 ]] || fail "SetControl did not take"
# The frames after the change carry it.
brighter() { bright=$(lightness "$(snapshot)") && ((bright > plain + 100)); }
waitFor 10 brighter || fail "brightness 60 did not brighten the picture ($plain -> $bright)"
! ask SetControl brightness 500 >/dev/null 2>&1 || fail "an out-of-range value was taken"
[[ $(brightnessValue) == 60 ]] || fail "a refused value changed the control"

# The Adjust popover of a camera without the maker's HID controls.
xdotool mousemove 1745 1042 click 1
sleep 1.5
[[ -n ${SCREENSHOT_DIR:-} ]] && import -window root -crop 1000x560+920+520 "$SCREENSHOT_DIR/adjust-uvc.png" || true
xdotool mousemove 1000 500 key Escape
sleep 0.4

# Remembered for this camera: after a restart the value and the brighter picture are back.
stop
start
waitFor 10 bash -c "[[ \$(gdbus call --session --dest org.pelora.Dravin --object-path /Dravin --method org.pelora.Dravin.ListControls | grep -oE \"'brightness', 60\") ]]" ||
  fail "the brightness was not restored after a restart"
waitFor 10 brighter || fail "the restored brightness does not show ($plain -> $bright)"

# The resolution setting chooses the format.
ask SetResolution "'720P@30fps'" >/dev/null
waitFor 15 modeSays "1280 x 720, MJPEG, 30 fps" || fail "720P gave $(ask CameraMode)"
! ask SetResolution "'8K'" >/dev/null 2>&1 || fail "an unknown resolution was accepted"

# Frozen, two snapshots a second apart are the same picture. The library panel, open at the start
# until it hides by itself, would make the picture wider between them: it is hidden first.
remote ShowLibrary false
# The panel's colour gone from its middle, and nothing there moves any more.
libraryGone() { colourIsNot 1700 700 28,32,38 && holdsStill 400x400+1500+100; }
waitFor 10 libraryGone || fail "the library did not slide away"
remote ToggleFreeze
waitFor 10 logSays "Picture frozen" || fail "the picture did not freeze"
first=$(snapshot)
sleep 1
second=$(snapshot)
[[ $(compare -metric AE "$first" "$second" null: 2>&1 || true) == 0 ]] ||
  fail "snapshots taken while frozen differ"
remote ToggleFreeze

# Unplugged while recording: the file is finished and plays, the picture says so.
remote StartRecording
waitFor 15 recordedAtLeast 2 || fail "the recording did not run"
ask RemoveDemoCamera "'Demo Camera'" >/dev/null
waitFor 15 modeSays "Camera disconnected" || fail "the mode does not say the camera is gone"
waitFor 30 logSays "recorded file://$videos/" || fail "the recording was not finished"
movie=$(ls "$videos"/*.mp4 | head -n 1)
hasH264 "$movie" || fail "the recording does not play"
awk -v s="$(movieSeconds "$movie")" 'BEGIN { exit !(s >= 1.5) }' || fail "the recording is too short"
sleep 0.5  # the view draws the notice
screenshot camera-disconnected.png
[[ $(colourOnScreen 160 300) == 16,19,22 ]] || fail "the last picture still shows ($(colourOnScreen 160 300))"
! ask ListCameras | grep -qF "'Demo Camera'" || fail "the picker still lists the unplugged camera"

# Plugged in again, it comes back by itself.
plugged=$(date +%s%N)
ask AddDemoCamera "'Demo Camera'" >/dev/null
waitFor 15 modeSays "1280 x 720" || fail "the camera did not come back"
waitFor 15 bash -c "[[ \$(import -window root -crop 1x1+160+300 txt:- | sed -n 2p) != *'(16,19,22)'* ]]" ||
  fail "the picture did not come back"
echo "camera back on screen $(( ($(date +%s%N) - plugged) / 1000000 )) ms after plugging"
! ask AddDemoCamera "'Demo Camera'" >/dev/null 2>&1 || fail "the same camera was plugged in twice"

stop
echo "controls, memory, resolution, frozen snapshots and hot-plug all behaved"
