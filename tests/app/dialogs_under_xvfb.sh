#!/usr/bin/env bash
# Opens every dialog, panel and popover of the real application under Xvfb and fails on any QML
# that could not be loaded. Qt Quick's own dialogs and our panels load QML modules by name only
# when they first open, so a module missing from the package list shows only here (or on a user's
# machine): "module ... is not installed", "Failed to load ... implementation".
#   usage: dialogs_under_xvfb.sh COMMAND [ARGS...]
# COMMAND starts the application; the fresh-install check passes one that starts the installed
# copy inside its fresh system. SCREENSHOT_DIR, when set, receives a picture of each dialog.
set -euo pipefail

if [[ ${1:-} != --inside ]]; then
  app=$(readlink -f "$1")
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" --inside "$app" "${@:2}"
fi
shift
launch=("$@")

# shellcheck source=xvfb_session.sh
source "$(dirname "$0")/xvfb_session.sh"
images=$work/storage/Nolbek/images

click() { xdotool mousemove "$1" "$2" click 1; sleep 0.6; }
press() { xdotool mousemove 1000 500 key "$1"; sleep 0.6; }
grab() { import -window root -crop "$1" "$work/$2.png"; }
# A dialog or popover changes many pixels; a button's hover or a tooltip few.
differs() {
  changed=$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | awk '{ printf "%d", $1 }')
  ((changed > 8000))
}
# The region must change within a few seconds of the action: dialogs and popovers are built when
# first opened, which takes a while on a loaded machine.
opens() {  # name, region; the action ran just before
  local name=$1 region=$2
  for ((i = 0; i < 30; i++)); do
    grab "$region" after
    differs before after && break
    sleep 0.2
  done
  differs before after || fail "the $name did not open ($changed pixels changed)"
  echo "$name: $changed pixels changed"
  sleep 0.5
  [[ -n ${SCREENSHOT_DIR:-} ]] && import -window root "$SCREENSHOT_DIR/dialog-$name.png"
  qmlLoadsCleanly || fail "the $name loaded QML that is not installed"
}
centre=1000x600+460+200

# A feed with a newer version, so the settings offer the update and its dialog.
mkdir -p "$work/feed"
echo '<?xml version="1.0"?><update version="99.0" downloadLocation="http://127.0.0.1:9/x.deb"/>' >"$work/feed/feed.xml"
feedPort=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$feedPort" --bind 127.0.0.1 --directory "$work/feed" >/dev/null 2>&1 &
helpers+=($!)
export DRAVIN_UPDATE_FEED=http://127.0.0.1:$feedPort/feed.xml

# 1. No folder yet: the folder chooser opens by itself and is cancelled; a snapshot brings the
# save guard's alert; the settings' "Change..." opens the chooser again, where a folder is chosen.
chooserTitle='^Please choose a folder to be used for saving files.$'
# Focus and Adjust are open to the maker's cameras, which the demo camera stands for here.
export DRAVIN_HID_CONTROL=1
"${launch[@]}" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "Main Camera: " || fail "the demo camera did not start"
chooser=$(findWindow "$chooserTitle") || fail "no folder chooser at the start"
screenshot dialog-folder-chooser.png
xdotool windowactivate --sync "$chooser" key Escape
# Gone only when the search answers with nothing: one that died of BadWindow prints its error.
waitFor 10 bash -c "[ -z \"\$(xdotool search --onlyvisible --name '$chooserTitle' 2>&1)\" ]" ||
  fail "the chooser did not close"
waitFor 10 remote ToggleFreeze || fail "no D-Bus remote"  # still, so only what opens changes the screen
sleep 1
grab "$centre" before
remote TakeSnapshot
opens alert "$centre"
press Return
click 1813 1042  # "Settings"
click 1788 715   # "Change..."
chooser=$(findWindow "$chooserTitle") || fail "Change... did not open the folder chooser"
xdotool windowactivate --sync "$chooser"
xdotool type --delay 20 "$work/storage"
xdotool key Return
waitFor 15 logSays "Save Permission Root: $work/storage" || fail "choosing a folder was not stored"
waitFor 60 logSays "didFinish1" || fail "the board did not load"
sleep 2

# 2. Every popover of the bar, each closed again with Escape.
barY=1042
for button in browsers:263 zoom:856 record:987 view-option:1600 focus:1675 adjust:1745 settings:1813; do
  x=${button#*:}
  left=$((x > 1420 ? 1420 : (x < 500 ? 0 : x - 500)))
  grab "500x400+$left+600" before
  click "$x" $barY
  opens "${button%%:*}-popover" "500x400+$left+600"
  press Escape
done

# 3. From the settings popover: the update dialog ("Update") and the wireless configuration.
waitFor 15 logSays 'Update feed: ' || fail "the update feed was not read"
click 1813 $barY
grab "$centre" before
click 1755 523  # "Update", above the virtual camera's row and its hint
opens update-dialog "$centre"
press Escape
press Escape
click 1813 $barY
grab 1920x1000+0+0 before
click 1600 970
opens wireless-configuration 1920x1000+0+0
click 468 586  # its "Cancel"

# 4. The library's open panel (Ctrl+O).
grab "$centre" before
press ctrl+o
opens import-panel "$centre"
press Escape

# 5. The panels: browser, PDF viewer, lessons, window tiles, second cameras, library.
python3 - "$work/sheet.pdf" <<'PDF'
import sys
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
           b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 600 800] /Contents 4 0 R "
           b"/Resources << /Font << /F1 5 0 R >> >> >>",
           b"<< /Length 44 >>\nstream\nBT /F1 40 Tf 50 700 Td (Worksheet) Tj ET\nendstream",
           b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
out, offsets = bytearray(b"%PDF-1.4\n"), []
for number, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += b"%d 0 obj\n%s\nendobj\n" % (number, body)
xref = len(out)
out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
out += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(sys.argv[1], "wb").write(out)
PDF
# The browser panel comes last: it lies over the middle, where the window tiles' picker opens.
for call in OpenTunnelList OpenDocCamera OpenPIPCamera "ShowLibrary true" OpenBrowser "OpenPdf $work/sheet.pdf" OpenLessons; do
  grab 1920x1000+0+0 before
  # shellcheck disable=SC2086
  remote $call
  opens "$(tr -d ' /.' <<<"${call%% *}")" 1920x1000+0+0
done

# The browser's own popovers: its settings and the bookmarks.
for button in browser-settings:1174 bookmarks:1140; do
  grab 900x600+500+240 before
  click "${button#*:}" 235
  opens "${button%%:*}" 900x600+500+240
  press Escape
done

# 6. The GIF generator's save panel, from two snapshots in the archive, with the browser closed.
click 1208 235
remote TakeSnapshot
sleep 1.1
remote TakeSnapshot
waitFor 10 test "$(find "$images" -name '*.png' | wc -l)" -ge 2 || fail "no snapshots for the GIF"
markButton 1855 456
markButton 1176 695
remote ShowLibrary true
clickOnArrival 1855 456 "the archive's Generate GIF"
clickOnArrival 1176 695 "the generator's Load"
sleep 1
grab "$centre" before
click 1162 955  # "Export GIF"
opens gif-save-panel "$centre"
press Escape

kill -TERM "$pid"
wait "$pid" && status=0 || status=$?
pid=
[[ $status -eq 0 ]] || fail "the application exited with $status"
qmlLoadsCleanly || fail "the application loaded QML that is not installed"
echo "every dialog, panel and popover opened; all their QML loaded"
