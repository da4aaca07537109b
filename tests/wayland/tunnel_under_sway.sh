#!/usr/bin/env bash
# The window tunnel's Wayland path (portal_tunnel_tests) as a Wayland client in the headless sway
# session, whose chooser answers the portal's dialog.
#   usage: tunnel_under_sway.sh PATH-TO-portal_tunnel_tests
set -euo pipefail
tests=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=sway_session.sh
source "$here/sway_session.sh"
trap sway_stop EXIT
sway_start
sway_run env QT_QPA_PLATFORM=wayland "$tests" "$sway_chooser_answer" ||
  sway_die "the tunnel's Wayland tests failed"
