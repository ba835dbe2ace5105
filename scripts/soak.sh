#!/usr/bin/env bash
# The full soak: every level of the table played twice, then SOAK_CYCLES (200)
# rounds of the screens, in one process of the given (sanitizer) build tree.
# Prints the run's figures and ends with its status; the leak check runs at exit.
set -euo pipefail
build="${1:-build-asan}"
source "$(dirname "$0")/headless-env.sh"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TOTEM_SOAK_LEVELS="${TOTEM_SOAK_LEVELS:-0}"
export TOTEM_SOAK_PASSES="${TOTEM_SOAK_PASSES:-2}"
export TOTEM_SOAK_CYCLES="${SOAK_CYCLES:-${TOTEM_SOAK_CYCLES:-200}}"
cd "$build"
start=$(date +%s)
status=0
nice ./bin/test_soak --gtest_color=no || status=$?
echo "soak: exit status $status after $(( $(date +%s) - start )) s"
exit $status
