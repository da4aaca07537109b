#!/usr/bin/env bash
# Installs what is missing, builds, and runs the server host on the packaged lesson folder at
# http://localhost:9080/ (the desktop application will take its place). Ctrl+C stops it.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/install-deps.sh"
cmake -S "$repo" -B "$repo/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$repo/build" --target dravin-httpd
exec "$repo/build/src/tools/dravin-httpd" --port "${PORT:-9080}" --lessons "$repo/resources/peloralessons" "$@"
