#!/usr/bin/env bash
# Starts the game from its runtime folder; says so in one line when there is no display.
set -euo pipefail
build="${1:-build}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "make run: no display to open the game window on (set DISPLAY, or use 'make test' to run headless)." >&2
  exit 1
fi
cd "$build/game"
exec ./totem-riff
