#!/usr/bin/env bash
# The real application's virtual camera feed under Xvfb, pointed at a FIFO
# (DRAVIN_VIRTUAL_CAMERA_DEVICE) in place of the loopback device: JPEGs at the timer's rate, as
# large as the full-screen window, showing what the screen shows (the demo camera's bars); then
# another program's window over ours is on the screen but not in the frames.
# SCREENSHOT_DIR, when set, receives virtual-camera-*.png.
#   usage: virtual_camera_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$app" --inside
fi

# shellcheck source=xvfb_session.sh
source "$(dirname "$0")/xvfb_session.sh"

# shellcheck source=picture_checks.sh
source "$(dirname "$0")/picture_checks.sh"

storeFolder "$work/storage"
fifo=$work/virtual-camera
mkfifo "$fifo"
DRAVIN_VIRTUAL_CAMERA_DEVICE=$fifo "$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 40 logSays "tarvoCameras: [Demo Camera" || fail "the demo camera was not discovered"
waitFor 40 logSays "didFinish1" || fail "the board did not load"
window=$(findWindow '^Pelora Dravin$') || fail "no window titled Pelora Dravin"
waitFor 10 bash -c "xwininfo -id $window | grep -q 'Width: 1920'" || fail "the window is not full screen"
waitForDemoPicture

framesShowDemoCamera "$fifo"
import -window root "$work/screen.png"
# Compared where the picture holds still: the bars below the running clock, and the control bar.
for area in 1920x400+0+200 1920x80+0+1000; do
  d=$(difference "$work/frame.png" "$work/screen.png" "$area")
  echo "virtual camera: frame and screen differ by $d in $area (RMSE, 0..1)"
  below "$d" 0.06 || fail "the frame differs from the screen in $area (normalised RMSE $d)"
done

# Another program's window over ours, in the middle of the bars: the screen shows it, the frames
# do not.
xmessage -geometry 900x300+500+250 -bg black -fg black "covering" &
helpers+=($!)
cover=$(findWindow '^xmessage$') || fail "the covering window did not appear"
xdotool windowraise "$cover"
sleep 1
import -window root "$work/covered-screen.png"
count=$(readFrames "$fifo" 2 "$work/covered.jpg")
((count >= 20)) || fail "only $count frames in 2 s while covered"
convert "$work/covered.jpg" "$work/covered.png"
if [[ -n ${SCREENSHOT_DIR:-} ]]; then
  cp "$work/covered-screen.png" "$SCREENSHOT_DIR/virtual-camera-covered-screen.png"
  cp "$work/covered.png" "$SCREENSHOT_DIR/virtual-camera-covered-frame.png"
fi
area=800x200+550+300
d=$(difference "$work/covered-screen.png" "$work/screen.png" "$area")
below "$d" 0.2 && fail "the covering window is not on the screen (RMSE $d against before)"
d=$(difference "$work/covered.png" "$work/screen.png" "$area")
echo "virtual camera: covered frame and uncovered screen differ by $d in $area"
below "$d" 0.06 || fail "the covering window shows in the frames (RMSE $d against the uncovered screen)"
kill -0 "$pid" || fail "the application ended"
echo "PASSED: under X the virtual camera's frames come from the scene, at the timer's rate, without the window over ours"
