#!/usr/bin/env bash
# Sets up, builds, creates the demo data directory (./demo) if it is not
# there yet, and starts the municipal edition on it. TALVERA_EDITION=estadual
# starts the state edition instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build="${TALVERA_BUILD_DIR:-$root/build}"
demo="${TALVERA_DEMO_DIR:-$root/demo}"
if [ ! -f "$demo/TALVERA.GDB" ]; then
  "$build/schema/talvera-makedata" "$demo"
fi
edition="${TALVERA_EDITION:-municipal}"
# The program reads CONFIGBD.TXT from its current directory.
cd "$demo"
exec "$build/shell/talvera-$edition"
