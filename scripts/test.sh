#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The state edition's tests need the Firebird server; ctest starts and stops it.
TALVERA_WITH_SERVER=1 "$root/scripts/setup.sh"
"$root/scripts/build.sh"
build="${TALVERA_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" || status=$?
# Never leave the server running, whatever happened to the tests.
"$root/scripts/firebird-server.sh" stop || true
exit $status
