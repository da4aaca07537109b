#!/usr/bin/env bash
# The real application under Xvfb saving snapshots while its storage folder misbehaves:
# (a) the storage folder moved away during the run (a stick pulled): a snapshot, a recording and
#     an import write nothing anywhere, the folder is not made again at its old place, the user is told
#     which folder is missing; moved back, the next snapshot is saved without a restart;
# (b) the images folder on a small disk of its own (tmpfs, which needs root) filled up by another
#     program: the snapshot fails with "the disk is full", leaves no file behind and harms no
#     earlier snapshot; with room again, the next snapshot is saved.
#   usage: storage_under_xvfb.sh PATH-TO-pelora-dravin
# Exits 77 (skipped) after (a) when mounting is not permitted.
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1280x720x24" dbus-run-session -- "$0" "$app" --inside
fi

here=$(dirname "$0")
# shellcheck source=xvfb_session.sh
source "$here/xvfb_session.sh"
# shellcheck source=recording_files.sh
source "$here/recording_files.sh"
storage=$work/storage
storeFolder "$storage"
images=$storage/Nolbek/images

pictures() { find "$work" -name '*.png' | wc -l; }
picturesAre() { [[ $(pictures) -eq $1 ]]; }
missingLines() {
  grep -cxF "The storage folder $storage is missing. Plug it in again, or choose another folder." \
    "$work/app.log" || true
}
isPng() { [[ $(head -c 8 "$1" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] && [[ $(stat -c %s "$1") -gt 1000 ]]; }

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "tarvoCameras: [Demo Camera" || fail "the demo camera was not discovered"
# The remote answers before the camera runs, and a snapshot without a picture is no snapshot.
snapshotTaken() { remote TakeSnapshot && waitFor 2 bash -c "[[ \$(find '$work' -name '*.png' | wc -l) -ge 1 ]]"; }
waitFor 30 snapshotTaken || fail "no picture from the demo camera"
sleep 2 # a snapshot still being written is counted too
first=$(pictures)
done=$(snapshotsTaken)

# (a) The storage folder gone while the application runs.
mv "$storage" "$work/away"
remote TakeSnapshot
waitFor 10 bash -c "[[ \$(grep -cF 'The storage folder $storage is missing.' '$work/app.log') -ge 1 ]]" ||
  fail "a snapshot into a missing storage folder was not reported"
screenshot storage-missing.png
remote StartRecording
waitFor 10 bash -c "[[ \$(grep -cF 'The storage folder $storage is missing.' '$work/app.log') -ge 2 ]]" ||
  fail "a recording into a missing storage folder was not reported"
mkdir "$work/desk"
echo '<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8"/>' >"$work/desk/dot.svg"
remote ImportFiles "['$work/desk/dot.svg']"
waitFor 10 bash -c "[[ \$(grep -cF 'The storage folder $storage is missing.' '$work/app.log') -ge 3 ]]" ||
  fail "an import into a missing storage folder was not reported"
[[ $(missingLines) -eq 3 ]] || fail "the missing folder was reported $(missingLines) times, not once each"
[[ ! -e $storage ]] || fail "the missing storage folder was made again: $(find "$storage")"
picturesAre "$first" || fail "a snapshot was written somewhere: $(find "$work" -name '*.png')"
[[ -z $(find "$work" -name '*.mp4') ]] || fail "a recording was started: $(find "$work" -name '*.mp4')"
[[ $(recordedSeconds) -eq 0 ]] || fail "the application believes it records"
mv "$work/away" "$storage"
remote TakeSnapshot
waitFor 15 snapshotsAtLeast $((done + 1)) || fail "no snapshot once the storage folder is back"
picturesAre $((first + 1)) || fail "not one more picture once the storage folder is back"
echo "(a) a missing storage folder stopped the captures and was not made again; back, it works"

# (b) A full disk under the images folder.
smallDisk "$images" 16m
remote TakeSnapshot
waitFor 15 snapshotsAtLeast $((done + 2)) || fail "no snapshot on the small disk"
earlier=$(ls "$images"/*.png)
waitFor 10 isPng "$earlier" || fail "the first snapshot on the small disk is not a picture"
sum=$(md5sum <"$earlier")
dd if=/dev/zero of="$images/.filler" bs=64k 2>/dev/null || true # up to "no space left"
sleep 1.1 # a new second: the next snapshot's name differs from the earlier one's
remote TakeSnapshot
waitFor 15 logSays "Snapshot not saved: the disk is full" || fail "the full disk was not reported"
[[ $(ls -A "$images" | sort) == "$(printf '%s\n' "$(basename "$earlier")" .filler | sort)" ]] ||
  fail "the failed snapshot left files: $(ls -lA "$images")"
[[ $(md5sum <"$earlier") == "$sum" ]] || fail "the earlier snapshot was changed"
kill -0 "$pid" 2>/dev/null || fail "the application died"
rm "$images/.filler"
remote TakeSnapshot
waitFor 15 bash -c "[[ \$(ls '$images'/*.png | wc -l) -eq 2 ]]" || fail "no snapshot once there is room again"
later=$(ls "$images"/*.png | grep -vxF "$earlier")
waitFor 10 isPng "$later" || fail "the snapshot saved after the full disk is not a picture"
[[ $(grep -cF "Snapshot not saved" "$work/app.log") -eq 1 ]] || fail "a snapshot failure was reported more than once"
echo "(b) a full disk failed the snapshot cleanly; with room again it works"
