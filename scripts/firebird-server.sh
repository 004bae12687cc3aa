#!/usr/bin/env bash
# Starts or stops the loopback Firebird server the state edition's tests and
# benchmarks talk to. The SYSDBA password is the state edition's, written into
# the server's security database while the server is stopped.
#   firebird-server.sh start | stop | status
#
# Several test runs may share the server (two build trees, a benchmark beside
# the tests): "start" registers the calling process (the script's parent, e.g.
# ctest) and leaves a running server alone; "stop" unregisters it and stops the
# server only when no registered process is still alive.
set -euo pipefail

password="${TALVERA_SERVER_PASSWORD:-qzrw47tb}"
security=/var/lib/firebird/3.0/system/security3.fdb
pidfile=/run/talvera-firebird.pid
users=/run/talvera-firebird.users
lock=/run/talvera-firebird.lock

running() { pidof fbguard >/dev/null 2>&1 || pidof firebird >/dev/null 2>&1; }

answering() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

# Forgets users that have ended; true while any is left.
live_users() {
  mkdir -p "$users"
  local left=1 f
  for f in "$users"/*; do
    [ -e "$f" ] || continue
    if kill -0 "${f##*/}" 2>/dev/null; then left=0; else rm -f "$f"; fi
  done
  return $left
}

stop_server() {
  if [ -x /etc/init.d/firebird3.0 ]; then /etc/init.d/firebird3.0 stop >/dev/null 2>&1 || true; fi
  for name in fbguard firebird; do
    pids=$(pidof "$name" || true)
    [ -n "$pids" ] && kill $pids 2>/dev/null || true
  done
  for _ in $(seq 50); do running || break; sleep 0.2; done
  rm -f "$pidfile"
}

start_server() {
  if [ ! -x /usr/sbin/fbguard ]; then
    echo "firebird3.0-server is not installed (scripts/setup.sh with TALVERA_WITH_SERVER=1)" >&2
    exit 1
  fi
  stop_server
  # Embedded access to the security database, the server being down.
  printf "create or alter user SYSDBA password '%s' using plugin Srp;\ncommit;\n" "$password" \
    | isql-fb -q -user SYSDBA "$security" >/dev/null
  chown firebird:firebird "$security" 2>/dev/null || true
  # Run as root: the tests' databases live in private temporary directories.
  /usr/sbin/fbguard -daemon -forever -pidfile "$pidfile"
  for _ in $(seq 100); do answering && break; sleep 0.1; done
  if ! answering; then echo "the Firebird server did not start" >&2; exit 1; fi
}

exec 9>"$lock"
flock 9
case "${1:-}" in
  start)
    if ! { live_users && running && answering; }; then start_server; fi
    touch "$users/$PPID"
    ;;
  stop)
    rm -f "$users/$PPID"
    live_users || stop_server
    ;;
  status)
    answering && echo running >&2 || { echo stopped >&2; exit 1; }
    ;;
  *)
    echo "usage: $0 start|stop|status" >&2
    exit 2
    ;;
esac
