#!/usr/bin/env bash
# The installed application and its Debian package: installs the build into a temporary prefix
# and starts it there from its menu entry under Xvfb (it must serve its resources from the
# prefix, not from the source tree); validates the menu entry and the AppStream data; builds the
# package with CPack, runs lintian on it, and installs it into a scratch root with dpkg.
#   usage: package_test.sh BUILD-FOLDER
set -euo pipefail
build=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$build" --inside
fi
# shellcheck source=../app/xvfb_session.sh
source "$here/../app/xvfb_session.sh"

# 1. A temporary prefix.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed"
app=$prefix/bin/pelora-dravin
entry=$prefix/share/applications/com.pelora.dravin.desktop
for file in "$app" "$entry" "$prefix/share/metainfo/com.pelora.dravin.metainfo.xml" \
  "$prefix/share/icons/hicolor/scalable/apps/com.pelora.dravin.svg" \
  "$prefix/share/icons/hicolor/256x256/apps/com.pelora.dravin.png" \
  "$prefix/share/pelora-dravin/dravinboard/assets/pdfviewer/web/viewer.html" \
  "$prefix/share/pelora-dravin/templates/templates.json" \
  "$prefix/lib/udev/rules.d/70-pelora-dravin.rules" "$prefix/share/man/man1/pelora-dravin.1.gz"; do
  [[ -e $file ]] || fail "not installed: ${file#"$prefix"/}"
done
identify -format '%wx%h' "$prefix/share/icons/hicolor/256x256/apps/com.pelora.dravin.png" |
  grep -qx 256x256 || fail "the 256 px icon is not 256 px"

desktop-file-validate "$entry" || fail "desktop-file-validate refused the menu entry"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/com.pelora.dravin.metainfo.xml" ||
  fail "appstreamcli refused the metainfo"

# Text answers need no display.
version=$(env -u DISPLAY "$app" --version) || fail "--version failed without a display"
[[ $version =~ ^Dravin\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
help=$(env -u DISPLAY "$app" --help) || fail "--help failed without a display"
grep -q -- '--demo-devices' <<<"$help" || fail "--help does not list --demo-devices"

# The menu entry's command, with the prefix's programs first on the PATH, as the desktop would.
# A page only the installed copy has tells whose resources are served.
echo '<p>installed copy</p>' >"$prefix/share/pelora-dravin/peloralessons/installed-marker.html"
command=$(sed -n 's/^Exec=//p' "$entry")
storeFolder "$work/storage"
PATH=$prefix/bin:$PATH sh -c "exec $command" >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "Server has started" || fail "the installed application did not start its server"
curl -sf "http://127.0.0.1:$DRAVIN_HTTP_PORT/installed-marker.html" | grep -q 'installed copy' ||
  fail "the installed application does not serve the installed lessons"
curl -sf "http://127.0.0.1:$DRAVIN_HTTP_PORT/science/plants/index.html" | grep -q 'How plants drink' ||
  fail "no packaged lesson"
[[ -f $work/storage/Nolbek/~templates/templates.json ]] || fail "the installed templates were not copied"
window=$(findWindow '^Pelora Dravin$') || fail "no window titled Pelora Dravin"
wmclass=$(sed -n 's/^StartupWMClass=//p' "$entry")
xprop -id "$window" WM_CLASS | grep -q "\"$wmclass\"" || fail "the window's class is not $wmclass"
grep -q 'Icon (' <<<"$(xprop -id "$window" _NET_WM_ICON)" || fail "the window has no icon"
kill -TERM "$pid"
wait "$pid" || fail "the installed application exited with $?"
pid=

# 2. The package.
# Left in the build folder, for installing by hand.
rm -f "$build"/package/pelora-dravin_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  fail "cpack failed"
}
deb=$(ls "$build"/package/pelora-dravin_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
for needed in libqt6webenginequick6 qml6-module-qtwebengine gstreamer1.0-plugins-ugly \
  gstreamer1.0-plugins-good libhidapi-hidraw0 libpoppler-qt6; do
  field Depends | grep -q "$needed" || fail "the package does not depend on $needed"
done
field Recommends | grep -q libreoffice-impress || fail "LibreOffice Impress is not recommended"
field Suggests | grep -q v4l2loopback-dkms || fail "v4l2loopback-dkms is not suggested"

lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || {
  cat "$work/lintian.log"
  fail "lintian reports errors"
}
sed 's/^/lintian: /' "$work/lintian.log"

# 3. dpkg into a scratch root: the maintainer scripts run outside it and leave it alone.
scratch=$work/root
mkdir -p "$scratch/var/lib/dpkg/info" "$scratch/var/lib/dpkg/updates"
touch "$scratch/var/lib/dpkg/status"
dpkg --root="$scratch" --force-depends --force-script-chrootless -i "$deb" >"$work/dpkg.log" 2>&1 || {
  cat "$work/dpkg.log"
  fail "dpkg -i into a scratch root failed"
}
listed=$(dpkg --root="$scratch" -L pelora-dravin)
for file in /usr/bin/pelora-dravin /usr/share/applications/com.pelora.dravin.desktop \
  /usr/share/metainfo/com.pelora.dravin.metainfo.xml /usr/share/icons/hicolor/scalable/apps/com.pelora.dravin.svg \
  /usr/share/icons/hicolor/256x256/apps/com.pelora.dravin.png /usr/lib/udev/rules.d/70-pelora-dravin.rules \
  /usr/share/man/man1/pelora-dravin.1.gz /usr/share/doc/pelora-dravin/copyright \
  /usr/share/pelora-dravin/dravinboard/index.html /usr/share/pelora-dravin/peloralessons/index.html \
  /usr/share/pelora-dravin/dravinboard/assets/pdfviewer/build/pdf.min.mjs; do
  grep -qx "$file" <<<"$listed" || fail "the package does not install $file"
  [[ -e $scratch$file ]] || fail "$file is listed but not in the scratch root"
done
[[ $(grep -c '^/usr/bin/.' <<<"$listed") -eq 1 ]] || fail "other programs than the application are packaged"
file "$scratch/usr/bin/pelora-dravin" | grep -q 'not stripped' && fail "the packaged program is not stripped"
echo "installed, started from its menu entry, packaged ($(basename "$deb")) and unpacked as expected"
