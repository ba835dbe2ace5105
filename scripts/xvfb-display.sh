# Sourced by the bench scripts: start_xvfb starts an X server of its own on
# the first free display and sets XVFB_PID and XVFB_DISPLAY; stop_xvfb ends it.
start_xvfb() {
  local fifo
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  # -displayfd: the number is written once the server accepts connections.
  read -r -t 20 XVFB_DISPLAY <"$fifo" || XVFB_DISPLAY=""
  rm -f "$fifo"
  [ -n "$XVFB_DISPLAY" ] || { stop_xvfb; return 1; }
  XVFB_DISPLAY=":$XVFB_DISPLAY"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=""
}
