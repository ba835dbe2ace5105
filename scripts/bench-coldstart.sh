#!/usr/bin/env bash
# How long a player waits for the game: the built game started several times
# from a fresh copy of the game folder (no profiles, no options: a first
# start), ended by "--quit-after" at the first splash frame or at the main
# menu's first frame. Figures are milliseconds since the system started the
# process (program loading included), the menu's less the splashes' fixed
# display time; the files are in the page cache after the first run, so this
# is a process's cold start, not a disk's. Median and worst of the runs.
# Usage: bench-coldstart.sh [build dir] [runs]
set -euo pipefail
build="${1:-build}"
runs="${2:-5}"
here="$(dirname "$0")"
source "$here/fresh-game-dir.sh"
source "$here/xvfb-display.sh"
[ -x "$build/game/totem-riff" ] || { echo "no built game in $build/game"; exit 1; }

work="$(mktemp -d)"
cleanup() {
  local status=$?
  stop_xvfb
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT
fresh_game_dir "$build/game" "$work/game"

# measure <label> <moment> <env...>: the game started $runs times; median and
# worst of the elapsed figure and of the processor time beside it.
measure() {
  local label="$1" moment="$2" line lines=()
  shift 2
  for ((i = 0; i < runs; ++i)); do
    rm -f "$work/game/User.dat" "$work/game/options.dat"
    line=$(cd "$work/game" && env "$@" SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
             ./totem-riff --window --quit-after "$moment" 2>/dev/null | grep '^cold start:' || true)
    [ -n "$line" ] || { echo "$label: the game wrote no cold start line"; return 1; }
    lines+=("$line")
  done
  printf '%s\n' "${lines[@]}" | sed -E 's/^cold start: [a-z ]+ ([0-9.]+) ms .*, cpu ([0-9.]+) ms.*/\1 \2/' | awk -v label="$label" '
    function median(a, n,   m) { m = n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2; return m }
    function sorted(a, n,   i, j, t) { for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j - 1] > a[j]; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t } }
    { wall[NR] = $1; cpu[NR] = $2 }
    END {
      sorted(wall, NR); sorted(cpu, NR)
      printf "%-34s median %7.1f ms, worst %7.1f ms; cpu median %7.1f ms, worst %7.1f ms (%d runs)\n", label, median(wall, NR), wall[NR], median(cpu, NR), cpu[NR], NR
    }'
  echo "  last: ${lines[-1]}"
}

echo "== cold start (goals: first splash frame <= 300 ms, menu ready <= 1000 ms of work)"
status=0
# The menu is timed in a window only, where a player waits for it; the
# offscreen start gives the first splash frame without an X server's share.
measure "offscreen, first splash frame" splash SDL_VIDEODRIVER=offscreen || status=1
if command -v Xvfb >/dev/null && start_xvfb; then
  measure "window (Xvfb), first splash frame" splash DISPLAY="$XVFB_DISPLAY" SDL_VIDEODRIVER=x11 || status=1
  measure "window (Xvfb), menu ready" menu DISPLAY="$XVFB_DISPLAY" SDL_VIDEODRIVER=x11 || status=1
else
  echo "window: skipped, Xvfb is not installed or did not start"
fi
exit $status
