#!/usr/bin/env bash
# Runs every benchmark of the build tree and prints its figures.
set -euo pipefail
build="${1:-build}"
source "$(dirname "$0")/headless-env.sh"
status=0
for b in "$build"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_counters_tabular=true || status=1
done
# The built game itself: frames shown while playing, and the wait at start.
bash "$(dirname "$0")/bench-fps.sh" "$build" || status=1
bash "$(dirname "$0")/bench-coldstart.sh" "$build" || status=1
exit $status
