#!/usr/bin/env bash
# Runs every test of one build tree, headless when there is no display.
set -euo pipefail
build="${1:-build}"
source "$(dirname "$0")/headless-env.sh"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
