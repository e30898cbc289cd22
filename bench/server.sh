#!/usr/bin/env bash
# The server's figures (bench_server) on a throwaway PostgreSQL cluster holding the 1,000,000
# households of the demo register, beside that register file.
# usage: bench/server.sh [BUILD_DIR]   (FENLARK_BENCH_SIZE overrides the size)
# The load: the demo register's rows leave SQLite as CSV (sqlite3 -csv writes NULL as nothing
# and the empty text as "", exactly what COPY ... CSV reads back) and enter the server by one
# COPY per table into tables without indexes; the indexes are built after, then ANALYZE. The
# key column id keeps the file's rowids, so both engines list the same households in the same
# order. The cluster and its folder are removed at the end, whatever happened.
set -euo pipefail
build=${1:-build-bench}
households=${FENLARK_BENCH_SIZE:-1000000}
here=$(cd "$(dirname "$0")" && pwd)
cluster="$here/../tests/support/pg_cluster.sh"
register=/tmp/fenlark-bench/$households.mdb
if [ ! -f "$register" ]; then
  mkdir -p /tmp/fenlark-bench
  "$build/bin/fenlark-db" demo "$register" --households "$households" >/dev/null
fi
state=$(mktemp -d)
trap '"$cluster" stop "$state" >/dev/null; rm -rf "$state"' EXIT
"$cluster" start "$state"
conninfo=$(cat "$state/conninfo")
timed() {
  local what=$1
  shift
  /usr/bin/time -f "$what: %e s wall, %U + %S s CPU (client)" "$@"
}
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bin/bench_server" schema "$conninfo"
columns=$(sqlite3 "$register" "SELECT group_concat('\"' || name || '\"', ', ') FROM pragma_table_info('成员信息')")
copy() { # TABLE COLUMNS
  sqlite3 -csv "$register" "SELECT $2 FROM \"$1\" ORDER BY rowid" |
    psql -q -v ON_ERROR_STOP=1 "$conninfo" -c "\\copy \"$1\" ($2) FROM STDIN WITH (FORMAT csv)"
}
# copy is a shell function, which /usr/bin/time cannot run: the wall time of the load is taken here.
load_start=$(date +%s.%N)
copy 成员信息 "$columns"
echo "load of $households households (COPY): $(awk -v a="$load_start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }') s wall"
copy 区域管理 '"标识", "区域", "单位名称", "直属管辖"'
copy 年份管理 '"年份"'
psql -q "$conninfo" -c "SELECT setval(pg_get_serial_sequence('\"成员信息\"', 'id'), max(id)) FROM \"成员信息\"" >/dev/null
timed "indexes and ANALYZE" "$build/bin/bench_server" indexes "$conninfo"
echo "load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
timed "bench_server run" "$build/bin/bench_server" run "$conninfo" "$register"
echo "server CPU (every server process of the cluster): $(ps -u nobody -o cputime= -o args= | grep -c postgres) processes"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
