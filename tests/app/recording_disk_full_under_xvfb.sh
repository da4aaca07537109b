#!/usr/bin/env bash
# The real application under Xvfb recording into a videos folder on a small disk of its own
# (tmpfs, which needs root): when another program fills the disk during a camera recording and
# then during a screen recording, each recording stops by itself, says so once, keeps a movie
# that plays, and the application goes on answering.
#   usage: recording_disk_full_under_xvfb.sh PATH-TO-pelora-dravin
# Exits 77 (skipped) when mounting is not permitted.
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

smallDisk "$videos" 40m

stoppedLines() { grep -cxF "Recording stopped: the disk is full" "$work/app.log" || true; }

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "tarvoCameras: [Demo Camera" || fail "the demo camera was not discovered"
waitFor 15 remote TakeSnapshot || fail "no D-Bus remote"
waitFor 15 snapshotsAtLeast 1 || fail "no picture from the demo camera"

# $1: the D-Bus method that starts the recording, $2: the log line that announces the file,
# $3: how many disk-full stops the log holds once this one is done.
fillDuring() {
  rm -f "$videos"/*.mp4 "$videos"/.filler
  remote "$1"
  waitFor 30 recordedAtLeast 4 || fail "$1: the recording does not advance"
  dd if=/dev/zero of="$videos/.filler" bs=1M 2>/dev/null || true  # up to "no space left"
  waitFor 30 bash -c "[[ \$(grep -cxF 'Recording stopped: the disk is full' '$work/app.log') -ge $3 ]]" ||
    fail "$1: the full disk did not stop the recording"
  waitFor 30 logSays "$2 file://$videos/" || fail "$1: the movie kept was not announced"
  screenshot "disk-full-$1.png"
  kill -0 "$pid" 2>/dev/null || fail "$1: the application died"
  local movie seconds
  movie=$(newestMovie "$videos")
  hasH264 "$movie" || fail "$1: the movie kept does not play: $(gst-discoverer-1.0 "$movie" 2>&1)"
  seconds=$(movieSeconds "$movie")
  atLeast "$seconds" 2 || fail "$1: the movie kept plays only $seconds s of the 4 s and more recorded"
  echo "$1, stopped by the full disk: the movie kept plays $seconds s"
  # Stopped for good: no second try, no second message, the remote still answers.
  sleep 3
  [[ $(stoppedLines) -eq $3 ]] || fail "$1: the disk-full stop was reported $(stoppedLines) times"
  [[ $(ls "$videos"/*.mp4 | wc -l) -eq 1 ]] || fail "$1: another recording started"
  remote StopRecording || fail "$1: the application no longer answers"
}

fillDuring StartRecording recorded 1
fillDuring StartScreenRecording "screen recorded at" 2

echo "a full disk stopped each recording once, and the movies kept play"
