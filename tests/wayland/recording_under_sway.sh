#!/usr/bin/env bash
# Runs the real application as a Wayland client of a headless sway session with the demo devices
# and records the screen over D-Bus through the desktop portal: a declined dialog records nothing;
# an allowed one gives an MP4 showing the application's picture, with a pause left out; a second
# recording is not asked again (the portal took the token kept from the first) and a still screen
# still records for as long as it is still. SCREENSHOT_DIR, when set, receives wayland-*.png.
#   usage: recording_under_sway.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=sway_session.sh
source "$here/sway_session.sh"

pid=
monitor=
work=
cleanup() {
  local status=$?
  [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  [[ -n $monitor ]] && kill "$monitor" 2>/dev/null || true
  sway_stop
  exit "$status"
}
trap cleanup EXIT
afterFailure() {
  [[ -n ${KEEP_DIR:-} && -n $work ]] && cp -r "$work" "$KEEP_DIR/" 2>/dev/null
  for log in "$sway_logs"/*.log; do
    echo "--- $(basename "$log") (last lines)"
    tail -n 25 "$log"
  done
}
# shellcheck source=../app/waiting.sh
source "$here/../app/waiting.sh"
remote() {
  sway_run gdbus call --session --dest org.pelora.Dravin --object-path /Dravin \
    --method "org.pelora.Dravin.$1" "${@:2}" >/dev/null
}
asks() { wc -l <"$sway_chooser_asks"; }
movies() { find "$videos" -name '*.mp4' | sort; }
# The longest stretch between two frames of a movie: a pause kept in, or a still screen that
# stopped sending frames, shows as one. A loaded machine drops frames the encoder cannot take in
# time, well under a second's worth.
longestGap() {
  ffprobe -v error -select_streams v -show_entries packet=pts_time -of csv=p=0 "$1" | sort -g |
    awk 'NR > 1 && $1 - p > g { g = $1 - p } { p = $1 } END { printf "%.2f", g }'
}
# The length of a movie's picture.
seconds() { ffprobe -v error -select_streams v -show_entries stream=duration -of csv=p=0 "$1"; }
# shellcheck source=../app/picture_checks.sh
source "$here/../app/picture_checks.sh"
# One frame of a movie, at $2 seconds.
frameAt() { ffmpeg -v error -y -ss "$2" -i "$1" -frames:v 1 "$3"; }
screenshot() {
  sway_run grim "$work/$1"
  [[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/$1" "$SCREENSHOT_DIR/$1" || true
}
# The first bar of the demo camera's colour bars is light grey, the third cyan: the picture fills
# the screen left of the 300-pixel library, above the control bar.
showsTheBars() {
  local grey cyan
  grey=$(colourAt "$1" 160 300)
  cyan=$(colourAt "$1" 580 300)
  [[ $grey =~ ^(1[89][0-9]|2[0-9][0-9]),(1[89][0-9]|2[0-9][0-9]),(1[89][0-9]|2[0-9][0-9])$ ]] &&
    [[ $cyan =~ ^([0-9]|[0-9][0-9]),(1[5-9][0-9]|2[0-9][0-9]),(1[5-9][0-9]|2[0-9][0-9])$ ]] && return 0
  echo "$1: grey bar $grey, cyan bar $cyan" >&2
  return 1
}
near() { awk -v a="$1" -v b="$2" -v d="$3" 'BEGIN { exit !(a >= b - d && a <= b + d) }'; }
now() { date +%s.%N; }
# Whether a length lies between two reckonings, give or take 0.5 s (frames come every 33 ms).
within() { awk -v a="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(a >= lo - 0.5 && a <= hi + 0.5) }'; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a - b }'; }

sway_start
for tool in ffmpeg ffprobe convert compare; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh)"
done
# The application reads its pages from the source tree.
sway_allow "$app"
sway_allow "$here/../../resources"
setpriv --reuid="$sway_user" --regid="$sway_user" --init-groups -- test -x "$app" ||
  fail "the test user cannot run $app: the build tree must be readable by others"

work=$sway_dir/app
videos=$work/storage/Nolbek/videos
mkdir -p "$work/config/Pelora" "$work/home" "$work/storage"
printf '[General]\nbookmark_folder=%s\n' "$work/storage" >"$work/config/Pelora/Dravin.conf"
chown -R "$sway_user:" "$work"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# Every SelectSources call on the session bus, to see what the application offers the portal.
sway_exec dbus-monitor --session \
  "type='method_call',interface='org.freedesktop.portal.ScreenCast',member='SelectSources'" \
  >"$work/selects.log" 2>&1 &
monitor=$!

sway_exec XDG_CONFIG_HOME="$work/config" HOME="$work/home" QT_QPA_PLATFORM=wayland \
  QTWEBENGINE_DISABLE_SANDBOX=1 DRAVIN_UPDATE_FEED=http://127.0.0.1:9/feed.xml \
  DRAVIN_HTTP_PORT="$port" "$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 40 logSays "tarvoCameras: [Demo Camera" || fail "the demo camera was not discovered"
waitFor 20 remote RecordingTime || fail "no D-Bus remote"
waitFor 40 logSays "didFinish1" || fail "the board did not load"
sleep 3  # the splash shows for 2 s
logSays "wayland" || true
screenshot wayland-camera-view.png
showsTheBars "$work/wayland-camera-view.png" || fail "the window does not show the demo camera"

# Declined: the portal's chooser answers nothing, as a closed dialog does.
: >"$sway_chooser_answer"
remote StartScreenRecording
waitFor 20 logSays "Failed to initialize screen recording notAllowed" ||
  fail "a declined screen cast was not reported as not allowed"
[[ $(asks) -eq 1 ]] || fail "the chooser was asked $(asks) times for one recording"
[[ -z $(movies) ]] || fail "a declined recording left a file: $(movies)"
kill -0 "$pid" || fail "the application ended after a declined screen cast"

# Allowed: recorded for about 2 s, paused (the picture frozen) for 2 s, resumed for 2 s. The
# movie's length is bracketed by times the test takes: from the Start request sent (at most) or
# the first frame seen in the log (at least) to the Stop returned or sent, less the pause's
# longest or shortest reckoning.
echo HEADLESS-1 >"$sway_chooser_answer"
asked=$(now)
remote StartScreenRecording
waitFor 20 logSays "STARTED" || fail "the first screen recording did not start"
began=$(now)
[[ $(asks) -eq 2 ]] || fail "the chooser was not asked for the first recording"
sleep 2
pauseSent=$(now)
remote ToggleFreeze
pauseDone=$(now)
sleep 2
resumeSent=$(now)
remote ToggleFreeze
resumeDone=$(now)
sleep 2
stopping=$(now)
remote StopRecording
stopped=$(now)
longest=$(minus "$(minus "$stopped" "$asked")" "$(minus "$resumeSent" "$pauseDone")")
shortest=$(minus "$(minus "$stopping" "$began")" "$(minus "$resumeDone" "$pauseSent")")
waitFor 30 logSays "screen recorded at file://$videos/" || fail "the first screen recording was not finished"
first=$(movies | head -n 1)
[[ -n $first ]] || fail "no movie in $videos"
length=$(seconds "$first")
within "$length" "$shortest" "$longest" ||
  fail "the first recording lasts $length s, not $shortest to $longest (its pause left out)"
gap=$(longestGap "$first")
near "$gap" 0 1.5 || fail "the first recording has $gap s without a frame: the 2 s pause was kept in"
echo "first recording: $length s, between $shortest and $longest, longest gap $gap s"
frameAt "$first" 1 "$work/first-frame.png"
showsTheBars "$work/first-frame.png" || fail "the first recording does not show the application's picture"
cp "$work/first-frame.png" "${SCREENSHOT_DIR:-$work}/wayland-recorded-frame.png" 2>/dev/null || true
token=$(sed -nE 's/^restoreToken=(.*)$/\1/p' "$work/config/Pelora/Dravin.conf")
[[ -n $token ]] || fail "no restore token was kept after the first recording"
grep -q 'string "restore_token"' "$work/selects.log" &&
  fail "the first request offered a token it could not have had"

# Again in the same session, on a still screen (the picture frozen): no dialog this time.
restoredBefore=$(grep -c "restore_data.output_name: HEADLESS-1" "$sway_logs/portal-wlr.log" || true)
remote ToggleFreeze
sleep 0.5
started=$(logCount "STARTED")
asked=$(now)
remote StartScreenRecording
waitFor 20 bash -c "[[ \$(grep -cF STARTED '$work/app.log') -gt $started ]]" ||
  fail "the second screen recording did not start"
began=$(now)
sleep 2
screenshot wayland-recording-still.png
sleep 3
stopping=$(now)
remote StopRecording
longest=$(minus "$(now)" "$asked")
shortest=$(minus "$stopping" "$began")
waitFor 30 bash -c "[[ \$(grep -cF 'screen recorded at file://' '$work/app.log') -ge 2 ]]" ||
  fail "the second screen recording was not finished"
remote ToggleFreeze
[[ $(asks) -eq 2 ]] || fail "the second recording asked the user again"
# The request carried the kept token, and the portal restored the choice it stands for.
grep -A1 'string "restore_token"' "$work/selects.log" | grep -qF "string \"$token\"" ||
  fail "the second request did not offer the kept token $token"
restoredAfter=$(grep -c "restore_data.output_name: HEADLESS-1" "$sway_logs/portal-wlr.log" || true)
((restoredAfter == restoredBefore + 1)) || fail "the portal did not restore the kept choice"
echo "second request offered the kept token $token; the portal restored HEADLESS-1 without asking"
second=$(movies | tail -n 1)
[[ $second != "$first" ]] || fail "no second movie"
length=$(seconds "$second")
within "$length" "$shortest" "$longest" ||
  fail "the still screen's recording lasts $length s, not $shortest to $longest"
gap=$(longestGap "$second")
near "$gap" 0 1.5 || fail "the still screen's recording has $gap s without a frame"
frameAt "$second" 2.5 "$work/still-frame.png"
showsTheBars "$work/still-frame.png" || fail "the still recording does not show the picture"
# Its late frame is the screen as it stood: grim's picture of it, give or take the encoding.
convert "$work/still-frame.png" -resize 480x270! "$work/still-small.png"
convert "$work/wayland-recording-still.png" -resize 480x270! "$work/screen-small.png"
# compare says how far apart the two are and exits 1 when they differ at all.
difference=$({ compare -metric RMSE "$work/still-small.png" "$work/screen-small.png" null: 2>&1 || true; } |
  sed -nE 's/.*\(([0-9.e-]+)\).*/\1/p')
near "${difference:-1}" 0 0.08 || fail "the recorded still frame differs from the screen ($difference)"
echo "still screen: $length s recorded, between $shortest and $longest, longest gap $gap s;" \
  "frames show the picture"

kill -TERM "$pid"
wait "$pid" && status=0 || status=$?
pid=
[[ $status -eq 0 ]] || fail "the application exited with $status"
echo "screen recording on Wayland through the portal worked as expected"
