#!/usr/bin/env bash
# Sets up, builds, creates the demo data directory (./demo) if it is not
# there yet, and starts the municipal edition on it.
#
# TALVERA_EDITION=estadual starts the state edition instead. Its main database
# lives on the state database server, so the demo starts the loopback Firebird
# server (as the tests do) and builds the state edition, in its own build
# directory, with the demo's TALVERA.GDB as the server's database and the demo
# directory as its built-in directory (where its parameter and Vorq databases
# are). The server is stopped when the program ends.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
edition="${TALVERA_EDITION:-municipal}"
demo="${TALVERA_DEMO_DIR:-$root/demo}"
build="${TALVERA_BUILD_DIR:-$root/build}"

case "$edition" in
  municipal)
    "$root/scripts/setup.sh"
    "$root/scripts/build.sh"
    ;;
  estadual)
    TALVERA_WITH_SERVER=1 "$root/scripts/setup.sh"
    "$root/scripts/build.sh"
    ;;
  *)
    echo "TALVERA_EDITION: municipal or estadual, not '$edition'" >&2
    exit 2
    ;;
esac

if [ ! -f "$demo/TALVERA.GDB" ]; then
  "$build/schema/talvera-makedata" "$demo"
fi
demo="$(cd "$demo" && pwd)"

if [ "$edition" = municipal ]; then
  # The program reads CONFIGBD.TXT from its current directory.
  cd "$demo"
  exec "$build/shell/talvera-municipal"
fi

state_build="${TALVERA_DEMO_STATE_BUILD_DIR:-$root/build-demo-estadual}"
cmake -S "$root" -B "$state_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTALVERA_BUILD_TESTS=OFF -DTALVERA_BUILD_BENCH=OFF \
  -DTALVERA_STATE_SERVER=127.0.0.1 -DTALVERA_STATE_DATABASE="$demo/TALVERA.GDB" \
  -DTALVERA_BUILTIN_DIR="$demo/" >/dev/null
cmake --build "$state_build" -j "$(nproc)" --target talvera-estadual

"$root/scripts/firebird-server.sh" start
trap '"$root/scripts/firebird-server.sh" stop' EXIT
cd "$demo"
"$state_build/shell/talvera-estadual"
