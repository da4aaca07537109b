#!/usr/bin/env bash
# Runs the real application under Xvfb with the demo devices: snapshots taken over D-Bus fill the
# archive, the GIF generator loads them as frames, plays them and exports an animated GIF through
# its save panel; "Keep" leaves the snapshots. SCREENSHOT_DIR, when set, receives pictures of the
# archive and of the generator playing.
#   usage: archive_gif_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" "$app" --inside
fi

# shellcheck source=xvfb_session.sh
source "$(dirname "$0")/xvfb_session.sh"
storeFolder "$work/storage"
images=$work/storage/Nolbek/images
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.8; }
shot() { [[ -n ${SCREENSHOT_DIR:-} ]] && import -window root -crop "$2" "$SCREENSHOT_DIR/$1" || true; }

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "didFinish1" || fail "the board did not load"
waitFor 20 logSays "Total Files in Images: 0" || fail "the empty archive was not listed"
for _ in 1 2 3 4; do
  remote TakeSnapshot
  sleep 1.1  # one name a second
done
waitFor 10 test "$(find "$images" -name '*.png' | wc -l)" -eq 4 || fail "four snapshots were not taken"
markButton 1855 456
markButton 1176 695  # where the generator's Load will show
remote ShowLibrary true
clickOnArrival 1855 456 "the archive's Generate GIF"
shot archive.png 420x1000+1500+0

# "Generate GIF" in the archive opens the generator; "Load" takes the snapshots as frames.
clickOnArrival 1176 695 "the generator's Load"
playerShows() { (($(import -window root -crop 420x260+285+690 -format %k info:-) > 20)); }  # colours
waitFor 15 playerShows || fail "the player shows no frame"
shot gif-generator.png 980x360+260+630

# "Export GIF": the save panel proposes export.gif in the images folder; "Save" confirms it.
markButton 1121 715
xdotool mousemove 1162 955 click 1
clickOnArrival 1121 715 "the save panel"
markButton 1123 565
waitFor 30 test -s "$images/export.gif" || fail "no GIF was exported"
[[ $(identify "$images/export.gif" | wc -l) -eq 4 ]] || fail "the GIF does not hold the four frames"
clickOnArrival 1123 565 "the question whether to keep the snapshots"  # "Keep"
sleep 1
[[ $(find "$images" -name '2*.png' | wc -l) -eq 4 ]] || fail "Keep did not keep the snapshots"
echo "archive and GIF generator under Xvfb: four snapshots, four frames, one GIF"
