#!/usr/bin/env bash
# Runs the real application under Xvfb, twice: with a stored folder it opens full screen, lays out
# the storage tree, serves the lessons and quits when its window closes; with none stored it
# starts without a server and asks for a folder. SCREENSHOT_DIR, when set, receives a picture of
# each.   usage: run_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$app" --inside
fi

# shellcheck source=xvfb_session.sh
source "$(dirname "$0")/xvfb_session.sh"

# 1. A stored folder.
storeFolder "$work/storage"
"$app" >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "Server has started ( port = $DRAVIN_HTTP_PORT ). Try to connect now..." ||
  fail "the server did not start"
logSays "Read Permission Root: $work/storage" || fail "the stored folder was not read"
logSays "Init Global: " || fail "no global initialisation"
for folder in images videos "~library" "~templates" "~bookmark"; do
  [[ -d $work/storage/Nolbek/$folder ]] || fail "no folder $folder"
done
[[ -f $work/storage/Nolbek/~templates/templates.json ]] || fail "the templates were not copied"
curl -sf "http://127.0.0.1:$DRAVIN_HTTP_PORT/" | grep -q '<img' || fail "no welcome page"
curl -sf "http://127.0.0.1:$DRAVIN_HTTP_PORT/science/plants/index.html" | grep -q 'How plants drink' ||
  fail "no lesson page"

window=$(findWindow '^Pelora Dravin$') || fail "no window titled Pelora Dravin"
waitFor 10 bash -c "xwininfo -id $window | grep -q 'Width: 1920'" || fail "the window is not full screen"
sleep 2.5  # the splash shows for 2 s
screenshot main-window.png

# Alt+F4 is the window manager's close, as a user closes a window.
xdotool windowactivate --sync "$window"
xdotool key alt+F4
waitFor 15 bash -c "! kill -0 $pid" || fail "closing the window did not quit"
wait "$pid" && status=0 || status=$?
pid=
[[ $status -eq 0 ]] || fail "the application exited with $status"

# 2. Nothing stored: no server, the chooser 3 s after launch, and choosing a folder there.
rm -f "$XDG_CONFIG_HOME/Pelora/Dravin.conf"
mkdir -p "$work/start/saves"
"$app" >"$work/app.log" 2>&1 &
pid=$!
chooser='^Please choose a folder to be used for saving files.$'
waitFor 15 logSays "No Access yet" || fail "no 'No Access yet'"
sleep 4
kill -0 "$pid" || fail "the application ended by itself"
curl -s "http://127.0.0.1:$DRAVIN_HTTP_PORT/" >/dev/null && fail "a server answers before a folder is chosen"
chooserWindow=$(findWindow "$chooser") || fail "no folder chooser"
screenshot folder-chooser.png
xdotool windowactivate --sync "$chooserWindow"
xdotool type --delay 20 "$work/start/saves"
xdotool key Return
waitFor 15 logSays "Save Permission Root: $work/start/saves" || fail "choosing a folder was not stored"
waitFor 15 logSays "Server has started ( port = $DRAVIN_HTTP_PORT )" || fail "no server after choosing"
[[ -d $work/start/saves/Nolbek/images ]] || fail "no storage tree in the chosen folder"
grep -q "bookmark_folder=$work/start/saves" "$XDG_CONFIG_HOME/Pelora/Dravin.conf" || fail "the choice was not saved"
kill -TERM "$pid"
wait "$pid" && status=0 || status=$?
pid=
[[ $status -eq 0 ]] || fail "the application exited with $status after SIGTERM"
echo "the application ran, served and quit as expected"
