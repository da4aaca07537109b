# Sourced by the scripts that drive the running application, under Xvfb or a Wayland compositor;
# $work/app.log is the application's log.

waitFor() {  # seconds, then a command that must succeed
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 10; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
# Stops the test with the reason and the application's log; a caller with more to show defines
# afterFailure.
fail() {
  echo "FAILED: $*"
  echo "--- application log"
  cat "$work/app.log" 2>/dev/null || true
  declare -F afterFailure >/dev/null && afterFailure
  exit 1
}
logSays() { grep -qF -- "$1" "$work/app.log"; }
logCount() { grep -cF -- "$1" "$work/app.log" || true; }
logSaysMoreThan() { (($(logCount "$1") > $2)); }  # text, count
