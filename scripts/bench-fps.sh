#!/usr/bin/env bash
# The frame rate a player gets: the built game in a real window (Xvfb, Mesa's
# software GL) playing a level with a busy highway for 20 s, from a fresh copy
# of the game folder, its "--fps" lines summed up: mean frames per second,
# the lowest second and the longest time between two presented frames.
# Usage: bench-fps.sh [build dir] [level] [seconds]
set -euo pipefail
build="${1:-build}"
level="${2:-28}"      # the last level: the densest chart at the highest speed
seconds="${3:-20}"
here="$(dirname "$0")"
source "$here/fresh-game-dir.sh"
source "$here/xvfb-display.sh"

echo "== fps in a window (Xvfb), level $level, $seconds s of play"
if ! command -v Xvfb >/dev/null; then
  echo "skipped: Xvfb is not installed (apt-get install xvfb)"
  exit 0
fi
[ -x "$build/game/totem-riff" ] || { echo "no built game in $build/game"; exit 1; }

work="$(mktemp -d)"
game_pid=""
# The figures' status stands: the game ended here by a signal is no failure.
cleanup() {
  local status=$?
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null || true; fi
  stop_xvfb
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT
fresh_game_dir "$build/game" "$work/game"
start_xvfb || { echo "Xvfb did not start"; exit 1; }

log="$work/out.txt"
(cd "$work/game" && exec env DISPLAY="$XVFB_DISPLAY" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
   LIBGL_ALWAYS_SOFTWARE=1 ./totem-riff --window --fps --trace --level "$level") >"$log" 2>&1 &
game_pid=$!

# Seconds are counted from the first frame shown, so the one in which play
# starts still holds loading: the count starts with the next whole second.
need=$((seconds + 1))
deadline=$((SECONDS + 60 + seconds))
while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$game_pid" 2>/dev/null; do
  have=$(awk -v l="level $level playing" '$0 == l {p = 1; next} p && /^fps /' "$log" | wc -l)
  [ "$have" -ge "$need" ] && break
  sleep 1
done

awk -v l="level $level playing" -v n="$seconds" '
  $0 == l { playing = 1; next }
  playing && /^fps / {
    if (skipped++ == 0) next
    if (count >= n) next
    count++; sum += $2
    if (lowest == "" || $2 < lowest) lowest = $2
    if ($4 > worst) worst = $4
  }
  END {
    if (count == 0) { print "no play measured: the level did not start or wrote no fps lines"; exit 1 }
    printf "mean %.1f fps over %d s, lowest second %d fps, worst frame %.1f ms\n", sum / count, count, lowest, worst
  }' "$log"
