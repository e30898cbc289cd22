#!/usr/bin/env bash
# The server's figures (bench_server) on a throwaway PostgreSQL cluster holding the 1,000,000
# households of the demo register, beside a copy of that register file.
# usage: bench/server.sh [BUILD_DIR]   (FENLARK_BENCH_SIZE overrides the size)
# The load: the demo register's rows leave SQLite as CSV (sqlite3 -csv writes NULL as nothing
# and the empty text as "", exactly what COPY ... CSV reads back) and enter the server by one
# COPY per table into tables without indexes; the indexes are built after, then VACUUM ANALYZE. The
# key column id keeps the file's rowids, so both engines list the same households in the same
# order. The server runs with fsync on, as a county's server would: the SQLite register file
# syncs every commit too, so a save costs a flush on both engines. Everything runs over
# loopback TCP, as a clerk's PC reaches a server. The saves go into a copy of the register
# file (the demo registers are shared by every benchmark); the copy, the cluster and its folder
# are removed at the end, whatever happened.
set -euo pipefail
build=${1:-build-bench}
households=${FENLARK_BENCH_SIZE:-1000000}
here=$(cd "$(dirname "$0")" && pwd)
cluster="$here/../tests/support/pg_cluster.sh"
register=/tmp/fenlark-bench/$households.mdb
if [ ! -f "$register" ]; then
  # Made under another name first, so an interrupted run leaves no half register behind.
  mkdir -p /tmp/fenlark-bench
  rm -f "$register.part"
  "$build/bin/fenlark-db" demo "$register.part" --households "$households" >/dev/null
  mv "$register.part" "$register"
fi
state=$(mktemp -d "${TMPDIR:-/tmp}/fenlark-bench-server.XXXXXX")
cleanup() {
  "$cluster" stop "$state" >/dev/null || true
  rm -rf "$state"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP
FENLARK_PG_OPTIONS="-c fsync=on" "$cluster" start "$state"
[ -f "$state/conninfo" ] || { echo "no PostgreSQL server programs: nothing to measure" >&2; exit 1; }
port=$(sed -n 's/.* port=\([0-9]*\).*/\1/p' "$state/conninfo")
conninfo="host=127.0.0.1 port=$port user=fenlark dbname=postgres"
pgdata="$(cat "$state/folder")/data"

# The CPU seconds of the whole cluster: the postmaster, its running children and those that
# ended (each connection's backend ends with it).
server_cpu() {
  local pid
  pid=$(head -n 1 "$pgdata/postmaster.pid")
  {
    awk '{ print $14 + $15 + $16 + $17 }' "/proc/$pid/stat"
    for child in $(pgrep -P "$pid"); do
      awk '{ print $14 + $15 }' "/proc/$child/stat" 2>/dev/null || true
    done
  } | awk -v tick="$(getconf CLK_TCK)" '{ s += $1 } END { printf "%.1f", s / tick }'
}
loadavg() { cut -d' ' -f1-3 /proc/loadavg; }
timed() { # WHAT COMMAND...: the command, then its wall and CPU time (the client's side)
  TIMEFORMAT="$1: %R s wall, %U + %S s CPU (client)"
  shift
  time "$@"
}

echo "load average at the start: $(loadavg)"
local_copy="$state/$households.mdb"
timed "copy of the register file" cp "$register" "$local_copy"
"$build/bin/bench_server" schema "$conninfo"
columns=$(sqlite3 "$local_copy" "SELECT group_concat('\"' || name || '\"', ', ') FROM pragma_table_info('成员信息')")
copy() { # TABLE COLUMNS
  sqlite3 -csv "$local_copy" "SELECT $2 FROM \"$1\" ORDER BY rowid" |
    psql -q -v ON_ERROR_STOP=1 "$conninfo" -c "\\copy \"$1\" ($2) FROM STDIN WITH (FORMAT csv)"
}
cpu=$(server_cpu)
timed "load of $households households (COPY)" copy 成员信息 "$columns"
copy 区域管理 '"标识", "区域", "单位名称", "直属管辖"'
copy 年份管理 '"年份"'
psql -q -v ON_ERROR_STOP=1 "$conninfo" \
  -c "SELECT setval(pg_get_serial_sequence('\"成员信息\"', 'id'), max(id)) FROM \"成员信息\"" >/dev/null
timed "indexes and VACUUM ANALYZE" "$build/bin/bench_server" indexes "$conninfo"
echo "server CPU for the load, the indexes and VACUUM ANALYZE: $(awk -v a="$cpu" -v b="$(server_cpu)" 'BEGIN { printf "%.1f", b - a }') s"
echo "load average before the run: $(loadavg)"
cpu=$(server_cpu)
timed "bench_server run" "$build/bin/bench_server" run "$conninfo" "$local_copy"
sleep 1 # the run's backends end after it
echo "server CPU for the run: $(awk -v a="$cpu" -v b="$(server_cpu)" 'BEGIN { printf "%.1f", b - a }') s"
echo "load average after the run: $(loadavg)"
