#!/usr/bin/env bash
# The time of a backup (SQLite online backup plus its integrity check) and of the register
# check (fenlark-db check: integrity check, tables, consistency of every row), each on a demo
# register, as the real command run alone. Three runs each; prints every run's wall time.
# usage: bench/maintenance.sh [BUILD_DIR]   (FENLARK_BENCH_SIZES overrides the sizes)
set -euo pipefail
build=${1:-build-bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seconds() { local start=$(date +%s%N); "$@" >/dev/null || [ $? -eq 1 ]; echo "scale=2; ($(date +%s%N) - $start) / 1000000000" | bc; }
for households in ${FENLARK_BENCH_SIZES:-100000 1000000}; do
  register=/tmp/fenlark-bench/$households.mdb
  if [ ! -f "$register" ]; then
    mkdir -p /tmp/fenlark-bench
    "$build/bin/fenlark-db" demo "$register" --households "$households" >/dev/null
  fi
  size=$(du -m "$register" | cut -f1)
  for run in 1 2 3; do
    backup=$(seconds "$build/bin/fenlark-db" backup "$register" "$work/backup-$run.mdb")
    check=$(seconds "$build/bin/fenlark-db" check "$register")
    echo "$households households ($size MB): backup ${backup} s, check ${check} s"
    rm -f "$work/backup-$run.mdb"
  done
done
