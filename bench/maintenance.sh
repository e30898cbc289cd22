#!/usr/bin/env bash
# The time of a backup (SQLite online backup plus its integrity check) and of the register
# check (fenlark-db check: integrity check, tables, consistency of every row), each on a demo
# register, as the real command run alone. Three runs each; prints every run's times.
# usage: bench/maintenance.sh [BUILD_DIR]   (FENLARK_BENCH_SIZES, FENLARK_BENCH_RUNS override sizes and runs)
set -euo pipefail
build=${1:-build-bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Wall time and CPU time (user + system): on a shared machine the wall time also counts the
# waits for other processes, the CPU time does not.
seconds() {
  /usr/bin/time -f '%e s wall, %U + %S s CPU' -o "$work/time" "$@" >/dev/null || [ $? -eq 1 ]
  cat "$work/time"
}
for households in ${FENLARK_BENCH_SIZES:-100000 1000000}; do
  register=/tmp/fenlark-bench/$households.mdb
  if [ ! -f "$register" ]; then
    mkdir -p /tmp/fenlark-bench
    "$build/bin/fenlark-db" demo "$register" --households "$households" >/dev/null
  fi
  size=$(du -m "$register" | cut -f1)
  for run in $(seq "${FENLARK_BENCH_RUNS:-3}"); do
    backup=$(seconds "$build/bin/fenlark-db" backup "$register" "$work/backup-$run.mdb")
    check=$(seconds "$build/bin/fenlark-db" check "$register")
    echo "$households households ($size MB): backup $backup; check $check"
    rm -f "$work/backup-$run.mdb"
  done
done
