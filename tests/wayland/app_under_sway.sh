#!/usr/bin/env bash
# The real application as a Wayland client of the headless sway session, for what looks at the
# screen other than recording:
# - the virtual camera's feed, pointed at a FIFO (DRAVIN_VIRTUAL_CAMERA_DEVICE) in place of the
#   loopback device: JPEGs at the timer's rate, as large as the window, taken from the window's
#   own scene and showing what the screen shows (the demo camera's bars), with no X anywhere;
# - the window picker: this desktop's portal shares whole screens only, which the picker says
#   without asking the portal;
# - an imported picture reaches the board, though Wayland has no keystrokes to paste it with.
# SCREENSHOT_DIR, when set, receives wayland-*.png.
#   usage: app_under_sway.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=sway_session.sh
source "$here/sway_session.sh"

pid=
work=
cleanup() {
  local status=$?
  [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  sway_stop
  exit "$status"
}
trap cleanup EXIT
# shellcheck source=../app/waiting.sh
source "$here/../app/waiting.sh"
remote() {
  sway_run gdbus call --session --dest org.pelora.Dravin --object-path /Dravin \
    --method "org.pelora.Dravin.$1" "${@:2}" >/dev/null
}
screenshot() {
  sway_run grim "$work/$1"
  [[ -z ${SCREENSHOT_DIR:-} ]] || cp "$work/$1" "$SCREENSHOT_DIR/$1"
}
# shellcheck source=../app/picture_checks.sh
source "$here/../app/picture_checks.sh"

sway_start
runuser -u "$sway_user" -- test -x "$app" ||
  fail "the test user cannot run $app: the build tree must be readable by others"
work=$sway_dir/camera
fifo=$work/virtual-camera
mkdir -p "$work/config/Pelora" "$work/home" "$work/storage" "$work/desk"
convert -size 800x600 xc:'rgb(220,40,40)' "$work/desk/red sheet.png"
printf '[General]\nbookmark_folder=%s\n' "$work/storage" >"$work/config/Pelora/Dravin.conf"
mkfifo "$fifo"
chown -R "$sway_user:" "$work"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

sway_run XDG_CONFIG_HOME="$work/config" HOME="$work/home" QT_QPA_PLATFORM=wayland \
  QTWEBENGINE_DISABLE_SANDBOX=1 DRAVIN_UPDATE_FEED=http://127.0.0.1:9/feed.xml \
  DRAVIN_HTTP_PORT="$port" DRAVIN_VIRTUAL_CAMERA_DEVICE="$fifo" "$app" --demo-devices \
  >"$work/app.log" 2>&1 &
pid=$!
waitFor 40 logSays "tarvoCameras: [Demo Camera" || fail "the demo camera was not discovered"
waitFor 40 logSays "didFinish1" || fail "the board did not load"
sleep 3  # the splash shows for 2 s

framesShowDemoCamera "$fifo"
# And it is the window as the screen shows it: the control bar at the bottom too.
sway_run grim "$work/screen.png"
if [[ -n ${SCREENSHOT_DIR:-} ]]; then
  cp "$work/frame.png" "$SCREENSHOT_DIR/wayland-virtual-camera-frame.png"
  cp "$work/screen.png" "$SCREENSHOT_DIR/wayland-virtual-camera-screen.png"
fi
# Compared where the picture holds still: the bars below the running clock, and the control bar
# (the noise field and the clock change between the two).
for area in 1920x400+0+200 1920x80+0+1000; do
  rmse=$(difference "$work/frame.png" "$work/screen.png" "$area")
  echo "virtual camera: frame and screen differ by $rmse in $area (RMSE, 0..1)"
  below "$rmse" 0.06 || fail "the frame differs from the screen in $area (normalised RMSE $rmse)"
done

# The picker says that this desktop shares no single windows, and asks the portal nothing.
remote OpenTunnelList
sleep 2
screenshot wayland-window-picker.png
[[ ! -s $sway_chooser_asks ]] || fail "the picker asked the portal for a window it cannot share"
remote OpenTunnelList

# An imported picture goes onto the board: our window is in front, so its board is the front
# application (no keystroke could paste it here).
convert "$work/screen.png" -crop 200x200+650+400 +repage "$work/board-before.png"
remote ImportFiles "['$work/desk/red sheet.png']"
waitFor 20 test -f "$work/storage/Nolbek/~library/red sheet.png" || fail "the picture was not imported"
placed() {
  sway_run grim "$work/now.png"
  [[ $(colourAt "$work/now.png" 750 500) =~ ^(2[01][0-9]|22[0-9]),([0-9]|[0-5][0-9]),([0-9]|[0-5][0-9])$ ]]
}
waitFor 20 placed || fail "the imported picture was not placed on the board (at 750,500: $(colourAt "$work/now.png" 750 500))"
screenshot wayland-imported-picture.png
if logSays "FakeKey"; then fail "a keystroke was tried on Wayland"; fi
if logSays "xcb"; then fail "the application touched X on Wayland"; fi
kill -0 "$pid" || fail "the application ended"
echo "PASSED: on Wayland the virtual camera's frames come from the scene, the picker says what the desktop cannot share, and an import reaches the board"
