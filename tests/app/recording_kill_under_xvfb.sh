#!/usr/bin/env bash
# Recordings of the real application under Xvfb, with the demo devices, driven over D-Bus: a
# camera and a screen recording ended with Stop are regular movies, index first, of the length
# recorded; a camera and a screen recording whose program is killed (SIGKILL) six seconds in
# still play, short of their last two seconds at most.
#   usage: recording_kill_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  # A small screen: less to draw and to encode, on a machine shared with other work.
  exec xvfb-run -a -s "-screen 0 1280x720x24" dbus-run-session -- "$0" "$app" --inside
fi

here=$(dirname "$0")
# shellcheck source=xvfb_session.sh
source "$here/xvfb_session.sh"
# shellcheck source=recording_files.sh
source "$here/recording_files.sh"
storeFolder "$work/storage"
images=$work/storage/Nolbek/images
videos=$work/storage/Nolbek/videos

# Starts the application and waits until the camera's pictures arrive: a snapshot needs one.
startApp() {
  "$app" --demo-devices >"$work/app.log" 2>&1 &
  pid=$!
  waitFor 30 logSays "tarvoCameras: [Demo Camera" || fail "the demo camera was not discovered"
  waitFor 15 remote TakeSnapshot || fail "no D-Bus remote"
  waitFor 15 snapshotsAtLeast 1 || fail "no picture from the demo camera"
}
killApp() {
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
}

startApp

# Stopped normally: regular movies of the length recorded.
# Records for three seconds with `$1`; sets `shortest` and `longest`, the bounds of a movie of
# the time the application could have recorded, from the moments the calls went out and were
# answered. On a loaded machine the demo camera's picture falls behind its sound, which then
# starts later in the movie: up to half the time on either side.
recordThreeSeconds() {
  local before after stop
  before=$(date +%s.%N)
  remote "$1"
  after=$(date +%s.%N)
  sleep 3  # the recording's own length
  stop=$(date +%s.%N)
  remote StopRecording
  shortest=$(awk -v a="$after" -v s="$stop" 'BEGIN { print (s - a) / 2 }')
  longest=$(awk -v b="$before" -v e="$(date +%s.%N)" 'BEGIN { print (e - b) * 1.5 }')
}
# $1: the movie, $2: what it is
expectLength() {
  local seconds
  seconds=$(movieSeconds "$1")
  atLeast "$seconds" "$shortest" && atLeast "$longest" "$seconds" ||
    fail "$2 lasts $seconds s, recorded for $shortest to $longest s"
  echo "$2: $seconds s"
}

recordThreeSeconds StartRecording
waitFor 60 logSays "recorded file://$videos/" || fail "the camera recording was not finished"
camera=$(newestMovie "$videos")
hasH264 "$camera" || fail "the camera recording holds no H.264 picture"
expectLength "$camera" "the camera recording"
expectRegular "$camera"

recordThreeSeconds StartScreenRecording
waitFor 60 logSays "screen recorded at file://$videos/" || fail "the screen recording was not finished"
screen=$(newestMovie "$videos")
[[ $screen != "$camera" ]] || fail "no second movie"
hasH264 "$screen" || fail "the screen recording holds no H.264 picture"
expectLength "$screen" "the screen recording"
expectRegular "$screen"

# Records six seconds with `$1`, kills the application, and checks the movie left plays all
# but the last two seconds of what the application had recorded: its own count, read just
# before the kill, in whole seconds. Six seconds of a machine that keeps up are at least four.
killedDuring() {
  rm -f "$videos"/*.mp4
  remote "$1"
  sleep 6
  local recorded movie seconds
  recorded=$(recordedSeconds)
  killApp
  ((recorded >= 3)) || fail "$1: the application recorded only ${recorded:-nothing} s in 6 s"
  movie=$(newestMovie "$videos")
  [[ -n $movie ]] || fail "$1: the killed recording left no file"
  hasH264 "$movie" || fail "$1: the killed recording does not play: $(gst-discoverer-1.0 "$movie" 2>&1)"
  seconds=$(movieSeconds "$movie")
  atLeast "$seconds" $((recorded - 2)) || fail "$1: the killed recording plays $seconds s of $recorded"
  echo "$1, killed after 6 s: plays $seconds s of the $recorded s recorded"
}

rm -f "$images"/*.png
killedDuring StartRecording
startApp
killedDuring StartScreenRecording

echo "stopped recordings are regular movies; killed ones play up to their last seconds"
