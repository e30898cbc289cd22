#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests that need a server.
#   pg_cluster.sh start STATE   makes a cluster in a fresh temporary folder, starts it on a unix
#                               socket in that folder and a free loopback port, and writes its
#                               connection string to STATE/conninfo
#   pg_cluster.sh stop STATE    stops it and removes the folder
#   pg_cluster.sh run STATE CMD...  runs CMD with FENLARK_TEST_PG set to the connection string
#                               (unset when no cluster runs: the tests then skip)
# Without PostgreSQL's server programs installed, start says so and succeeds, so the test
# command still works on a machine without the server. PostgreSQL refuses to run as root: as
# root the cluster belongs to the unprivileged user nobody. FENLARK_PG_OPTIONS adds server
# options after the tests' own (a later -c wins): the tests run with fsync=off, which a
# benchmark of saves must not.
set -euo pipefail

command=${1:-}
state=${2:-}
if [ -z "$command" ] || [ -z "$state" ]; then
  echo "usage: $0 start|stop|run STATE [CMD...]" >&2
  exit 2
fi

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u nobody -- "$@"
  else
    "$@"
  fi
}

free_port() {
  /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

case "$command" in
start)
  mkdir -p "$state"
  # A cluster left by a run that was cut short goes first.
  if [ -f "$state/folder" ]; then
    "$0" stop "$state" >/dev/null
  fi
  rm -f "$state/conninfo"
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "pg_cluster: PostgreSQL server programs not installed; the server tests will skip"
    exit 0
  fi
  dir=$(mktemp -d "${TMPDIR:-/tmp}/fenlark-pg.XXXXXX")
  echo "$dir" >"$state/folder"
  if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$dir"
  fi
  chmod 700 "$dir"
  as_owner "$bin/initdb" -D "$dir/data" -U fenlark --auth=trust --encoding=UTF8 --locale=C >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  # One role must give a password over TCP, so the program's password prompt meets a real
  # server's demand; every other connection stays trusted.
  sed -i '1i host all fenlark_password 127.0.0.1/32 scram-sha-256' "$dir/data/pg_hba.conf"
  port=$(free_port)
  # The socket folder must be reachable by the tests, which may run as another user.
  chmod 711 "$dir"
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$dir -c fsync=off -c max_connections=60 ${FENLARK_PG_OPTIONS:-}" \
    start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
  echo "$bin" >"$state/bin"
  echo "host=$dir port=$port user=fenlark dbname=postgres" >"$state/conninfo"
  echo "pg_cluster: started in $dir on port $port"
  ;;
stop)
  [ -f "$state/folder" ] || exit 0
  dir=$(cat "$state/folder")
  if [ -f "$state/bin" ] && [ -d "$dir/data" ]; then
    as_owner "$(cat "$state/bin")/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  rm -f "$state/folder" "$state/bin" "$state/conninfo"
  echo "pg_cluster: stopped"
  ;;
run)
  shift 2
  if [ -f "$state/conninfo" ]; then
    FENLARK_TEST_PG=$(cat "$state/conninfo")
    export FENLARK_TEST_PG
  else
    unset FENLARK_TEST_PG
  fi
  exec "$@"
  ;;
*)
  echo "usage: $0 start|stop|run STATE [CMD...]" >&2
  exit 2
  ;;
esac
