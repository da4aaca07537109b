#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and loopback tests, the server
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzzer for
# FUZZ_SECONDS (30 by default), and the Debian package installed on a fresh Debian 12 system
# (FRESH_INSTALL=0 skips that; it needs root, or sudo, and the Debian archive). Ends with one
# line: "tests: N passed, N failed".
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/install-deps.sh"

configure() {  # build folder, target ("all" for everything), then cmake options
  local dir=$1 target=$2
  shift 2
  cmake -S "$repo" -B "$repo/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$repo/$dir" --target "$target"
}
configure build all -DCMAKE_BUILD_TYPE=RelWithDebInfo
configure build-sanitize server_tests -DCMAKE_BUILD_TYPE=Debug -DDRAVIN_SANITIZE=ON
CC=clang CXX=clang++ configure build-fuzz all -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRAVIN_FUZZ=ON \
  -DDRAVIN_FUZZ_SECONDS="${FUZZ_SECONDS:-30}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
passed=0
failed=0
run_suite() {  # build folder, then ctest options
  local dir=$1 log
  shift
  log=$(mktemp)
  echo "== ctest in $dir $*"
  (cd "$repo/$dir" && ctest --output-on-failure "$@") 2>&1 | tee "$log" || true
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [[ -z "$line" ]]; then
    failed=$((failed + 1))  # the suite did not even report
  else
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  rm -f "$log"
}
run_suite build
run_suite build-sanitize -L server
run_suite build-fuzz -L fuzz

if [[ ${FRESH_INSTALL:-1} != 0 ]]; then
  echo "== the package on a fresh Debian 12"
  sudo=()
  [[ $(id -u) -ne 0 ]] && sudo=(sudo)
  if cmake --build "$repo/build" --target package >/dev/null &&
    "${sudo[@]}" "$repo/tests/package/fresh_install_check.sh" "$repo/build/package/pelora-dravin_"*_amd64.deb; then
    passed=$((passed + 1))
  else
    echo "FAILED: the fresh-install check"
    failed=$((failed + 1))
  fi
fi

echo "tests: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
