#!/usr/bin/env bash
# Runs every libFuzzer program of a TOTEM_FUZZ build on its corpus, one after
# the other, for FUZZ_SECONDS each (default 600).
#
#   scripts/fuzz.sh [BUILD] [SECONDS] [TARGET...]
#
# Each target starts from the seeds in fuzz/corpus/<target>/ and keeps what it
# finds in BUILD/fuzz-corpus/<target>/ (the repository's seeds are left as
# they are); a crashing, leaking or hanging input lands in
# BUILD/fuzz-artifacts/<target>/ and makes the exit status non-zero once every
# target has run. An input worth keeping is copied into fuzz/corpus/<target>/
# by hand, where CTest replays it from then on.
set -uo pipefail
build="${1:-build-fuzz}"
seconds="${2:-${FUZZ_SECONDS:-600}}"
shift $(( $# > 2 ? 2 : $# ))
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/headless-env.sh"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$root"/fuzz/fuzz_*.cpp; do
    name="$(basename "$src" .cpp)"
    targets+=("${name#fuzz_}")
  done
fi

failed=()
for t in "${targets[@]}"; do
  program="$build/bin/fuzz_$t"
  if [ ! -x "$program" ]; then
    echo "fuzz_$t: not built in $build" >&2
    failed+=("$t")
    continue
  fi
  work="$build/fuzz-corpus/$t"
  artifacts="$build/fuzz-artifacts/$t/"
  mkdir -p "$work" "$artifacts"
  echo "== fuzz_$t: $seconds s"
  # A run ends at the first finding; the malloc limit catches a size taken on
  # trust from the input (no honest input of 64 kB needs 64 MB at once), the
  # timeout a reader that hangs. The readers' own
  # lines about damaged files (standard output) would drown the run's.
  if ! "$program" "$work" "$root/fuzz/corpus/$t" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -malloc_limit_mb=64 -max_len=65536 -print_final_stats=1 -close_fd_mask=1 \
       -artifact_prefix="$artifacts" 2> "$build/fuzz-$t.log"; then
    failed+=("$t")
  fi
  grep -E "^(#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)" \
    "$build/fuzz-$t.log" | tail -n 6
  grep -Eo "cov: [0-9]+ ft: [0-9]+" "$build/fuzz-$t.log" | tail -n 1
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz findings or failures: ${failed[*]} (see $build/fuzz-<target>.log and $build/fuzz-artifacts/)" >&2
  exit 1
fi
echo "every fuzz target ran $seconds s without a finding"
